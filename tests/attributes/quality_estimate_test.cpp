// SPDX-License-Identifier: GPL-3.0-or-later
#include "quality_estimate.h"

#include <gtest/gtest.h>

#include <string>

namespace vornik {
namespace {

TEST(EncoderQualityGroup, GroupsByText) {
    const std::pair<const char*, int> cases[] = {
        // One text for each rule that the thresholds below do not use.
        {"FhG (l3enc)", 1},
        {"Lame 3.88 (beta)", 1},
        {"Lame 3.100", 1},
        {"Gogo (after 3.0)", 1},
        {"dist10 encoder or other encoder", -1},
        {"QDesign (fast mode)", -1},
        {"Shine", -1},
        {"Xing (new)", -1},
        {"RCA  1.23", 3},
        // Everything else; FFmpeg's text is checked before any rule could see what its version
        // part holds; the texts are case-sensitive; the first rule that matches wins.
        {"QDesign", 0},
        {"Gogo (before 3.0)", 0},
        {"Lame 3.70 (beta)", 0},
        {"FFmpeg (Lame 3.99)", 0},
        {"LAME 3.90", 0},
        {"ffmpeg (FhG)", 1},
        {"Xing FhG", 1},
        {"Thomson mppenc", 3},
    };
    for (const auto& [encoder, group] : cases) {
        EXPECT_EQ(EncoderQualityGroup(encoder), group) << encoder;
    }
}

struct Case {
    const char* encoder;
    const char* stereoMode;
    int kbps;
    bool vbr = false;
    bool monoQuality = false;
    int layer = 3;
    bool mpeg1 = true;
};

int Estimate(const Case& c) {
    AttributeTexts texts;
    texts[kSlotEncoder] = c.encoder;
    texts[kSlotStereoMode] = c.stereoMode;
    Mp3Info r{};
    r.avgBitrate = c.kbps;
    r.isVbr = c.vbr;
    r.layer = c.layer;
    r.mpeg1 = c.mpeg1;
    return EstimateQuality(texts, r, c.monoQuality);
}

// For each group and table row: the "good above" and "not bad above" thresholds, met exactly
// (lower class) and passed by one kbps, in joint stereo CBR where no factor applies.
TEST(EstimateQuality, ThresholdsAreStrict) {
    const struct {
        const char* encoder;
        int layer;
        bool mpeg1;
        int goodAbove;
        int okAbove;
    } rows[] = {
        {"Lame 3.90", 3, true, 128, 96},
        {"Unknown", 3, true, 160, 112},
        {"Blade", 3, true, 192, 128},
        {"Thomson mp3PRO Encoder", 3, true, 96, 64},
        // An MPEG Plus record has no MPEG layer: it takes the MPEG-1 Layer III row.
        {"mppenc", 0, false, 112, 80},
        {"mppenc", 1, true, 112, 80},
        {"Unknown", 3, false, 96, 64},
        {"Unknown", 2, true, 192, 128},
        {"Unknown", 1, true, 320, 256},
        {"Unknown", 1, false, 160, 128},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message()
                     << row.encoder << ", layer " << row.layer << ", MPEG-1 " << row.mpeg1);
        const auto at = [&row](int kbps) {
            return Estimate(
                {row.encoder, "joint stereo", kbps, false, false, row.layer, row.mpeg1});
        };
        EXPECT_EQ(at(row.goodAbove + 1), 2);
        EXPECT_EQ(at(row.goodAbove), 1);
        EXPECT_EQ(at(row.okAbove + 1), 1);
        EXPECT_EQ(at(row.okAbove), 0);
    }
}

TEST(EstimateQuality, Factors) {
    const struct {
        Case c;
        int quality;
    } cases[] = {
        // Stereo counts at 0.9.
        {{"FhG (l3enc)", "stereo", 143}, 2},  // 128.7
        {{"FhG (l3enc)", "stereo", 142}, 1},  // 127.8
        // Dual channel has no factor, and only the exact text "stereo" is plain stereo.
        {{"Lame (old)", "dual channel", 161}, 2},
        {{"Lame (old)", "Stereo", 161}, 2},
        // VBR counts at 1.2.
        {{"Lame 3.90", "joint stereo", 107, true}, 2},  // 128.4
        {{"Lame 3.90", "joint stereo", 106, true}, 1},  // 127.2
        // Mono counts at 1.85 only with the flag, and the flag is for mono only.
        {{"Unknown", "mono", 64}, 0},
        {{"Unknown", "mono", 87, false, true}, 2},  // 160.95
        {{"Unknown", "mono", 86, false, true}, 1},  // 159.1
        {{"Unknown", "joint stereo", 112, false, true}, 0},
        // The factors multiply: mono VBR with the flag 2.22, stereo VBR 1.08.
        {{"Unknown", "mono", 73, true, true}, 2},  // 162.06
        {{"Unknown", "mono", 72, true, true}, 1},  // 159.84
        {{"Unknown", "stereo", 149, true}, 2},     // 160.92
        {{"Unknown", "stereo", 148, true}, 1},     // 159.84
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Estimate(c.c), c.quality)
            << c.c.encoder << ", " << c.c.stereoMode << ", " << c.c.kbps << " " << c.c.vbr;
    }
}

}  // namespace
}  // namespace vornik
