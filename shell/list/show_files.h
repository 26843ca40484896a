// SPDX-License-Identifier: GPL-3.0-or-later
// What the list does with files named one by one: from the command line or dropped on it.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace vornik {

struct ShowFilesPlan {
    std::string goToFolder;              // the folder the tree goes to; empty: none
    std::string openDetails;             // the file whose details open; empty: none
    std::vector<std::string> listFiles;  // the files the list shows, and only those

    friend bool operator==(const ShowFilesPlan&, const ShowFilesPlan&) = default;
};

// A single folder: the tree goes to it. A single file: its details open and the tree goes to
// its folder. Several paths: the list shows exactly the files among them ("Open with" on a
// selection), or, when they are all folders, the tree goes to the first. `isFolder` answers
// whether a path names a folder.
ShowFilesPlan PlanShowFiles(const std::vector<std::string>& paths,
                            const std::function<bool(const std::string&)>& isFolder);

}  // namespace vornik
