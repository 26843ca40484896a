// SPDX-License-Identifier: GPL-3.0-or-later
#include "frame_settings.h"

#include <algorithm>

#include "list_settings.h"

namespace vornik {
namespace {

constexpr char kFrameSection[] = "mainframe";
constexpr char kGlobalSection[] = "global";
constexpr char kFavouritesSection[] = "favourites_mru";

}  // namespace

void LoadFrameSettings(const CIniFile& ini, FrameSettings& settings) {
    const FrameSettings defaults;
    settings.bottom = ini.GetInt(kFrameSection, "bottom", defaults.bottom);
    settings.top = ini.GetInt(kFrameSection, "top", defaults.top);
    settings.left = ini.GetInt(kFrameSection, "left", defaults.left);
    settings.right = ini.GetInt(kFrameSection, "right", defaults.right);
    settings.maximize = ini.GetInt(kFrameSection, "maximize", 0) != 0;
    settings.logging = ini.GetInt(kGlobalSection, "logging", 0) != 0;
}

void SaveFrameSettings(CIniFile& ini, const FrameSettings& settings) {
    ini.SetInt(kFrameSection, "bottom", settings.bottom);
    ini.SetInt(kFrameSection, "top", settings.top);
    ini.SetInt(kFrameSection, "left", settings.left);
    ini.SetInt(kFrameSection, "right", settings.right);
    ini.SetInt(kFrameSection, "maximize", settings.maximize ? 1 : 0);
    ini.SetInt(kGlobalSection, "logging", settings.logging ? 1 : 0);
}

bool Favourites::Add(const std::string& folder) {
    if (folder.empty() || std::find(folders_.begin(), folders_.end(), folder) != folders_.end()) {
        return false;
    }
    folders_.push_back(folder);
    return true;
}

void Favourites::Load(const CIniFile& ini) {
    folders_.clear();
    // A hand-edited count is read only as far as the entries can sensibly go.
    const int count = std::min(ini.GetInt(kFavouritesSection, "count", -1), kMaxStoredEntries);
    for (int i = 0; i < count; ++i) {
        folders_.push_back(ini.GetString(kFavouritesSection, "", "", i));
    }
}

void Favourites::Save(CIniFile& ini) const {
    ini.SetInt(kFavouritesSection, "count", static_cast<int>(folders_.size()));
    for (std::size_t i = 0; i < folders_.size(); ++i) {
        ini.SetString(kFavouritesSection, "", folders_[i], static_cast<int>(i));
    }
}

}  // namespace vornik
