#include "summary_text.h"

#include <gtest/gtest.h>

namespace vornik {
namespace {

constexpr std::int64_t kMiB = 1048576;

Mp3Info File(std::int64_t size, int avgBitrate, float duration) {
    Mp3Info record{};
    record.fileSize = size;
    record.avgBitrate = avgBitrate;
    record.duration = duration;
    return record;
}

TEST(SummaryText, OneFileIsSingular) {
    ListSummary summary;
    summary.Add(File(3 * kMiB, 192, 60));
    EXPECT_EQ(summary.Text(), "1 file, 3.0 MB, 192.0 kbps");
}

TEST(SummaryText, RateIsWeightedByDuration) {
    ListSummary summary;
    summary.Add(File(4 * kMiB, 128, 60));
    summary.Add(File(2 * kMiB, 320, 30));
    summary.Add(File(2 * kMiB, 192, 30));
    // (128 x 60 + 320 x 30 + 192 x 30) / 120 = 192; a plain mean would give 213.3.
    EXPECT_EQ(summary.Text(), "3 files, 8.0 MB, 192.0 kbps");
}

TEST(SummaryText, NoFilesAndNoDuration) {
    EXPECT_EQ(ListSummary().Text(), "0 files, 0.0 MB, 0.0 kbps");
    ListSummary silent;
    silent.Add(File(100, 128, 0));
    silent.Add(File(100, 128, 0));
    EXPECT_EQ(silent.Text(), "2 files, 0.0 MB, 0.0 kbps");
}

TEST(SummaryText, AboveOneThousandTwentyFourMegabytesTheUnitIsGigabytes) {
    ListSummary exact;
    exact.Add(File(1024 * kMiB, 128, 1));
    // 1024 MiB times the rounded constant stays just below 1024.
    EXPECT_EQ(exact.Text(), "1 file, 1024.0 MB, 128.0 kbps");

    ListSummary above;
    above.Add(File(600 * kMiB, 128, 1));
    above.Add(File(600 * kMiB, 128, 1));
    EXPECT_EQ(above.Text(), "2 files, 1.2 GB, 128.0 kbps");

    ListSummary large;
    large.Add(File(5 * 1024 * kMiB, 128, 1));  // beyond 32 bits
    EXPECT_EQ(large.Text(), "1 file, 5.0 GB, 128.0 kbps");
}

TEST(SummaryText, ProgressAndFramesTexts) {
    EXPECT_EQ(ProgressText(1, 2), "1 read, 2 to go");
    EXPECT_EQ(FramesText(1000), "Reading at most 1000 frames");
    EXPECT_EQ(FramesText(70000), "Reading at most 70000 frames");
    EXPECT_EQ(FramesText(0), "Reading all frames");
    EXPECT_EQ(FramesText(-3), "Reading all frames");
}

}  // namespace
}  // namespace vornik
