// SPDX-License-Identifier: GPL-3.0-or-later
// What the Lame tag says beyond its fields, on files from lame itself: the options as typed,
// the gapless figures against ffprobe's and mutagen's, lame's own ReplayGain.
#include <gtest/gtest.h>

#include <cmath>
#include <nlohmann/json.hpp>
#include <sstream>

#include "attribute_texts.h"
#include "encoder_support.h"
#include "gapless.h"
#include "lame_settings.h"
#include "replay_gain.h"
#include "scan_helpers.h"

namespace vornik {
namespace {

struct SettingsCase {
    const char* options;
    const char* expected;
    // mutagen's guess where it reads the same tag otherwise: it has no lowpass or -q, and
    // names an ABR file by its preset field.
    const char* mutagen;
};

// lame 3.100 stores --preset extreme and --preset insane as -V 0 and -b 320 do.
const SettingsCase kSettings[] = {
    {"-V 0", "-V 0", "-V 0"},
    {"-V 2", "-V 2", "-V 2"},
    {"-V 5", "-V 5", "-V 5"},
    {"-b 128", "-b 128", "-b 128"},
    {"-b 320", "-b 320", "-b 320"},
    {"--abr 160", "--abr 160", "--preset 160"},
    {"--preset extreme", "-V 0", "-V 0"},
    {"--preset insane", "-b 320", "-b 320"},
    {"-V 4 --lowpass 17", "-V 4 --lowpass 17", "-V 4"},
    {"-V 2 -q 7", "-V 2 -q 7", "-V 2"},
    {"--vbr-old -V 2", "-V 2 --vbr-old", "-V 2 --vbr-old"},
    {"-b 192 -m s", "-b 192 -m s", "-b 192"},
    {"-V 2 -b 128", "-V 2 -b 128", "-V 2"},
};

nlohmann::json Mutagen(const std::string& path) {
    std::string output;
    test::RunCommand("/usr/bin/python3 '" VORNIK_TESTS_DIR "/integration/mutagen_lame.py' '" +
                         path + "' 2>/dev/null",
                     &output);
    return nlohmann::json::parse(output);
}

// ffprobe's "Skip Samples" side data: what to drop at the start (first packet) and the end
// (last packet). FFmpeg adds the 529 samples of the decoder's own delay to both.
struct FfprobeSkips {
    int start = -1;
    int end = -1;
};

FfprobeSkips FfprobeSkipSamples(const std::string& path) {
    std::string output;
    test::RunCommand(
        "ffprobe -v error -show_packets -show_entries "
        "packet_side_data=skip_samples,discard_padding -of compact=p=0:nk=0 '" +
            path + "'",
        &output);
    FfprobeSkips skips;
    std::istringstream lines(output);
    std::string line;
    bool first = true;
    while (std::getline(lines, line)) {
        const auto skip = line.find("skip_samples=");
        const auto discard = line.find("discard_padding=");
        if (skip == std::string::npos || discard == std::string::npos) {
            continue;
        }
        if (first) {
            skips.start = std::atoi(line.c_str() + skip + 13);
            first = false;
        }
        skips.end = std::atoi(line.c_str() + discard + 16);
    }
    return skips;
}

class LameFigures : public testing::TestWithParam<SettingsCase> {};

TEST_P(LameFigures, SettingsAndGaplessAgreeWithPeers) {
    const SettingsCase& c = GetParam();
    const test::TempDir dir;
    test::WriteTestSignal(dir.file("in.wav"), 44100, 2, 5.0);
    const std::string mp3 = dir.file("out.mp3");
    ASSERT_EQ(test::RunCommand(std::string("lame --quiet ") + c.options + " '" +
                               dir.file("in.wav") + "' '" + mp3 + "'"),
              0);
    const auto scan = test::ScanPath(mp3);
    const Mp3Info& r = scan.record;
    EXPECT_EQ(LameSettingsText(r), c.expected);
    const nlohmann::json peer = Mutagen(mp3);
    EXPECT_EQ(peer["encoder_settings"], c.mutagen);

    const GaplessFigures gapless = GaplessOf(r);
    ASSERT_TRUE(gapless.known);
    EXPECT_EQ(gapless.delay, peer["encoder_delay_start"].get<int>());
    EXPECT_EQ(gapless.padding, peer["encoder_padding_end"].get<int>());
    const FfprobeSkips skips = FfprobeSkipSamples(mp3);
    EXPECT_EQ(gapless.delay + 529, skips.start);
    EXPECT_EQ(gapless.padding - 529, skips.end);
    // The signal is 5 s long; lame keeps its exact sample count.
    EXPECT_EQ(gapless.samples, 5 * 44100);
    EXPECT_NEAR(static_cast<double>(gapless.samples) / 44100, peer["length"].get<double>(), 1e-3);

    AttributeTexts texts;
    ComputeAttributeTexts(texts, r, false);
    EXPECT_EQ(texts[kSlotExactLength], "00:00:05.000");
    EXPECT_EQ(texts[kSlotEncoderDelay], std::to_string(peer["encoder_delay_start"].get<int>()));

    // lame computes the track gain as it encodes; mutagen reads the same field.
    const ReplayGainReadings gains = ReplayGainOf(r);
    ASSERT_TRUE(gains.trackGain.present);
    EXPECT_NEAR(gains.trackGain.value, peer["track_gain"].get<double>(), 1e-6);
    EXPECT_EQ(gains.trackGain.source, "Lame tag, set automatically");
    EXPECT_FALSE(gains.albumGain.present);
}

INSTANTIATE_TEST_SUITE_P(Options, LameFigures, testing::ValuesIn(kSettings),
                         [](const testing::TestParamInfo<SettingsCase>& info) {
                             std::string name;
                             for (const char ch : std::string(info.param.options)) {
                                 name += std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
                             }
                             return name;
                         });

// With --replaygain-accurate lame decodes what it wrote and stores the peak as well.
TEST(LameFigures, AccurateReplayGainStoresThePeak) {
    const test::TempDir dir;
    test::WriteTestSignal(dir.file("in.wav"), 44100, 2, 3.0);
    const std::string mp3 = dir.file("out.mp3");
    ASSERT_EQ(test::RunCommand("lame --quiet --replaygain-accurate -b 128 '" + dir.file("in.wav") +
                               "' '" + mp3 + "'"),
              0);
    const auto scan = test::ScanPath(mp3);
    const ReplayGainReadings gains = ReplayGainOf(scan.record);
    const nlohmann::json peer = Mutagen(mp3);
    ASSERT_TRUE(gains.trackPeak.present);
    EXPECT_NEAR(gains.trackPeak.value, peer["track_peak"].get<double>(), 1e-6);
    EXPECT_NEAR(gains.trackGain.value, peer["track_gain"].get<double>(), 1e-6);
}

}  // namespace
}  // namespace vornik
