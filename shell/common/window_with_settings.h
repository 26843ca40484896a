// SPDX-License-Identifier: GPL-3.0-or-later
// What every window that keeps settings offers the main window and the settings sheet.
#pragma once

#include "settings_keeper.h"

namespace vornik {

class CSettingsSheet;

// The main window calls Load at start-up and Save at exit (SettingsKeeper). The sheet calls
// CreatePages on every participant before it opens, then AddPages; after OK (never after
// Cancel) it calls ApplyPages.
class CWindowWithSettings : public SettingsKeeper {
  public:
    // Copies the live settings into the pages' working copies. `changeFlags` is the sheet's
    // word, 0 when it opens and shared by all participants; pages keep the pointer and set
    // their bits in it while the sheet is shown.
    virtual void CreatePages(int* /*changeFlags*/) {}
    // Takes the working copies back into the live settings and applies them; `changeFlags`
    // is the word's final value.
    virtual void ApplyPages(int /*changeFlags*/) {}
    // Adds the window's pages to `sheet`.
    virtual void AddPages(CSettingsSheet& /*sheet*/) {}
};

}  // namespace vornik
