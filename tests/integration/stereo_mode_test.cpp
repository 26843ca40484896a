// SPDX-License-Identifier: GPL-3.0-or-later
// The stereo mode of files whose Xing/Info frame and audio frames may disagree, against
// mediainfo's reading of the same files.
#include <gtest/gtest.h>

#include "encoder_support.h"
#include "scan_helpers.h"

namespace vornik {
namespace {

constexpr int kJointStereo = 1;

struct StereoCase {
    const char* name;
    int channels;
    const char* command;  // %s: input, then output
};

// FFmpeg writes its Info frame as plain stereo whatever mode the audio frames use.
const StereoCase kStereoCases[] = {
    {"ffmpeg_cbr", 2, "ffmpeg -loglevel error -y -i %s -c:a libmp3lame -b:a 128k %s"},
    {"ffmpeg_vbr", 2, "ffmpeg -loglevel error -y -i %s -c:a libmp3lame -q:a 4 %s"},
    {"ffmpeg_plain_stereo", 2,
     "ffmpeg -loglevel error -y -i %s -c:a libmp3lame -b:a 160k -joint_stereo 0 %s"},
    {"ffmpeg_mono", 1, "ffmpeg -loglevel error -y -i %s -c:a libmp3lame -b:a 64k %s"},
    {"lame_joint", 2, "lame --quiet -V 2 %s %s"},
    {"lame_forced_stereo", 2, "lame --quiet -m s -b 160 %s %s"},
};

void PrintTo(const StereoCase& c, std::ostream* out) {
    *out << c.name;
}

// mediainfo's "Joint stereo", or an empty text for any other mode.
std::string MediainfoMode(const std::string& path) {
    std::string output;
    test::RunCommand("mediainfo '--Inform=Audio;%Format_Settings_Mode%' '" + path + "'", &output);
    while (!output.empty() && (output.back() == '\n' || output.back() == '\r')) {
        output.pop_back();
    }
    return output;
}

class StereoMode : public testing::TestWithParam<StereoCase> {};

TEST_P(StereoMode, AgreesWithMediainfo) {
    const StereoCase& c = GetParam();
    const test::TempDir dir;
    const std::string wav = dir.file("in.wav");
    const std::string out = dir.file(std::string(c.name) + ".mp3");
    test::WriteTestSignal(wav, 44100, c.channels, 3.0);
    const std::string command = test::EncoderCommand(c.command, wav, out);
    std::string log;
    ASSERT_EQ(test::RunCommand(command, &log), 0) << command << "\n" << log;

    const auto scan = test::ScanPath(out);
    ASSERT_EQ(scan.error, "");
    ASSERT_TRUE(scan.record.hasXing);
    const bool joint = MediainfoMode(out) == "Joint stereo";
    EXPECT_EQ(scan.record.channelMode == kJointStereo, joint)
        << "channelMode " << scan.record.channelMode;
}

INSTANTIATE_TEST_SUITE_P(Encoders, StereoMode, testing::ValuesIn(kStereoCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vornik
