// SPDX-License-Identifier: GPL-3.0-or-later
#include "select_path.h"

#include <sstream>

namespace vornik {
namespace {

// The names of `path` below `folder` when `folder` holds it (or is it); false otherwise.
bool NamesBelow(const std::string& folder, const std::string& path,
                std::vector<std::string>& names) {
    names.clear();
    if (!path.starts_with(folder)) {
        return false;
    }
    std::string rest = path.substr(folder.size());
    if (!rest.empty() && folder != "/") {
        if (rest.front() != '/') {
            return false;  // "/music2" is not inside "/music"
        }
        rest.erase(0, 1);
    }
    std::istringstream parts(rest);
    for (std::string name; std::getline(parts, name, '/');) {
        if (!name.empty()) {
            names.push_back(name);
        }
    }
    return true;
}

}  // namespace

SelectPathPlan PlanSelectPath(const std::string& path, const std::vector<std::string>& anchors) {
    SelectPathPlan best;
    std::size_t bestLength = 0;
    std::vector<std::string> names;
    for (std::size_t i = 0; i < anchors.size(); ++i) {
        const std::string& anchor = anchors[i];
        const bool deeper = best.anchor < 0 || anchor.size() > bestLength;
        if (deeper && NamesBelow(anchor, path, names)) {
            best = {static_cast<int>(i), names};
            bestLength = anchor.size();
        }
    }
    return best;
}

}  // namespace vornik
