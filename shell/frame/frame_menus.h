// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's menus and toolbar, as data.
#pragma once

#include <array>
#include <string_view>

#include "command_ids.h"

namespace vornik {

struct MenuItem {
    std::string_view menu;      // the menu it is in
    std::string_view text;      // with its "&" mnemonic
    std::string_view shortcut;  // in QKeySequence's portable text; empty: none
    int command = 0;            // 0: a separator
    bool checkable = false;
};

inline constexpr std::array<std::string_view, 6> kMenus{"&File",       "&Edit",    "&View",
                                                        "F&avourites", "&Options", "&Help"};

inline constexpr std::array<MenuItem, 21> kMenuItems{{
    {"&File", "&Export", "", CmdExport},
    {"&File", "", "", 0},
    {"&File", "&Quit", "Ctrl+Q", CmdExit},
    {"&Edit", "Cu&t", "Ctrl+X", CmdCut},
    {"&Edit", "&Copy", "Ctrl+C", CmdCopy},
    {"&Edit", "&Paste", "Ctrl+V", CmdPaste},
    {"&Edit", "", "", 0},
    {"&Edit", "&Delete", "Del", CmdDelete},
    {"&Edit", "&Rename", "F2", CmdRename},
    {"&Edit", "", "", 0},
    {"&Edit", "&Select All", "Ctrl+A", CmdSelectAll},
    {"&Edit", "Select &None", "Ctrl+D", CmdSelectNone},
    {"&View", "&Toolbar", "", CmdToolbar, true},
    {"&View", "&Animation", "", CmdAnimation, true},
    {"&View", "&Status Bar", "", CmdStatusBar, true},
    {"&View", "", "", 0},
    {"&View", "&Refresh", "F5", CmdRefresh},
    {"&View", "&Complete Scan", "F6", CmdCompleteScan},
    {"&Options", "&Settings", "Ctrl+P", CmdSettings},
    {"&Help", "&About Vornik...", "", CmdAbout},
    {"&Help", "Online Do&cumentation", "F1", CmdDocumentation},
}};

// Commands with a key but no menu item.
struct Accelerator {
    std::string_view shortcut;
    int command = 0;
};

inline constexpr std::array<Accelerator, 5> kAccelerators{{
    {"Esc", CmdStop},
    {"Ctrl+Return", CmdTagDialog},
    {"Ctrl+Enter", CmdTagDialog},
    {"Tab", CmdNextPane},
    {"Shift+Tab", CmdPreviousPane},
}};

// The toolbar, left to right; 0 is a separator.
inline constexpr std::array<int, 13> kToolbarCommands{
    CmdExport,       0,       CmdCut, CmdCopy,     CmdPaste, 0,       CmdRefresh,
    CmdCompleteScan, CmdStop, 0,      CmdSettings, 0,        CmdAbout};

}  // namespace vornik
