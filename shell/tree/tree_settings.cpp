// SPDX-License-Identifier: GPL-3.0-or-later
#include "tree_settings.h"

namespace vornik {

void LoadTreeSettings(const CIniFile& ini, TreeSettings& settings) {
    settings.initDir = ini.GetString(kTreeSettingsSection, "initdir", "");
    settings.useRecent = ini.GetInt(kTreeSettingsSection, "userecent", 0) != 0;
}

void SaveTreeSettings(CIniFile& ini, const TreeSettings& settings) {
    ini.SetString(kTreeSettingsSection, "initdir", settings.initDir);
    ini.SetInt(kTreeSettingsSection, "userecent", settings.useRecent ? 1 : 0);
}

}  // namespace vornik
