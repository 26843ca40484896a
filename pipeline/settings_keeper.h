// SPDX-License-Identifier: GPL-3.0-or-later
// What every part that keeps settings in the settings file offers its owner.
#pragma once

#include "ini_file.h"

namespace vornik {

// The owner calls Load at start-up and Save at exit, each implementer forwarding to the parts
// it owns.
class SettingsKeeper {
  public:
    virtual ~SettingsKeeper() = default;
    // Puts the current settings into `ini`, the keeper's own sections and keys only.
    virtual void SaveSettings(CIniFile& ini) = 0;
    // Takes the settings from `ini`; a key that is missing gives its default.
    virtual void LoadSettings(const CIniFile& ini) = 0;
};

}  // namespace vornik
