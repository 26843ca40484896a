// SPDX-License-Identifier: GPL-3.0-or-later
#include "folder_lister.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace vornik {

std::optional<std::vector<FolderEntry>> DiskFolderLister::List(const std::string& folder) const {
    namespace fs = std::filesystem;
    std::error_code error;
    fs::directory_iterator it(folder, error);
    if (error) {
        return std::nullopt;
    }
    std::vector<FolderEntry> entries;
    for (; it != fs::directory_iterator(); it.increment(error)) {
        if (error) {
            return std::nullopt;
        }
        std::error_code statError;
        // Follows links: a link to a file is listed, a link to a folder is not.
        if (!it->is_regular_file(statError)) {
            continue;
        }
        const std::uintmax_t size = it->file_size(statError);
        entries.push_back(
            {it->path().filename().string(), statError ? 0 : static_cast<std::uint64_t>(size)});
    }
    if (error) {
        return std::nullopt;
    }
    std::sort(entries.begin(), entries.end(),
              [](const FolderEntry& a, const FolderEntry& b) { return a.name < b.name; });
    return entries;
}

}  // namespace vornik
