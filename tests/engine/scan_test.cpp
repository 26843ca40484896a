// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "mp3_file.h"
#include "scan_error.h"
#include "scan_helpers.h"
#include "stream_builder.h"
#include "vbr_builders.h"

namespace vornik {
namespace {

using test::FrameShape;
using test::ScanBytes;
using test::StreamBuilder;

constexpr int kFrame = 417;  // MPEG-1 Layer III, 128 kbps, 44.1 kHz, no padding

std::vector<std::uint8_t> Frames(int count, const FrameShape& shape = {}) {
    return StreamBuilder().frames(shape, count).data();
}

TEST(Scan, EmptyFileReturnsZero) {
    const auto scan = ScanBytes({});
    EXPECT_EQ(scan.result, 0);
    EXPECT_FALSE(scan.record.lastFrameOk);
    EXPECT_FALSE(scan.record.scanComplete);
    EXPECT_EQ(scan.record.fileSize, 0);
    EXPECT_FALSE(scan.record.fileName.empty());
}

TEST(Scan, FourFramesAloneDoNotChainButFourBeforeATagDo) {
    EXPECT_EQ(ScanBytes(Frames(4)).error, kNoHeaderMessage);

    const auto tagged = StreamBuilder().frames({}, 4).id3v1().data();
    const auto scan = ScanBytes(tagged);
    EXPECT_EQ(scan.error, "");
    EXPECT_EQ(scan.record.frameCount, 3);  // the first frame is never walked
    EXPECT_TRUE(scan.record.hasId3v1);
    EXPECT_TRUE(scan.record.scanComplete);
    EXPECT_EQ(scan.record.syncErrors, 0);
}

TEST(Scan, FilesTooShortForAnyFrameFailCleanly) {
    for (const std::size_t size : {1u, 3u, 4u, 5u, 8u, 11u, 127u, 128u, 129u, 600u}) {
        auto bytes = Frames(2);
        bytes.resize(size);
        const auto scan = ScanBytes(bytes);
        EXPECT_EQ(scan.error, kNoHeaderMessage) << size;
        EXPECT_EQ(scan.record.fileSize, static_cast<std::int64_t>(size));
        EXPECT_FALSE(scan.record.hasId3v1) << size;
    }
}

// Free format: bitrate index 0, frames of one length that the distance between two headers
// tells (here 128 kbps at 48 kHz: 384 bytes, some of them padded).
TEST(Scan, FreeFormatStreamIsWalkedAtItsOwnBitrate) {
    FrameShape shape;
    shape.kbps = 0;
    shape.sampleRate = 48000;
    shape.copyright = true;
    const auto bytes = StreamBuilder().junk(100).frames(shape, 8).id3v1("after").data();
    const auto scan = ScanBytes(bytes);
    EXPECT_EQ(scan.error, "");
    EXPECT_EQ(scan.record.freeFormatLength, 384);
    EXPECT_EQ(scan.record.frameCount, 7);
    EXPECT_EQ(scan.record.avgBitrate, 128);
    EXPECT_EQ(scan.record.bitrateHist[0], 7u);
    EXPECT_FALSE(scan.record.isVbr);
    EXPECT_TRUE(scan.record.copyright);
    EXPECT_TRUE(scan.record.lastFrameOk);
    EXPECT_TRUE(CMp3File::IsMpegAudio(test::TempFile(bytes).path()));
}

TEST(Scan, FirstFrameFields) {
    FrameShape shape;
    shape.mode = 1;
    shape.copyright = true;
    shape.original = true;
    shape.emphasis = 1;
    const auto scan = ScanBytes(StreamBuilder().junk(100, 0x55).frames(shape, 10).data());
    EXPECT_EQ(scan.record.audioStart, 100);
    EXPECT_EQ(scan.record.channelMode, 1);
    EXPECT_EQ(scan.record.channels, 2);
    EXPECT_TRUE(scan.record.notMpeg25);
    EXPECT_TRUE(scan.record.copyright);
    EXPECT_TRUE(scan.record.original);
    EXPECT_EQ(scan.record.emphasis, 1);
    EXPECT_EQ(scan.record.frameCount, 9);
}

TEST(Scan, LastFrameTailIsTheTenBytesBeforeTheFinalByte) {
    auto bytes = Frames(10);
    for (std::size_t i = 0; i < 11; ++i) {
        bytes[bytes.size() - 11 + i] = static_cast<std::uint8_t>(i + 1);
    }
    const auto scan = ScanBytes(bytes);
    EXPECT_TRUE(scan.record.lastFrameOk);
    const std::array<std::uint8_t, 10> expected{1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    EXPECT_EQ(scan.record.lastFrameTail, expected);

    bytes.resize(bytes.size() - 100);
    EXPECT_FALSE(ScanBytes(bytes).record.lastFrameOk);
}

TEST(Scan, LastFrameBeforeATagEndsWhereTheTagBegins) {
    auto bytes = Frames(10);
    bytes[bytes.size() - 2] = 0xAB;  // last byte of the tail
    bytes = StreamBuilder().bytes(bytes).id3v1().data();
    const auto scan = ScanBytes(bytes);
    EXPECT_TRUE(scan.record.lastFrameOk);
    EXPECT_EQ(scan.record.lastFrameTail[9], 0xAB);
}

TEST(Scan, FrameLimitStopsTheWalkAndLeavesItIncomplete) {
    const auto bytes = Frames(5000);
    const auto limited = ScanBytes(bytes, true, 1000);
    EXPECT_EQ(limited.record.frameCount, 1000);
    EXPECT_FALSE(limited.record.scanComplete);
    EXPECT_FLOAT_EQ(limited.record.duration, 5000.0f * kFrame * 8 / 128000);

    const auto whole = ScanBytes(bytes, true, -1);
    EXPECT_EQ(whole.record.frameCount, 4999);
    EXPECT_TRUE(whole.record.scanComplete);
    EXPECT_FLOAT_EQ(whole.record.duration, 4999.0f * 1152 / 44100);
    EXPECT_EQ(whole.record.avgBitrate, 128);
    EXPECT_EQ(whole.record.bitrateHist[9], 4999u);
}

TEST(Scan, HeadersOnlyEstimatesTheDurationFromTheFirstFrame) {
    const auto bytes = Frames(5000);
    const auto scan = ScanBytes(bytes, false);
    EXPECT_EQ(scan.result, 1);
    EXPECT_EQ(scan.record.frameCount, 0);
    EXPECT_EQ(scan.record.avgBitrate, 128);
    EXPECT_FLOAT_EQ(scan.record.duration, static_cast<float>(5000 * kFrame * 8 / 1000) / 128);
}

TEST(Scan, JunkBetweenFramesCostsOneSyncError) {
    const auto bytes = StreamBuilder().frames({}, 10).junk(300).frames({}, 10).data();
    const auto scan = ScanBytes(bytes);
    EXPECT_EQ(scan.record.syncErrors, 1);
    // 9 walked frames, the junk counted as a failed frame, then the resynchronised frame:
    // the error is timed at 11 frames.
    EXPECT_EQ(scan.record.syncErrorTimes->at(0), 11u * 1152 * 1000 / 44100);
    EXPECT_EQ(scan.record.syncErrorTimes->at(1), 0u);
    EXPECT_EQ(scan.record.frameCount, 20);
    EXPECT_TRUE(scan.record.scanComplete);
}

TEST(Scan, OnlyTheFirstTwentySyncErrorsAreTimed) {
    StreamBuilder builder;
    builder.frames({}, 6);
    for (int i = 0; i < 21; ++i) {
        builder.junk(300).frames({}, 6);
    }
    const auto scan = ScanBytes(builder.data());
    EXPECT_EQ(scan.record.syncErrors, 21);
    for (std::size_t i = 0; i < 20; ++i) {
        EXPECT_GT(scan.record.syncErrorTimes->at(i), 0u) << i;
    }
    EXPECT_LT(scan.record.syncErrorTimes->at(0), scan.record.syncErrorTimes->at(19));
}

TEST(Scan, SyncErrorTimesUseTheLayersSamplesPerFrame) {
    FrameShape shape;
    shape.layer = 1;
    shape.kbps = 384;
    const auto bytes = StreamBuilder().frames(shape, 10).junk(300).frames(shape, 10).data();
    const auto scan = ScanBytes(bytes);
    EXPECT_EQ(scan.record.syncErrors, 1);
    EXPECT_EQ(scan.record.syncErrorTimes->at(0), 11u * 384 * 1000 / 44100);
    EXPECT_FLOAT_EQ(scan.record.duration, 20.0f * 384 / 44100);
}

TEST(Scan, OtherLayerOrChannelChangeInsideTheStreamIsAResync) {
    FrameShape layer2;
    layer2.layer = 2;
    FrameShape mono;
    mono.mode = 3;
    for (const FrameShape& intruder : {layer2, mono}) {
        const auto bytes = StreamBuilder().frames({}, 10).frame(intruder).frames({}, 10).data();
        const auto scan = ScanBytes(bytes);
        EXPECT_EQ(scan.record.syncErrors, 1);
        EXPECT_EQ(scan.record.frameCount, 20);
    }
}

TEST(Scan, WalkStopsAtTheId3v1Tag) {
    const auto scan = ScanBytes(StreamBuilder().frames({}, 10).id3v1().data());
    EXPECT_EQ(scan.record.frameCount, 9);
    EXPECT_EQ(scan.record.syncErrors, 0);
    EXPECT_TRUE(scan.record.scanComplete);
}

TEST(Scan, TrailingDataWithoutFramesEndsACompleteScan) {
    const auto scan = ScanBytes(StreamBuilder().frames({}, 10).junk(2000, 0x41).data());
    EXPECT_TRUE(scan.record.scanComplete);
    EXPECT_EQ(scan.record.frameCount, 10);  // the junk is tried as one frame
    EXPECT_EQ(scan.record.syncErrors, 0);
}

class StopAt : public CMp3File::sink {
  public:
    explicit StopAt(int calls) : remaining_(calls) {}
    bool progress(Mp3Info&) override { return --remaining_ > 0; }

  private:
    int remaining_;
};

TEST(Scan, SinkThatStopsAtTheFirstCheckpoint) {
    StopAt sink(1);
    const auto scan = ScanBytes(Frames(5000), true, -1, nullptr, &sink);
    EXPECT_EQ(scan.result, 1);
    EXPECT_EQ(scan.record.frameCount, 2000);
    EXPECT_FALSE(scan.record.scanComplete);
}

TEST(Scan, VbrFlagNeedsTwoBitrates) {
    EXPECT_FALSE(ScanBytes(Frames(20)).record.isVbr);

    FrameShape fast;
    fast.kbps = 160;
    StreamBuilder builder;
    for (int i = 0; i < 10; ++i) {
        builder.frame({}).frame(fast);
    }
    const auto scan = ScanBytes(builder.data());
    EXPECT_TRUE(scan.record.isVbr);
    EXPECT_EQ(scan.record.avgBitrate, 145);  // (10 * 160 + 9 * 128) / 19, rounded
}

// A cover in the ID3v2 tag, or an APE tag at the end, is no audio: under a frame budget the
// bitrate and length are those of a complete scan, with an Info header or without one.
TEST(Scan, TagsAreNoAudioUnderABudget) {
    constexpr int kFrames = 400;
    const FrameShape cbr;  // 128 kbps, 44.1 kHz
    const double seconds = kFrames * 1152.0 / 44100.0;
    test::XingShape info;
    info.info = true;
    info.flags = 0x03;  // frames and bytes
    info.frames = kFrames;
    const std::vector<std::uint8_t> infoFrame = test::BuildXingFrame(cbr, info);
    const std::vector<std::uint8_t> audio = StreamBuilder().frames(cbr, kFrames).data();
    info.bytes = static_cast<std::uint32_t>(infoFrame.size() + audio.size());
    const std::vector<std::uint8_t> infoWithBytes = test::BuildXingFrame(cbr, info);
    const struct {
        const char* name;
        std::vector<std::uint8_t> bytes;
    } cases[] = {
        {"no tags", StreamBuilder().bytes(audio).data()},
        {"1.5 MB cover", StreamBuilder().id3v2(1500000).bytes(audio).data()},
        {"cover and ID3v1", StreamBuilder().id3v2(300000).bytes(audio).id3v1().data()},
        {"Info, no tags", StreamBuilder().bytes(infoWithBytes).bytes(audio).data()},
        {"Info and a cover",
         StreamBuilder().id3v2(1500000).bytes(infoWithBytes).bytes(audio).id3v1().data()},
    };
    for (const auto& c : cases) {
        const auto budgeted = ScanBytes(c.bytes, true, 50);
        const auto complete = ScanBytes(c.bytes, true, -1);
        EXPECT_EQ(budgeted.record.avgBitrate, 128) << c.name;
        EXPECT_EQ(complete.record.avgBitrate, 128) << c.name;
        EXPECT_NEAR(budgeted.record.duration, seconds, 0.1) << c.name;
        EXPECT_NEAR(complete.record.duration, seconds, 0.1) << c.name;
    }
}

// An Info header whose counts do not fit the file (a stream cut short, a count from another
// file) never gives a bitrate above the layer's highest.
TEST(Scan, BitrateNeverExceedsTheLayersHighest) {
    const FrameShape cbr;
    test::XingShape info;
    info.info = true;
    info.flags = 0x01;
    info.frames = 3;  // far fewer frames than the file holds
    const auto scan = ScanBytes(
        StreamBuilder().bytes(test::BuildXingFrame(cbr, info)).frames(cbr, 200).data(), true, 2);
    EXPECT_LE(scan.record.avgBitrate, 320);
}

TEST(Scan, Id3v2TagIsSkipped) {
    const auto scan = ScanBytes(StreamBuilder().id3v2(257).frames({}, 10).data());
    EXPECT_TRUE(scan.record.hasId3v2);
    EXPECT_EQ(scan.record.audioStart, 267);
    EXPECT_EQ(scan.record.frameCount, 9);
}

TEST(Scan, Id3v1TrackByte) {
    const struct {
        std::uint8_t byte;
        std::int32_t track;
    } cases[] = {{7, 7}, {0x20, 0}, {0, 0}, {0xF0, -16}};
    for (const auto& c : cases) {
        const auto scan = ScanBytes(StreamBuilder().frames({}, 6).id3v1("T", c.byte, 147).data());
        EXPECT_EQ(scan.record.id3v1Track, c.track) << int{c.byte};
        EXPECT_EQ(scan.record.id3v1Raw[127], 147);
    }
    EXPECT_EQ(ScanBytes(Frames(6)).record.id3v1Raw[127], 255);  // no tag: genre "Unknown"
}

TEST(Scan, MpegTwoLayerTwoLastsAsLongAsItsSamples) {
    FrameShape shape;
    shape.version = test::Version::Mpeg2;
    shape.layer = 2;
    shape.kbps = 64;
    shape.sampleRate = 24000;
    const auto scan = ScanBytes(Frames(101, shape));
    EXPECT_EQ(scan.error, "");
    EXPECT_EQ(scan.record.frameCount, 100);
    EXPECT_FLOAT_EQ(scan.record.duration, 100.0f * 1152 / 24000);
    EXPECT_EQ(scan.record.avgBitrate, 64);
}

TEST(Scan, WholePathIsKept) {
    namespace fs = std::filesystem;
    fs::path dir = fs::temp_directory_path() / "vornik-long-path";
    for (int i = 0; i < 8; ++i) {
        dir /= std::string(50, static_cast<char>('a' + i));
    }
    fs::create_directories(dir);
    const fs::path file = dir / "file.mp3";
    {
        const auto bytes = Frames(6);
        std::ofstream(file, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
    }
    const auto scan = test::ScanPath(file.string());
    EXPECT_GT(file.string().size(), 400u);
    EXPECT_EQ(scan.record.fileName, file.string());
    fs::remove_all(fs::temp_directory_path() / "vornik-long-path");
}

// Sizes and offsets beyond 32 bits, on a sparse file: frames at the start, in the middle and
// before an ID3v1 tag at the end, holes between them.
TEST(Scan, FileOfMoreThanFourGibibytes) {
    const std::int64_t size = (std::int64_t{9} << 29) + 1234;  // 4.5 GiB and a bit
    const test::TempFile file(".mp3");
    {
        std::ofstream out(file.path(), std::ios::binary);
        const auto write = [&out](std::int64_t at, const std::vector<std::uint8_t>& bytes) {
            out.seekp(at);
            out.write(reinterpret_cast<const char*>(bytes.data()),
                      static_cast<std::streamsize>(bytes.size()));
        };
        write(0, Frames(10));
        write(size / 2 + 1000, Frames(10));
        // The end check searches the first half of the last 320 KiB: fill them with frames.
        const auto tail = StreamBuilder().frames({}, 1000).id3v1("Far away").data();
        write(size - static_cast<std::int64_t>(tail.size()), tail);
        ASSERT_TRUE(out.good());
    }
    ASSERT_EQ(std::filesystem::file_size(file.path()), static_cast<std::uintmax_t>(size));

    EXPECT_TRUE(CMp3File::IsMpegAudio(file.path()));
    const auto headers = test::ScanPath(file.path(), false);
    EXPECT_EQ(headers.record.fileSize, size);
    EXPECT_TRUE(headers.record.hasId3v1);
    EXPECT_EQ(headers.record.id3v1Raw[3], 'F');
    EXPECT_TRUE(headers.record.lastFrameOk);
    EXPECT_FLOAT_EQ(headers.record.duration, static_cast<float>(size * 8 / 1000) / 128);

    const auto walked = test::ScanPath(file.path(), true);
    EXPECT_EQ(walked.record.frameCount, 10);  // nine frames and the hole tried once
    EXPECT_TRUE(walked.record.scanComplete);
}

}  // namespace
}  // namespace vornik
