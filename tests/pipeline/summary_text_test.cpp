// SPDX-License-Identifier: GPL-3.0-or-later
#include "summary_text.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

namespace vornik {
namespace {

constexpr std::int64_t kMiB = 1048576;

// (size, average bitrate, duration) of each file.
using Files = std::vector<std::tuple<std::int64_t, int, float>>;

TEST(SummaryText, CountSizeAndRateWeightedByDuration) {
    const std::pair<Files, const char*> cases[] = {
        {{}, "0 files, 0.0 MB, 0.0 kbps"},
        {{{3 * kMiB, 192, 60}}, "1 file, 3.0 MB, 192.0 kbps"},
        // (128 x 60 + 320 x 30 + 192 x 30) / 120 = 192; a plain mean would give 213.3.
        {{{4 * kMiB, 128, 60}, {2 * kMiB, 320, 30}, {2 * kMiB, 192, 30}},
         "3 files, 8.0 MB, 192.0 kbps"},
        {{{100, 128, 0}, {100, 128, 0}}, "2 files, 0.0 MB, 0.0 kbps"},  // no duration
        // 1024 MiB times the rounded constant stays just below 1024; above it the unit is GB.
        {{{1024 * kMiB, 128, 1}}, "1 file, 1024.0 MB, 128.0 kbps"},
        {{{600 * kMiB, 128, 1}, {600 * kMiB, 128, 1}}, "2 files, 1.2 GB, 128.0 kbps"},
        {{{5 * 1024 * kMiB, 128, 1}}, "1 file, 5.0 GB, 128.0 kbps"},  // beyond 32 bits
    };
    for (const auto& [files, text] : cases) {
        ListSummary summary;
        for (const auto& file : files) {
            Mp3Info record{};
            std::tie(record.fileSize, record.avgBitrate, record.duration) = file;
            summary.Add(record);
        }
        EXPECT_EQ(summary.Text(), text);
    }
}

TEST(SummaryText, ProgressAndFramesTexts) {
    EXPECT_EQ(ProgressText(1, 2), "1 read, 2 to go");
    EXPECT_EQ(FramesText(1000), "Reading at most 1000 frames");
    EXPECT_EQ(FramesText(0), "Reading all frames");
    EXPECT_EQ(FramesText(-3), "Reading all frames");
}

}  // namespace
}  // namespace vornik
