// SPDX-License-Identifier: GPL-3.0-or-later
// Percent-encoding of file names as URIs and trash records carry them: names are bytes, and
// every byte that is not an unreserved character travels as %XX.
#pragma once

#include <string>

namespace vornik {

// `bytes` with every byte but the unreserved characters (RFC 3986) and those in `keep`
// written as %XX.
std::string PercentEncoded(const std::string& bytes, const char* keep);

}  // namespace vornik
