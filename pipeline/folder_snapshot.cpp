// SPDX-License-Identifier: GPL-3.0-or-later
#include "folder_snapshot.h"

#include <algorithm>

namespace vornik {

FolderSnapshot TakeFolderSnapshot(const std::vector<FolderEntry>& entries,
                                  const FileTypeFilter& filter) {
    FolderSnapshot snapshot;
    for (const FolderEntry& entry : entries) {
        if (filter.Wants(entry.name)) {
            snapshot.emplace_back(entry.name, entry.size);
        }
    }
    std::sort(snapshot.begin(), snapshot.end());
    return snapshot;
}

bool SnapshotsDiffer(const FolderSnapshot& before, const FolderSnapshot& now) {
    return before != now;
}

}  // namespace vornik
