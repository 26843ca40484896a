// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's own settings and its favourites.
#pragma once

#include <string>
#include <vector>

#include "ini_file.h"

namespace vornik {

struct FrameSettings {
    int left = 10;  // "mainframe": the restored window's rectangle, screen pixels
    int top = 50;
    int right = 1000;
    int bottom = 600;
    bool maximize = false;
    bool logging = false;  // "global"
};

// "mainframe": bottom, top, left, right, maximize; then "global": logging.
void LoadFrameSettings(const CIniFile& ini, FrameSettings& settings);
void SaveFrameSettings(CIniFile& ini, const FrameSettings& settings);

// Folders the user keeps at hand, in their order: "favourites_mru" holds "count" and one key
// per entry from "0" up.
class Favourites {
  public:
    const std::vector<std::string>& Folders() const { return folders_; }
    // Adds `folder` at the end unless it is there already; false when it was.
    bool Add(const std::string& folder);
    void Replace(std::vector<std::string> folders) { folders_ = std::move(folders); }

    void Load(const CIniFile& ini);
    void Save(CIniFile& ini) const;

  private:
    std::vector<std::string> folders_;
};

}  // namespace vornik
