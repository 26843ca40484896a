// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <stdexcept>

namespace vornik {

// The one exception of the engine: a scan that cannot go on. what() is the exact text shown
// to the user and written to the log.
class ScanError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

inline constexpr const char* kNoHeaderMessage = "Cannot find valid mp3 header, scanning failed\n";
inline constexpr const char* kBadFirstHeaderMessage =
    "Hmm - I thought I'd found a header... \r\nPlease report this bug...\r\n";
inline constexpr const char* kFreeFormatMessage =
    "This file seems free format bitstream.\nFree format bitstream is not supported.\nSorry.\n";

}  // namespace vornik
