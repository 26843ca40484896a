// SPDX-License-Identifier: GPL-3.0-or-later
// `vornik-cli dump`: one JSON object per file with the scan's record.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace vornik {

struct DumpOptions {
    std::vector<std::string> files;
    int frameLimit = -1;  // walked frames at most; -1 for the whole file
    bool walk = true;     // false: headers only
    bool series = false;  // add the per-frame lists
};

// Writes one line per file to `out`; returns 0, or 1 when some file could not be scanned.
int RunDump(const DumpOptions& options, std::ostream& out);

}  // namespace vornik
