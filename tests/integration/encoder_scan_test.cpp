// SPDX-License-Identifier: GPL-3.0-or-later
// Files from lame and twolame, scanned whole, checked against what the encoder was told and
// against ffprobe's packet count.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <iterator>
#include <regex>
#include <utility>
#include <vector>

#include "encoder_support.h"
#include "frame_header.h"
#include "scan_helpers.h"

namespace vornik {
namespace {

struct EncoderCase {
    const char* name;
    int wavRate;
    int wavChannels;
    const char* command;  // %s: input, then output
    bool tagFrame;        // the encoder puts an Info/Xing frame first, which ffprobe skips
    int layer;
    int sampleRate;
    bool mpeg1;
    bool notMpeg25;
    int channelMode;  // -1: don't care
    bool vbr;
    int kbps;  // the constant bitrate, 0 for VBR
};

const EncoderCase kCases[] = {
    {"lame_cbr", 44100, 2, "lame --quiet -b 128 %s %s", true, 3, 44100, true, true, 1, false, 128},
    {"lame_vbr", 44100, 2, "lame --quiet -V 2 %s %s", true, 3, 44100, true, true, 1, true, 0},
    {"lame_mono", 44100, 1, "lame --quiet -m m -b 64 %s %s", true, 3, 44100, true, true, 3, false,
     64},
    {"lame_forced_stereo", 44100, 2, "lame --quiet -m s -b 160 %s %s", true, 3, 44100, true, true,
     0, false, 160},
    {"lame_mpeg2", 22050, 2, "lame --quiet -b 64 %s %s", true, 3, 22050, false, true, -1, false,
     64},
    // A 156-byte frame cannot hold lame's tag, so lame writes none.
    {"lame_mpeg25", 11025, 1, "lame --quiet -b 24 %s %s", false, 3, 11025, false, false, 3, false,
     24},
    {"lame_crc", 44100, 2, "lame --quiet -p -b 192 %s %s", true, 3, 44100, true, true, -1, false,
     192},
    {"lame_no_tag", 48000, 2, "lame --quiet -t -b 256 %s %s", false, 3, 48000, true, true, -1,
     false, 256},
    {"twolame_mpeg1", 44100, 2, "twolame --quiet -b 192 %s %s", false, 2, 44100, true, true, -1,
     false, 192},
    {"twolame_mpeg2", 22050, 2, "twolame --quiet -b 96 %s %s", false, 2, 22050, false, true, -1,
     false, 96},
    // Layer II CRCs cover the allocation and scfsi, whose layout follows the table in use.
    {"twolame_crc_joint", 44100, 2, "twolame --quiet -p -m j -b 128 %s %s", false, 2, 44100, true,
     true, 1, false, 128},
    {"twolame_crc_mono_48k", 48000, 1, "twolame --quiet -p -m m -b 64 %s %s", false, 2, 48000, true,
     true, 3, false, 64},
    {"twolame_crc_32k", 32000, 2, "twolame --quiet -p -b 64 %s %s", false, 2, 32000, true, true, -1,
     false, 64},
    {"twolame_crc_mpeg2", 22050, 2, "twolame --quiet -p -b 96 %s %s", false, 2, 22050, false, true,
     -1, false, 96},
    // Free format: a bitrate outside the table, each frame's length found from the stream.
    {"lame_free_400", 44100, 2, "lame --quiet --freeformat -b 400 %s %s", true, 3, 44100, true,
     true, -1, false, 400},
    {"lame_free_mono_56", 32000, 1, "lame --quiet --freeformat -m m -b 56 %s %s", true, 3, 32000,
     true, true, 3, false, 56},
};

// mpg123 decodes the free-format streams that ffprobe cannot: the bitrate it names ("cbr400")
// and the index of the last frame it decoded, which leaves out the Info frame as the walk
// leaves out the first; {-1, -1} when it cannot be run.
std::pair<int, int> Mpg123KbpsAndLastFrame(const std::string& path) {
    std::string output;
    if (test::RunCommand("mpg123 -t -v '" + path + "' 2>&1 | tr '\\r' '\\n'", &output) != 0) {
        return {-1, -1};
    }
    std::smatch kbps;
    std::smatch last;
    if (!std::regex_search(output, kbps, std::regex(" cbr([0-9]+) ")) ||
        !std::regex_search(output, last, std::regex("> ([0-9]+)\\+000 "))) {
        return {-1, -1};
    }
    return {std::stoi(kbps[1]), std::stoi(last[1])};
}

void PrintTo(const EncoderCase& c, std::ostream* out) {
    *out << c.name;
}

class EncoderScan : public testing::TestWithParam<EncoderCase> {};

TEST_P(EncoderScan, AgreesWithTheEncoderAndFfprobe) {
    const EncoderCase& c = GetParam();
    const test::TempDir dir;
    const std::string wav = dir.file("in.wav");
    const std::string out = dir.file(std::string(c.name) + (c.layer == 2 ? ".mp2" : ".mp3"));
    constexpr double kSeconds = 6.0;
    test::WriteTestSignal(wav, c.wavRate, c.wavChannels, kSeconds);
    const std::string command = test::EncoderCommand(c.command, wav, out);
    std::string log;
    ASSERT_EQ(test::RunCommand(command, &log), 0) << command << "\n" << log;

    const auto scan = test::ScanPath(out);
    ASSERT_EQ(scan.error, "");
    const Mp3Info& r = scan.record;
    EXPECT_EQ(r.layer, c.layer);
    EXPECT_EQ(r.sampleRate, c.sampleRate);
    EXPECT_EQ(r.mpeg1, c.mpeg1);
    EXPECT_EQ(r.notMpeg25, c.notMpeg25);
    if (c.channelMode >= 0) {
        EXPECT_EQ(r.channelMode, c.channelMode);
    }
    EXPECT_EQ(r.isVbr, c.vbr);
    if (c.kbps != 0) {
        EXPECT_EQ(r.avgBitrate, c.kbps);
    }
    EXPECT_EQ(r.syncErrors, 0);
    const bool protectedFrames = std::string(c.command).find(" -p ") != std::string::npos;
    EXPECT_EQ(r.crcFrames, protectedFrames ? r.frameCount : 0);
    EXPECT_EQ(r.crcErrors, 0);
    EXPECT_TRUE(r.scanComplete);
    EXPECT_TRUE(r.lastFrameOk);

    if (std::string(c.command).find("--freeformat") != std::string::npos) {
        EXPECT_GT(r.freeFormatLength, 0);
        EXPECT_EQ(Mpg123KbpsAndLastFrame(out), std::make_pair(c.kbps, r.frameCount));
    } else {
        // The first frame is never walked; ffprobe also skips an Info/Xing frame.
        const int packets = test::FfprobePacketCount(out);
        EXPECT_EQ(r.frameCount + 1, packets + (c.tagFrame ? 1 : 0));
    }

    // Play length of the walked frames against the signal, allowing for encoder delay and
    // padding of a few frames.
    EXPECT_NEAR(r.duration, kSeconds, 0.2);
    EXPECT_NEAR(
        r.duration,
        static_cast<double>(r.frameCount) * SamplesPerFrame(c.layer, c.mpeg1) / c.sampleRate, 1e-3);

    const std::uint32_t blocks = r.longBlocks + r.shortBlocks + r.mixedBlocks;
    if (c.layer == 3) {
        const int granules = c.mpeg1 ? 2 : 1;
        EXPECT_EQ(blocks, static_cast<std::uint32_t>(r.frameCount * granules * r.channels));
        EXPECT_EQ(r.mixedBlocks, 0u);  // lame never writes mixed blocks
        EXPECT_GT(r.longBlocks, r.shortBlocks);
        EXPECT_LE(r.maxMainDataBegin, c.mpeg1 ? 511 : 255);
    } else {
        EXPECT_EQ(blocks, 0u);
        EXPECT_EQ(r.maxMainDataBegin, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Encoders, EncoderScan, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<EncoderCase>& info) {
                             return std::string(info.param.name);
                         });

// lame switches to short blocks on the clicks of the test signal.
TEST(EncoderScan, LameUsesShortBlocksOnTransients) {
    const test::TempDir dir;
    test::WriteTestSignal(dir.file("in.wav"), 44100, 2, 4.0);
    ASSERT_EQ(test::RunCommand("lame --quiet -V 2 '" + dir.file("in.wav") + "' '" +
                               dir.file("out.mp3") + "'"),
              0);
    FrameSeries series;
    const auto scan = test::ScanPath(dir.file("out.mp3"), true, -1, &series);
    EXPECT_GT(scan.record.shortBlocks, 0u);
    EXPECT_GT(scan.record.maxMainDataBegin, 0);
    ASSERT_EQ(series.blockKinds.size(), static_cast<std::size_t>(scan.record.frameCount));
    EXPECT_NE(std::count(series.blockKinds.begin(), series.blockKinds.end(), 1u), 0);
}

// One flipped bit in the side information of one frame of a lame -p file: that frame alone
// fails its CRC, and the error is placed at its time.
TEST(EncoderScan, FlippedSideInformationFailsOneCrc) {
    const test::TempDir dir;
    const std::string mp3 = dir.file("out.mp3");
    test::WriteTestSignal(dir.file("in.wav"), 44100, 2, 4.0);
    ASSERT_EQ(test::RunCommand("lame --quiet -p -b 128 '" + dir.file("in.wav") + "' '" + mp3 + "'"),
              0);
    FrameSeries series;
    const auto clean = test::ScanPath(mp3, true, -1, &series);
    ASSERT_EQ(clean.record.crcErrors, 0);
    ASSERT_GT(series.framePositions.size(), 100u);

    constexpr std::size_t kWalkedIndex = 99;  // the file's frame 100
    std::vector<char> bytes;
    {
        std::ifstream in(mp3, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), {});
    }
    // Byte 10 of the frame is in the first granule's fields, past header, CRC word and the
    // main_data_begin and scfsi bits.
    const auto position = static_cast<std::size_t>(series.framePositions[kWalkedIndex]) + 10;
    bytes[position] = static_cast<char>(bytes[position] ^ 0x10);
    std::ofstream(mp3, std::ios::binary)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));

    const auto flipped = test::ScanPath(mp3);
    EXPECT_EQ(flipped.record.crcFrames, clean.record.crcFrames);
    EXPECT_EQ(flipped.record.crcErrors, 1);
    EXPECT_EQ(flipped.record.crcErrorTimes->at(0), 100u * 1152 * 1000 / 44100);
    EXPECT_EQ(flipped.record.syncErrors, 0);
}

}  // namespace
}  // namespace vornik
