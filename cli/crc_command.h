// SPDX-License-Identifier: GPL-3.0-or-later
// `vornik-cli crc`: checks the music CRC that a Lame tag stores.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace vornik {

// Prints one line per file to `out` and a progress bar to `progress` when that is a terminal
// (null for none). Returns 0 when every file matches, 1 when some file is corrupt, 2 when some
// file could not be checked.
int RunCrc(const std::vector<std::string>& files, std::ostream& out, std::ostream* progress);

}  // namespace vornik
