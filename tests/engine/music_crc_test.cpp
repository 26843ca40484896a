// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "crc16.h"
#include "mp3_file.h"
#include "stream_builder.h"
#include "vbr_builders.h"

namespace vornik {
namespace {

using test::StreamBuilder;

constexpr std::size_t kTagFrame = 417;

struct Progress : CMp3File::sink_mini {
    void progress(std::uint64_t done, std::uint64_t total) override {
        calls.emplace_back(done, total);
    }
    std::vector<std::pair<std::uint64_t, std::uint64_t>> calls;
};

// A Lame file whose tag stores the music length and CRC of the frames after the tag frame.
std::vector<std::uint8_t> LameFile(int frames) {
    test::XingShape xing;
    xing.lame = test::LameTagShape{};
    auto bytes = StreamBuilder().bytes(test::BuildXingFrame({}, xing)).frames({}, frames).data();
    const std::uint16_t crc = Crc16Arc(std::span(bytes).subspan(kTagFrame));
    test::PatchLameMusic(bytes, 0, test::LameTagPosition({}, xing),
                         static_cast<std::uint32_t>(bytes.size()), crc);
    return bytes;
}

struct CrcResult {
    std::uint16_t crc;
    Mp3Info record;
};

CrcResult Check(const std::vector<std::uint8_t>& bytes, Progress* progress = nullptr) {
    const test::TempFile file(bytes);
    CMp3File mp3;
    EXPECT_TRUE(mp3.Open(file.path()));
    CrcResult result{0, Mp3Info{}};
    mp3.ProcessFrames(false, result.record, -1, nullptr, nullptr);
    result.crc = mp3.ComputeMusicCrc(result.record, progress);
    return result;
}

TEST(MusicCrc, IntactFileMatches) {
    Progress progress;
    const auto result = Check(LameFile(30), &progress);
    EXPECT_TRUE(result.record.lameTagValid);
    EXPECT_TRUE(result.record.musicCrcDone);
    EXPECT_TRUE(result.record.musicCrcOk);
    EXPECT_EQ(result.crc, result.record.lameMusicCrc);
    EXPECT_EQ(result.record.xingFrameLength, 417);
    ASSERT_EQ(progress.calls.size(), 1u);
    EXPECT_EQ(progress.calls[0].first, 30u * 417);
    EXPECT_EQ(progress.calls[0].second, 30u * 417);
}

TEST(MusicCrc, AlteredMusicIsCaught) {
    auto bytes = LameFile(30);
    bytes[kTagFrame + 5000] ^= 0x01;
    const auto result = Check(bytes);
    EXPECT_TRUE(result.record.musicCrcDone);
    EXPECT_FALSE(result.record.musicCrcOk);
}

TEST(MusicCrc, TagsAfterTheMusicAreNotMusic) {
    // ID3v1: left out by the rule, and by the music length.
    EXPECT_TRUE(Check(StreamBuilder().bytes(LameFile(30)).id3v1().data()).record.musicCrcOk);
    // An APE tag or other data: left out by the music length the tag stores.
    auto ape = StreamBuilder().bytes(LameFile(30)).junk(200, 'A').data();
    EXPECT_TRUE(Check(ape).record.musicCrcOk);
}

TEST(MusicCrc, WithoutAMusicLengthTheWholeRestCounts) {
    auto bytes = LameFile(30);
    test::XingShape xing;
    xing.lame = test::LameTagShape{};
    const std::uint16_t withJunk = [&] {
        auto copy = bytes;
        copy.insert(copy.end(), 200, 'A');
        return Crc16Arc(std::span(copy).subspan(kTagFrame));
    }();
    bytes.insert(bytes.end(), 200, 'A');
    test::PatchLameMusic(bytes, 0, test::LameTagPosition({}, xing), 0, withJunk);
    EXPECT_TRUE(Check(bytes).record.musicCrcOk);
}

// As the tag dialog sees it when the file changed after its scan: the record names a tag
// frame, but what follows it is no frame.
TEST(MusicCrc, DamagedFrameAfterTheTagCannotBeChecked) {
    auto bytes = LameFile(30);
    bytes[kTagFrame] = 0;
    const test::TempFile file(bytes);
    CMp3File mp3;
    ASSERT_TRUE(mp3.Open(file.path()));
    Mp3Info record{};
    EXPECT_EQ(mp3.ComputeMusicCrc(record, nullptr), 0);
    EXPECT_EQ(record.xingFrameLength, 417);
    EXPECT_FALSE(record.musicCrcDone);

    record.audioStart = 5;  // no frame at all
    EXPECT_EQ(mp3.ComputeMusicCrc(record, nullptr), 0);
    EXPECT_EQ(record.xingFrameLength, 0);
}

}  // namespace
}  // namespace vornik
