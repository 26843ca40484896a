// SPDX-License-Identifier: GPL-3.0-or-later
#include "view_settings.h"

#include <algorithm>

namespace vornik {
namespace {

constexpr char kRectSection[] = "details_rect";
constexpr char kDetailsSection[] = "details";
constexpr char kViewSection[] = "view_settings";

std::uint32_t ColourWord(int value) {
    return static_cast<std::uint32_t>(value) & 0xFFFFFF;
}

}  // namespace

void LoadViewSettings(const CIniFile& ini, ViewSettings& settings) {
    DetailsSettings& d = settings.details;
    const DetailsSettings defaults;
    d.left = ini.GetInt(kRectSection, "left", defaults.left);
    d.right = ini.GetInt(kRectSection, "right", defaults.right);
    d.top = ini.GetInt(kRectSection, "top", defaults.top);
    d.bottom = ini.GetInt(kRectSection, "bottom", defaults.bottom);
    d.track = ini.GetInt(kDetailsSection, "track", defaults.track);
    d.radio = ini.GetInt(kDetailsSection, "radio", 0) != 0;
    d.median = ini.GetInt(kDetailsSection, "median", 0) != 0;
    d.initTab = ini.GetInt(kDetailsSection, "inittab", defaults.initTab);
    d.colourHigh =
        ColourWord(ini.GetInt(kDetailsSection, "clr_high", static_cast<int>(defaults.colourHigh)));
    d.colourBase =
        ColourWord(ini.GetInt(kDetailsSection, "clr_base", static_cast<int>(defaults.colourBase)));
    settings.splitterPosition = ini.GetInt(kViewSection, "splitter_pos", 200);
}

void SaveViewSettings(CIniFile& ini, const ViewSettings& settings) {
    const DetailsSettings& d = settings.details;
    ini.SetInt(kRectSection, "left", d.left);
    ini.SetInt(kRectSection, "right", d.right);
    ini.SetInt(kRectSection, "top", d.top);
    ini.SetInt(kRectSection, "bottom", d.bottom);
    ini.SetInt(kDetailsSection, "radio", d.radio ? 1 : 0);
    ini.SetInt(kDetailsSection, "track", d.track);
    ini.SetInt(kDetailsSection, "median", d.median ? 1 : 0);
    ini.SetInt(kDetailsSection, "inittab", d.initTab);
    ini.SetInt(kDetailsSection, "clr_high", static_cast<int>(d.colourHigh));
    ini.SetInt(kDetailsSection, "clr_base", static_cast<int>(d.colourBase));
    ini.SetInt(kViewSection, "splitter_pos", settings.splitterPosition);
}

int ClampSplitterPosition(int stored, int total, int minimumLeft, int minimumRight) {
    if (stored == -1) {
        return total / 2;
    }
    return std::max(minimumLeft, std::min(stored, total - minimumRight));
}

}  // namespace vornik
