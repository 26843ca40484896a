#include "quality_estimate.h"

#include <gtest/gtest.h>

#include <string>

namespace vornik {
namespace {

TEST(EncoderQualityGroup, GroupsByText) {
    const struct {
        const char* encoder;
        int group;
    } cases[] = {
        // Good encoders.
        {"FhG (l3enc)", 1},
        {"FhG (fastenc, medium or high quality mode)", 1},
        {"FhG (ACM or producer pro)", 1},
        {"Lame 3.80", 1},
        {"Lame 3.88 (beta)", 1},
        {"Lame 3.90 (alpha)", 1},
        {"Lame 3.99", 1},
        {"Lame 3.100", 1},
        {"Gogo (after 3.0)", 1},
        // Poor encoders.
        {"Blade", -1},
        {"dist10 encoder or other encoder", -1},
        {"QDesign (fast mode)", -1},
        {"Shine", -1},
        {"Xing (very old)", -1},
        {"Xing (new)", -1},
        {"Xing (old)", -1},
        // mp3PRO.
        {"Thomson mp3PRO Encoder", 3},
        {"Thomson 1.1.1 ", 3},
        {"RCA  1.23", 3},
        {"mppenc", 2},
        // Everything else.
        {"QDesign", 0},
        {"Plugger", 0},
        {"Gogo (before 3.0)", 0},
        {"Lame (old)", 0},
        {"Lame (old) or m3e", 0},
        {"Lame 3.70 (beta)", 0},
        {"Lame", 0},
        {"Unknown", 0},
        {"", 0},
        {"FFmpeg (Lavc59.37)", 0},
        {"FFmpeg (Lavf58.76.100)", 0},
        // FFmpeg's text is checked before any rule could see what its version part holds.
        {"FFmpeg (LavcFhG)", 0},
        {"FFmpeg (LavfXing)", 0},
        {"FFmpeg (Lame 3.99)", 0},
        // Case-sensitive.
        {"fhg", 0},
        {"LAME 3.90", 0},
        {"xing", 0},
        {"MPPENC", 0},
        {"ffmpeg (FhG)", 1},
        // First group wins.
        {"FhG Xing", 1},
        {"Xing FhG", 1},
        {"Blade RCA", -1},
        {"Thomson mppenc", 3},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(EncoderQualityGroup(c.encoder), c.group) << c.encoder;
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
    r.notMpeg25 = true;
    return EstimateQuality(texts, r, c.monoQuality);
}

std::string Describe(const Case& c) {
    return std::string(c.encoder) + ", " + c.stereoMode + ", " + std::to_string(c.kbps) + " kbps" +
           (c.vbr ? ", VBR" : "") + (c.monoQuality ? ", mono flag" : "") + ", layer " +
           std::to_string(c.layer) + (c.mpeg1 ? " MPEG-1" : " MPEG-2");
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
        {"mppenc", 3, true, 112, 80},
        {"Lame 3.90", 3, false, 80, 56},
        {"Unknown", 3, false, 96, 64},
        {"Blade", 3, false, 112, 80},
        {"Thomson mp3PRO Encoder", 3, false, 56, 40},
        {"Lame 3.90", 2, true, 160, 112},
        {"Unknown", 2, true, 192, 128},
        {"Blade", 2, true, 224, 160},
        {"Thomson mp3PRO Encoder", 2, true, 112, 80},
        {"Unknown", 1, true, 320, 256},
        {"Unknown", 2, false, 96, 64},
        {"Unknown", 1, false, 160, 128},
    };
    for (const auto& row : rows) {
        const auto at = [&row](int kbps) {
            return Estimate(
                {row.encoder, "joint stereo", kbps, false, false, row.layer, row.mpeg1});
        };
        const std::string where = std::string(row.encoder) + ", layer " +
                                  std::to_string(row.layer) + (row.mpeg1 ? " MPEG-1" : " MPEG-2");
        EXPECT_EQ(at(row.goodAbove + 1), 2) << where;
        EXPECT_EQ(at(row.goodAbove), 1) << where;
        EXPECT_EQ(at(row.okAbove + 1), 1) << where;
        EXPECT_EQ(at(row.okAbove), 0) << where;
    }
}

TEST(EstimateQuality, Factors) {
    const struct {
        Case c;
        int quality;
    } cases[] = {
        // Stereo counts at 0.9: 115.2 is above 96, not above 128.
        {{"FhG (l3enc)", "stereo", 128}, 1},
        {{"FhG (l3enc)", "stereo", 160}, 2},  // 144
        {{"FhG (l3enc)", "stereo", 143}, 2},  // 128.7
        {{"FhG (l3enc)", "stereo", 142}, 1},  // 127.8
        {{"FhG (l3enc)", "stereo", 107}, 1},  // 96.3
        {{"FhG (l3enc)", "stereo", 106}, 0},  // 95.4
        // Joint stereo and dual channel have no factor.
        {{"Lame (old)", "joint stereo", 128}, 1},
        {{"Blade", "joint stereo", 128}, 0},
        {{"Lame (old)", "dual channel", 161}, 2},
        {{"Lame (old)", "dual channel", 113}, 1},
        // Only the exact text "stereo" is plain stereo.
        {{"Lame (old)", "Stereo", 161}, 2},
        // VBR counts at 1.2.
        {{"Lame 3.90", "joint stereo", 128, true}, 2},  // 153.6
        {{"Lame 3.90", "joint stereo", 107, true}, 2},  // 128.4
        {{"Lame 3.90", "joint stereo", 106, true}, 1},  // 127.2
        {{"Lame 3.90", "joint stereo", 81, true}, 1},   // 97.2
        {{"Lame 3.90", "joint stereo", 80, true}, 0},   // 96, not above 96
        // Mono counts at 1.85 only with the flag.
        {{"Unknown", "mono", 64}, 0},
        {{"Unknown", "mono", 64, false, true}, 1},  // 118.4
        {{"Unknown", "mono", 87, false, true}, 2},  // 160.95
        {{"Unknown", "mono", 86, false, true}, 1},  // 159.1
        {{"Unknown", "mono", 60, false, true}, 0},  // 111
        {{"Unknown", "mono", 113, false, false}, 1},
        {{"Unknown", "joint stereo", 112, false, true}, 0},
        {{"Unknown", "stereo", 124, false, true}, 0},  // 111.6: the flag is for mono only
        // The factors multiply: mono VBR with the flag 2.22, stereo VBR 1.08.
        {{"Unknown", "mono", 73, true, true}, 2},  // 162.06
        {{"Unknown", "mono", 72, true, true}, 1},  // 159.84
        {{"Unknown", "mono", 51, true, true}, 1},  // 113.22
        {{"Unknown", "mono", 50, true, true}, 0},  // 111
        {{"Unknown", "stereo", 149, true}, 2},     // 160.92
        {{"Unknown", "stereo", 148, true}, 1},     // 159.84
        {{"Unknown", "stereo", 104, true}, 1},     // 112.32
        {{"Unknown", "stereo", 103, true}, 0},     // 111.24
        // Group 3: 96 is not above 96.
        {{"Thomson mp3PRO Encoder", "joint stereo", 96}, 1},
        {{"Thomson mp3PRO Encoder", "joint stereo", 64}, 0},
        {{"Unknown", "joint stereo", 0}, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Estimate(c.c), c.quality) << Describe(c.c);
    }
}

TEST(EstimateQuality, EncoderGroupMovesTheThreshold) {
    // 129 kbps joint stereo CBR, MPEG-1 Layer III.
    const struct {
        const char* encoder;
        int quality;
    } cases[] = {
        {"Lame 3.100", 2},  // above 128
        {"Lame 3.99", 2},        {"FhG (fastenc)", 2},
        {"Gogo (after 3.0)", 2}, {"FFmpeg (Lavc59.37)", 1},  // above 112, not above 160
        {"Lame (old)", 1},       {"Xing (new)", 1},          // above 128, not above 192
        {"mppenc", 2},                                       // above 112
        {"RCA  1.23", 2},                                    // above 96
        {"Lame 3.90 Xing", 2},                               // the good group is decided first
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Estimate({c.encoder, "joint stereo", 129}), c.quality) << c.encoder;
    }
    // 97 kbps separates good encoders (ok) from the others (bad).
    EXPECT_EQ(Estimate({"Lame 3.100", "joint stereo", 97}), 1);
    EXPECT_EQ(Estimate({"FFmpeg (Lavf58.76.100)", "joint stereo", 97}), 0);
}

TEST(EstimateQuality, MpegPlusUsesTheMpeg1LayerThreeRow) {
    // An MPEG Plus record has no MPEG layer; a wrong row would give thresholds of another row
    // or none at all.
    const Case cases[] = {
        {"mppenc", "joint stereo", 113, false, false, 0, false},
        {"mppenc", "joint stereo", 113, false, false, 2, false},
        {"mppenc", "joint stereo", 113, false, false, 1, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Estimate(c), 2) << Describe(c);
        Case at = c;
        at.kbps = 112;
        EXPECT_EQ(Estimate(at), 1) << Describe(at);
        at.kbps = 80;
        EXPECT_EQ(Estimate(at), 0) << Describe(at);
    }
}

TEST(EstimateQuality, Mpeg25UsesTheMpeg2Rows) {
    AttributeTexts texts;
    texts[kSlotEncoder] = "Unknown";
    texts[kSlotStereoMode] = "joint stereo";
    Mp3Info r{};
    r.layer = 3;
    r.mpeg1 = false;
    r.notMpeg25 = false;
    r.avgBitrate = 97;
    EXPECT_EQ(EstimateQuality(texts, r, false), 2);
    r.avgBitrate = 96;
    EXPECT_EQ(EstimateQuality(texts, r, false), 1);
    r.avgBitrate = 64;
    EXPECT_EQ(EstimateQuality(texts, r, false), 0);
}

}  // namespace
}  // namespace vornik
