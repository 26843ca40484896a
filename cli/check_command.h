// SPDX-License-Identifier: GPL-3.0-or-later
// `vornik-cli check`: an integrity verdict for each file of a library, in one pass per file.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace vornik {

struct CheckOptions {
    std::vector<std::string> paths;
    bool recursive = false;
    std::string format = "txt";  // txt, json or csv
    int jobs = 1;                // files checked side by side, at most one per file
};

// The verdict of one file.
struct CheckResult {
    std::string path;
    bool readable = true;               // false: the file could not be opened or is no audio
    std::vector<std::string> findings;  // empty for a sound file
};

// Checks one file completely: the frame walk with its CRCs, the music CRC and the tags around
// the frames.
CheckResult CheckFile(const std::string& path);

// Writes the verdicts to `out` in the order the files were found, unreadable paths to `err` as
// well, and a progress line to `progress` when it is not null. Returns 0 when every file is
// sound, 1 when any is not, 2 when any could not be read.
int RunCheck(const CheckOptions& options, std::ostream& out, std::ostream& err,
             std::ostream* progress);

}  // namespace vornik
