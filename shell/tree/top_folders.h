// SPDX-License-Identifier: GPL-3.0-or-later
// The folders the tree shows at its top: the desktop as root and, under it, the places from
// which every absolute path can be reached.
#pragma once

#include <string>
#include <vector>

namespace vornik {

struct MountedVolume {
    std::string rootPath;        // where it is mounted
    std::string fileSystemType;  // "ext4", "vfat", "tmpfs", ...
    std::string displayName;     // its label, or the mount point
};

struct TopFolder {
    enum class Kind { Home, Documents, FileSystemRoot, Volume };
    Kind kind = Kind::Home;
    std::string name;  // the node's text
    std::string path;

    friend bool operator==(const TopFolder&, const TopFolder&) = default;
};

// True for a volume the user keeps files on: not the root itself, not the system's own
// mounts (/proc, /sys, /dev, /run but /run/media, /boot, /snap) and not a memory or image
// file system.
bool IsUserVolume(const MountedVolume& volume);

// The nodes under the desktop root, in order: the home folder (unless the desktop is the home
// folder itself), the documents folder (when it is known and is neither of those), "/", and
// the user's volumes. `documents` may be empty.
std::vector<TopFolder> TopFolders(const std::string& desktop, const std::string& home,
                                  const std::string& documents,
                                  const std::vector<MountedVolume>& volumes);

}  // namespace vornik
