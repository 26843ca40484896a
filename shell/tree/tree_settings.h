// SPDX-License-Identifier: GPL-3.0-or-later
// The folder tree's settings: the "tree_settings" section.
#pragma once

#include <string>

#include "ini_file.h"

namespace vornik {

inline constexpr char kTreeSettingsSection[] = "tree_settings";

struct TreeSettings {
    std::string initDir;     // "initdir": the folder selected at start; empty: the desktop
    bool useRecent = false;  // "userecent": at exit, initDir becomes the selected folder
};

void LoadTreeSettings(const CIniFile& ini, TreeSettings& settings);
void SaveTreeSettings(CIniFile& ini, const TreeSettings& settings);

}  // namespace vornik
