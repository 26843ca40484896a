// SPDX-License-Identifier: GPL-3.0-or-later
// The commands of the menus, the toolbar and the accelerators, by the ids the program always
// used; routing and tests go by these numbers.
#pragma once

namespace vornik {

enum Command : int {
    CmdSettings = 32772,
    CmdRefresh = 32776,
    CmdStop = 32780,  // Esc: stop loading the list
    CmdLogging = 32781,
    CmdDelete = 32783,
    CmdRename = 32784,
    CmdFavouritesMenu = 32787,
    CmdExport = 32788,
    CmdSelectAll = 32791,
    CmdSelectNone = 32795,
    CmdNextPane = 32796,      // Tab
    CmdPreviousPane = 32798,  // Shift+Tab
    CmdAnimation = 32799,
    CmdCompleteScan = 32801,
    CmdFavouritesAdd = 32806,
    CmdFavouritesOrganize = 32810,
    CmdTagDialog = 32811,  // Ctrl+Enter
    CmdFavouriteFirst = 34000,
    CmdFavouriteLast = 34999,
    CmdCopy = 57634,
    CmdCut = 57635,
    CmdPaste = 57637,
    CmdAbout = 57664,
    CmdExit = 57665,
    CmdDocumentation = 57670,
    CmdToolbar = 59392,
    CmdStatusBar = 59393,
};

}  // namespace vornik
