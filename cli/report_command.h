// SPDX-License-Identifier: GPL-3.0-or-later
// `vornik-cli report`: the text report of one file after a complete scan.
#pragma once

#include <ostream>
#include <string>

namespace vornik {

// Writes the report (CR LF line ends, as the clipboard gets it) to `out`. Returns 0, or 2 when
// the file cannot be read as audio, with the reason on `err`.
int RunReport(const std::string& path, std::ostream& out, std::ostream& err);

}  // namespace vornik
