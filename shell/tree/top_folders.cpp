// SPDX-License-Identifier: GPL-3.0-or-later
#include "top_folders.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace vornik {
namespace {

bool Inside(const std::string& path, std::string_view folder) {
    return path == folder ||
           (path.starts_with(folder) && path.size() > folder.size() && path[folder.size()] == '/');
}

std::string LastName(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

bool IsUserVolume(const MountedVolume& volume) {
    static constexpr std::array<std::string_view, 6> kSystemFolders{"/proc", "/sys",  "/dev",
                                                                    "/run",  "/boot", "/snap"};
    static constexpr std::array<std::string_view, 6> kNoUserFiles{"tmpfs",   "devtmpfs", "squashfs",
                                                                  "overlay", "ramfs",    "autofs"};
    const std::string& path = volume.rootPath;
    if (path.empty() || path == "/") {
        return false;
    }
    if (Inside(path, "/run/media")) {
        return true;
    }
    const bool system = std::any_of(kSystemFolders.begin(), kSystemFolders.end(),
                                    [&](std::string_view folder) { return Inside(path, folder); });
    const bool noFiles = std::find(kNoUserFiles.begin(), kNoUserFiles.end(),
                                   volume.fileSystemType) != kNoUserFiles.end();
    return !system && !noFiles;
}

std::vector<TopFolder> TopFolders(const std::string& desktop, const std::string& home,
                                  const std::string& documents,
                                  const std::vector<MountedVolume>& volumes) {
    std::vector<TopFolder> folders;
    if (home != desktop) {
        folders.push_back({TopFolder::Kind::Home, LastName(home), home});
    }
    if (!documents.empty() && documents != home && documents != desktop) {
        folders.push_back({TopFolder::Kind::Documents, LastName(documents), documents});
    }
    folders.push_back({TopFolder::Kind::FileSystemRoot, "/", "/"});
    for (const MountedVolume& volume : volumes) {
        if (IsUserVolume(volume)) {
            folders.push_back({TopFolder::Kind::Volume,
                               volume.displayName.empty() ? volume.rootPath : volume.displayName,
                               volume.rootPath});
        }
    }
    return folders;
}

}  // namespace vornik
