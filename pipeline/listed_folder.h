// SPDX-License-Identifier: GPL-3.0-or-later
// A folder listed and its rows made: the slow part of a fill, which may run on any thread.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "folder_lister.h"
#include "folder_snapshot.h"
#include "list_row.h"

namespace vornik {

// A fresh row for the file `name` in `folder`, not yet done.
std::unique_ptr<_LVItemData> MakeRow(const std::string& folder, const std::string& name);

struct ListedFolder {
    std::string folder;
    bool listed = false;                             // false: the folder could not be read
    std::vector<std::unique_ptr<_LVItemData>> rows;  // the wanted files, in listing order
    FolderSnapshot snapshot;                         // what the folder watch compares against
};

// Lists `folder` and makes a row for every file that "filetypes" wants. Touches nothing but
// its arguments and the log, so a large folder can be listed away from the list's thread.
ListedFolder ListFolderRows(const FolderLister& lister, const std::string& folder,
                            const std::string& fileTypes);

// The folder watch's view of `folder` now; empty when it can no longer be read, as a file
// search in it finds nothing.
FolderSnapshot SnapshotFolder(const FolderLister& lister, const std::string& folder,
                              const std::string& fileTypes);

}  // namespace vornik
