// What every window that keeps settings offers the main window and the settings sheet.
#pragma once

#include "ini_file.h"

namespace vornik {

// The settings sheet is a widget and belongs to the window layer, which defines this class;
// here it is only passed on.
class CSettingsSheet;

// The main window calls Load at start-up and Save at exit, each implementer forwarding to the
// windows it owns. The sheet calls CreatePages on every participant before it opens, then
// AddPages; after OK (never after Cancel) it calls ApplyPages. The declaration order is the
// order of the virtual slots.
class CWindowWithSettings {
  public:
    // Puts the window's current settings into `ini`, its own sections and keys only.
    virtual void SaveSettings(CIniFile& ini) = 0;
    // Takes the window's settings from `ini`; a key that is missing gives its default.
    virtual void LoadSettings(const CIniFile& ini) = 0;

    // Copies the live settings into the pages' working copies. `changeFlags` is the sheet's
    // word, 0 when it opens and shared by all participants; pages keep the pointer and set
    // their bits in it while the sheet is shown.
    virtual void CreatePages(int* /*changeFlags*/) {}
    // Takes the working copies back into the live settings and applies them; `changeFlags`
    // is the word's final value.
    virtual void ApplyPages(int /*changeFlags*/) {}
    // Adds the window's pages to `sheet`.
    virtual void AddPages(CSettingsSheet& /*sheet*/) {}

    virtual ~CWindowWithSettings() = default;
};

}  // namespace vornik
