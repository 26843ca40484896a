// SPDX-License-Identifier: GPL-3.0-or-later
// What the folder watch remembers of the listed folder.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "file_type_filter.h"
#include "folder_lister.h"

namespace vornik {

// (file name, size in bytes) of every file the filter wants, sorted by name byte for byte.
using FolderSnapshot = std::vector<std::pair<std::string, std::uint64_t>>;

FolderSnapshot TakeFolderSnapshot(const std::vector<FolderEntry>& entries,
                                  const FileTypeFilter& filter);

// True when the folder changed between the two snapshots: a different number of files, a
// name (compared exactly) or a size.
bool SnapshotsDiffer(const FolderSnapshot& before, const FolderSnapshot& now);

}  // namespace vornik
