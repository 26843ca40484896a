// SPDX-License-Identifier: GPL-3.0-or-later
#include "listed_folder.h"

#include <filesystem>

#include "file_type_filter.h"
#include "log.h"

namespace vornik {

std::unique_ptr<_LVItemData> MakeRow(const std::string& folder, const std::string& name) {
    auto row = std::make_unique<_LVItemData>();
    row->fileName = name;
    row->fullPath = (std::filesystem::path(folder) / name).string();
    row->texts.Set(kSlotName, name);
    return row;
}

ListedFolder ListFolderRows(const FolderLister& lister, const std::string& folder,
                            const std::string& fileTypes) {
    ListedFolder listed;
    listed.folder = folder;
    const std::optional<std::vector<FolderEntry>> listing = lister.List(folder);
    if (!listing) {
        Log("CVornikList::OnFill Failed to obtain interface to selected folder...");
        return listed;
    }
    Log("CVornikList::OnFill found selected folder interface");
    Log("CVornikList::FillListView");
    Log("CVornikList::FillListView obtained IEnumIDList interface");
    listed.listed = true;
    const FileTypeFilter filter(fileTypes);
    for (const FolderEntry& entry : *listing) {
        Log("CVornikList::AddItemToList:\t" +
            (std::filesystem::path(folder) / entry.name).string());
        if (filter.Wants(entry.name)) {
            listed.rows.push_back(MakeRow(folder, entry.name));
        }
    }
    listed.snapshot = TakeFolderSnapshot(*listing, filter);
    return listed;
}

FolderSnapshot SnapshotFolder(const FolderLister& lister, const std::string& folder,
                              const std::string& fileTypes) {
    const std::optional<std::vector<FolderEntry>> listing = lister.List(folder);
    return listing ? TakeFolderSnapshot(*listing, FileTypeFilter(fileTypes)) : FolderSnapshot{};
}

}  // namespace vornik
