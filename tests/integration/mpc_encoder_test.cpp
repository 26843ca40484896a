// SPDX-License-Identifier: GPL-3.0-or-later
// Version-8 files from mpcenc, read back and checked against what mpcenc was told.
#include <gtest/gtest.h>

#include <filesystem>

#include "attribute_texts.h"
#include "encoder_support.h"
#include "mpc_file.h"

namespace vornik {
namespace {

struct MpcencCase {
    const char* name;
    const char* options;
    int sampleRate;
    int channels;
    int profile;      // 0 Thumb, 1 Radio, 2 Standard, 3 Xtreme, 4 Insane
    int channelMode;  // 1 with mid/side stereo, mpcenc's default, 0 without
};

const MpcencCase kCases[] = {
    {"standard_44100", "--standard", 44100, 2, 2, 1},
    {"radio_44100", "--radio", 44100, 2, 1, 1},
    {"standard_48000", "--standard", 48000, 2, 2, 1},
    {"radio_48000", "--radio", 48000, 2, 1, 1},
    {"thumb_32000", "--thumb", 32000, 2, 0, 1},
    {"insane_37800", "--insane", 37800, 2, 4, 1},
    {"extreme_no_mid_side", "--extreme --ms 0", 44100, 2, 3, 0},
    {"quality_7", "--quality 7", 44100, 2, 4, 1},
};

void PrintTo(const MpcencCase& c, std::ostream* out) {
    *out << c.name;
}

class MpcencFiles : public testing::TestWithParam<MpcencCase> {};

TEST_P(MpcencFiles, AgreeWithTheEncoder) {
    const MpcencCase& c = GetParam();
    const test::TempDir dir;
    const std::string wav = dir.file("in.wav");
    const std::string out = dir.file(std::string(c.name) + ".mpc");
    // Whole seconds, so that the stream's sample count is a whole number of milliseconds.
    constexpr int kSeconds = 3;
    test::WriteTestSignal(wav, c.sampleRate, c.channels, kSeconds);
    const std::string command =
        std::string("mpcenc --silent ") + c.options + " '" + wav + "' '" + out + "'";
    std::string log;
    ASSERT_EQ(test::RunCommand(command, &log), 0) << command << "\n" << log;

    MpcFile mpc;
    ASSERT_TRUE(mpc.Open(out));
    Mp3Info r{};
    ASSERT_EQ(mpc.FillRecord(r), 1);
    const auto fileSize = static_cast<std::int64_t>(std::filesystem::file_size(out));
    const std::int64_t samples = std::int64_t{kSeconds} * c.sampleRate;

    EXPECT_EQ(r.mpcStreamVersion, 8);
    EXPECT_EQ(r.mpcProfile, c.profile);
    EXPECT_EQ(r.sampleRate, c.sampleRate);
    EXPECT_EQ(r.channelMode, c.channelMode);
    // mpcenc records the input's exact length: no encoder delay or padding in the count.
    EXPECT_EQ(r.duration, static_cast<float>(kSeconds));
    EXPECT_EQ(r.frameCount, (samples + 1151) / 1152);
    EXPECT_EQ(r.fileSize, fileSize);
    EXPECT_EQ(r.avgBitrate, fileSize * 8 / (kSeconds * 1000));
    // A sanity bound on the encoder side: every profile lands between 32 and 400 kbps.
    EXPECT_GT(r.avgBitrate, 32);
    EXPECT_LT(r.avgBitrate, 400);
    EXPECT_TRUE(r.isVbr);
    EXPECT_TRUE(r.scanComplete);
}

INSTANTIATE_TEST_SUITE_P(Mpcenc, MpcencFiles, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<MpcencCase>& info) {
                             return std::string(info.param.name);
                         });

// mpcenc writes the APEv2 tag it is given at the end of the file, where mutagen reads it: the
// APE columns show it, and the bitrate is of the stream without it.
TEST(MpcencTags, ApeTagIsShownAndIsNoAudio) {
    const test::TempDir dir;
    const std::string wav = dir.file("in.wav");
    const std::string out = dir.file("tagged.mpc");
    test::WriteTestSignal(wav, 44100, 2, 3);
    ASSERT_EQ(test::RunCommand("mpcenc --silent --tag Title='Song t\xc3\xaftle' --tag "
                               "Artist='Some One' --tag Comment=" +
                               std::string(3000, 'c') + " '" + wav + "' '" + out + "'"),
              0);
    std::string peer;
    ASSERT_EQ(test::RunCommand("/usr/bin/python3 -c \"import mutagen, sys; "
                               "t = mutagen.File(sys.argv[1]).tags; "
                               "print(t['Title'], t['Artist'], sep='|', end='')\" '" +
                                   out + "'",
                               &peer),
              0);

    MpcFile mpc;
    ASSERT_TRUE(mpc.Open(out));
    Mp3Info r{};
    mpc.FillRecord(r);
    EXPECT_EQ(r.apeVersion, 2000);
    EXPECT_EQ(r.apeFields->title + "|" + r.apeFields->artist, peer);
    const auto fileSize = static_cast<std::int64_t>(std::filesystem::file_size(out));
    EXPECT_LT(r.endTagsStart, fileSize - 3000);
    EXPECT_EQ(r.avgBitrate, r.endTagsStart * 8 / 3000);

    AttributeTexts texts;
    ComputeAttributeTexts(texts, r, false);
    EXPECT_EQ(texts[kSlotApeFields], r.apeFields->title);
    EXPECT_EQ(texts[kSlotTags], "APEv2");
}

}  // namespace
}  // namespace vornik
