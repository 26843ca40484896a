// SPDX-License-Identifier: GPL-3.0-or-later
// Scans a built file image through the engine, as the workers do.
#pragma once

#include <string>
#include <vector>

#include "mp3_file.h"
#include "mp3_info.h"

namespace vornik::test {

struct ScanOutcome {
    Mp3Info record{};
    int result = -1;
    std::string error;  // the engine's text when it threw
};

ScanOutcome ScanPath(const std::string& path, bool walk = true, int frameLimit = -1,
                     FrameSeries* series = nullptr, CMp3File::sink* sink = nullptr);
ScanOutcome ScanBytes(const std::vector<std::uint8_t>& bytes, bool walk = true, int frameLimit = -1,
                      FrameSeries* series = nullptr, CMp3File::sink* sink = nullptr);

}  // namespace vornik::test
