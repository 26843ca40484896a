#include "show_files.h"

#include <filesystem>

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
        return {isFolder(first) ? first : FolderOf(first), ""};
    }
    if (isFolder(first)) {
        return {first, ""};
    }
    return {FolderOf(first), first};
}

}  // namespace vornik
