// SPDX-License-Identifier: GPL-3.0-or-later
// The view's own settings: the details dialogs' display and the splitter.
#pragma once

#include <cstdint>

#include "ini_file.h"

namespace vornik {

struct DetailsSettings {
    int left = 0;  // "details_rect": the dialog's rectangle, screen pixels
    int top = 0;
    int right = 640;
    int bottom = 480;
    int track = 10;                       // "details": graph smoothing, 0-25
    bool radio = false;                   // highlight by joint stereo type, else block type
    bool median = false;                  // median smoothing, else mean
    int initTab = 0;                      // tab selected when a dialog opens
    std::uint32_t colourHigh = 0xC3884F;  // graph highlight, 0x00BBGGRR
    std::uint32_t colourBase = 0xA56D39;  // graph base, 0x00BBGGRR
};

struct ViewSettings {
    DetailsSettings details;
    int splitterPosition = 200;  // "splitter_pos": the tree's width; -1: the middle
};

// "details_rect" (left, right, top, bottom), "details" (track, radio, median, inittab,
// clr_high, clr_base) and "view_settings" (splitter_pos).
void LoadViewSettings(const CIniFile& ini, ViewSettings& settings);
// The same keys; "details" in the order radio, track, median, inittab, clr_high, clr_base.
void SaveViewSettings(CIniFile& ini, const ViewSettings& settings);

// Where the splitter goes for a stored position in a view `total` pixels wide: -1 is the
// middle, anything else is kept within the panes' minimum widths (the left one first when
// both cannot be met).
int ClampSplitterPosition(int stored, int total, int minimumLeft, int minimumRight);

}  // namespace vornik
