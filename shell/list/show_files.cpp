// SPDX-License-Identifier: GPL-3.0-or-later
#include "show_files.h"

#include <algorithm>
#include <filesystem>
#include <iterator>

namespace vornik {
namespace {

std::string FolderOf(const std::string& path) {
    return std::filesystem::path(path).parent_path().string();
}

}  // namespace

ShowFilesPlan PlanShowFiles(const std::vector<std::string>& paths,
                            const std::function<bool(const std::string&)>& isFolder) {
    if (paths.empty()) {
        return {};
    }
    const std::string& first = paths.front();
    if (paths.size() > 1) {
        ShowFilesPlan plan;
        std::copy_if(paths.begin(), paths.end(), std::back_inserter(plan.listFiles),
                     [&isFolder](const std::string& path) { return !isFolder(path); });
        if (plan.listFiles.empty()) {
            plan.goToFolder = first;
        }
        return plan;
    }
    if (isFolder(first)) {
        return {first, "", {}};
    }
    return {FolderOf(first), first, {}};
}

}  // namespace vornik
