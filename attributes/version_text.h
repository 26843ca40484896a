// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace vornik {

// "Vornik " + major + "." + minor, with the third number appended without a separator when
// it is not 0: 2.0.0 gives "Vornik 2.0", 2.0.1 gives "Vornik 2.01".
std::string VersionTextFor(int major, int minor, int patch);

// "beta " + the beta number, or empty for a release (0).
std::string BetaTextFor(int beta);

// The texts of this build, as the report's banner and the about box show them.
std::string VersionText();
std::string BetaText();

}  // namespace vornik
