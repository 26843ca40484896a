// SPDX-License-Identifier: GPL-3.0-or-later
#include "scan_helpers.h"

#include <stdexcept>

#include "scan_error.h"
#include "stream_builder.h"

namespace vornik::test {

ScanOutcome ScanPath(const std::string& path, bool walk, int frameLimit, FrameSeries* series,
                     CMp3File::sink* sink) {
    ScanOutcome outcome;
    CMp3File file;
    if (!file.Open(path)) {
        throw std::runtime_error("cannot open " + path);
    }
    try {
        outcome.result = file.ProcessFrames(walk, outcome.record, frameLimit, series, sink);
    } catch (const ScanError& error) {
        outcome.error = error.what();
    }
    return outcome;
}

ScanOutcome ScanBytes(const std::vector<std::uint8_t>& bytes, bool walk, int frameLimit,
                      FrameSeries* series, CMp3File::sink* sink) {
    const TempFile file(bytes);
    return ScanPath(file.path(), walk, frameLimit, series, sink);
}

}  // namespace vornik::test
