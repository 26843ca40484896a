// SPDX-License-Identifier: GPL-3.0-or-later
// Damaged files: every cut and every flipped byte gives a defined result.
#include <gtest/gtest.h>

#include "mp3_file.h"
#include "scan_error.h"
#include "scan_helpers.h"
#include "stream_builder.h"

namespace vornik {
namespace {

using test::FrameShape;
using test::StreamBuilder;

std::vector<std::uint8_t> SmallStream() {
    FrameShape mpeg2;
    mpeg2.version = test::Version::Mpeg2;
    mpeg2.sampleRate = 24000;
    mpeg2.kbps = 8;
    mpeg2.crc = true;
    return StreamBuilder().id3v2(20).frames(mpeg2, 8).junk(7, 0xFF).frames(mpeg2, 6).id3v1().data();
}

TEST(Robustness, CutAtEveryOffset) {
    const auto whole = SmallStream();
    // One temporary file, truncated step by step, keeps the test quick.
    for (std::size_t size = 0; size <= whole.size(); ++size) {
        const std::vector<std::uint8_t> cut(whole.begin(),
                                            whole.begin() + static_cast<std::ptrdiff_t>(size));
        const auto scan = test::ScanBytes(cut);
        EXPECT_EQ(scan.record.fileSize, static_cast<std::int64_t>(size));
        if (scan.error.empty()) {
            EXPECT_GE(scan.record.frameCount, 0);
            EXPECT_LE(scan.record.syncErrors, scan.record.frameCount);
        } else {
            EXPECT_EQ(scan.error, kNoHeaderMessage) << size;
        }
    }
}

TEST(Robustness, EveryByteSetToEveryInterestingValue) {
    const auto whole = SmallStream();
    for (std::size_t at = 0; at < whole.size(); at += 3) {
        for (const std::uint8_t value : {0x00, 0xFF, 0xFB, 0x80}) {
            auto damaged = whole;
            damaged[at] = value;
            const auto scan = test::ScanBytes(damaged, true, -1);
            EXPECT_EQ(scan.record.fileSize, static_cast<std::int64_t>(whole.size()));
        }
    }
}

}  // namespace
}  // namespace vornik
