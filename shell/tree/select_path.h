// SPDX-License-Identifier: GPL-3.0-or-later
// The walk of SelectPath: from which top node a folder is reached, and through which names.
#pragma once

#include <string>
#include <vector>

namespace vornik {

struct SelectPathPlan {
    int anchor = -1;                 // index into the anchors; -1: no anchor holds the path
    std::vector<std::string> names;  // the folder names below the anchor, top down

    friend bool operator==(const SelectPathPlan&, const SelectPathPlan&) = default;
};

// `path` and the anchors' paths are absolute and clean (no "." or ".." parts, no trailing
// "/" but for the root). The anchor is the one whose path holds `path` at the deepest level;
// of anchors with the same path the first wins. Paths compare exactly: names on Linux are
// case-sensitive.
SelectPathPlan PlanSelectPath(const std::string& path, const std::vector<std::string>& anchors);

}  // namespace vornik
