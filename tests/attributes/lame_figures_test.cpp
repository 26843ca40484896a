// SPDX-License-Identifier: GPL-3.0-or-later
// The Lame tag read as options, gains and gapless figures, on records shaped as older lame
// versions and other tools write them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gapless.h"
#include "lame_settings.h"
#include "replay_gain.h"

namespace vornik {
namespace {

struct TagShape {
    const char* version = "LAME3.100";
    int method = 4;
    int vbrScale = 80;
    int preset = 480;
    int abr = 32;
    std::uint32_t lowpass = 18500;
    int stereoMode = 3;
    int sampleRate = 44100;
};

Mp3Info Record(const TagShape& shape) {
    Mp3Info r{};
    r.lameTagValid = true;
    r.hasXing = true;
    r.mpeg1 = true;
    r.layer = 3;
    r.lameVersion = shape.version;
    r.lameVbrMethod = static_cast<std::uint8_t>(shape.method);
    r.xingVbrScale = shape.vbrScale;
    r.lameGainPreset[1] = static_cast<std::uint8_t>(shape.preset >> 8);
    r.lamePresetLow = static_cast<std::uint8_t>(shape.preset & 0xFF);
    r.lameAbrBitrate = static_cast<std::uint8_t>(shape.abr);
    r.lameLowpass = shape.lowpass;
    r.lameStereoMode = static_cast<std::uint8_t>(shape.stereoMode);
    r.sampleRate = shape.sampleRate;
    return r;
}

TEST(LameSettings, OlderVersionsAndOtherTools) {
    struct Case {
        const char* name;
        TagShape shape;
        const char* expected;
    };
    const std::vector<Case> cases = {
        {"3.97 named preset", {.version = "LAME3.97", .preset = 1001}, "--preset standard"},
        {"3.97 fast extreme", {.version = "LAME3.97", .preset = 1005}, "--preset fast extreme"},
        {"3.97 new VBR was an option", {.version = "LAME3.97"}, "-V 2 --vbr-new"},
        {"3.97 old VBR was the default",
         {.version = "LAME3.97", .method = 3, .vbrScale = 77},
         "-V 2"},
        {"no preset field: level from the quality index",
         {.vbrScale = 60, .preset = 0, .lowpass = 17500},
         "-V 4"},
        {"48 kHz keeps the lowpass table", {.sampleRate = 48000}, "-V 2"},
        {"other rates write no lowpass", {.lowpass = 9000, .sampleRate = 32000}, "-V 2"},
        {"CBR 256 above the byte's range",
         {.method = 1, .vbrScale = 57, .preset = 256, .abr = 255, .lowpass = 19700},
         "-b 256"},
        {"CBR -q 0",
         {.method = 1, .vbrScale = 60, .preset = 128, .abr = 128, .lowpass = 17000},
         "-b 128 -q 0"},
        {"dual channel",
         {.method = 1,
          .vbrScale = 57,
          .preset = 128,
          .abr = 128,
          .lowpass = 17000,
          .stereoMode = 2},
         "-b 128 -m d"},
        {"ABR 200 takes the nearest lowpass",
         {.method = 2, .vbrScale = 57, .preset = 200, .abr = 200, .lowpass = 18600},
         "--abr 200"},
        {"FFmpeg's tag holds no lame options", {.version = "Lavf59.27"}, ""},
        {"unknown method", {.method = 7}, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(LameSettingsText(Record(c.shape)), c.expected) << c.name;
    }
    Mp3Info invalid = Record({});
    invalid.lameTagValid = false;
    EXPECT_EQ(LameSettingsText(invalid), "");
}

TEST(ReplayGain, SourcesInOrderAndLameFields) {
    Mp3Info r = Record({});
    // Radio gain -3.4 dB set by the user; audiophile +1.5 dB set automatically.
    r.lameReplayGain = {0x2A, 0x22, 0x4C, 0x0F};
    ReplayGainReadings gains = ReplayGainOf(r);
    EXPECT_DOUBLE_EQ(gains.trackGain.value, -3.4);
    EXPECT_EQ(gains.trackGain.source, "Lame tag, set by user");
    EXPECT_DOUBLE_EQ(gains.albumGain.value, 1.5);
    EXPECT_FALSE(gains.trackPeak.present);

    r.apeVersion = 2000;
    r.apeFields.Edit().trackGain = "+2.10 dB";
    r.apeFields.Edit().trackPeak = "0.5";
    r.id3v2Fields.Edit().albumGain = "-7.25 dB";
    r.id3v2Fields.Edit().trackPeak = "not a number";
    gains = ReplayGainOf(r);
    EXPECT_DOUBLE_EQ(gains.trackGain.value, 2.1);
    EXPECT_EQ(gains.trackGain.source, "APEv2");
    EXPECT_EQ(gains.trackPeak.source, "APEv2");
    EXPECT_DOUBLE_EQ(gains.albumGain.value, -7.25);
    EXPECT_EQ(gains.albumGain.source, "ID3v2");

    AttributeTexts texts;
    FillReplayGainTexts(texts, r);
    EXPECT_EQ(texts[kSlotTrackGain], "2.10 dB (APEv2)");
    EXPECT_EQ(texts[kSlotTrackPeak], "0.500000 (APEv2)");
    EXPECT_EQ(texts[kSlotAlbumGain], "-7.25 dB (ID3v2)");
}

TEST(Gapless, FramesFromTheWalkOrTheXingCount) {
    Mp3Info r = Record({});
    r.lameDelays = {0x24, 0x04, 0xEC};  // 576 and 1260
    r.xingFlags = 0x0F;
    r.xingFrames = 193;
    GaplessFigures figures = GaplessOf(r);
    EXPECT_EQ(figures.delay, 576);
    EXPECT_EQ(figures.padding, 1260);
    EXPECT_EQ(figures.samples, 193 * 1152 - 576 - 1260);

    r.scanComplete = true;  // the walk found one frame more than the header says
    r.frameCount = 195;     // and failed once, on the tag after the last frame
    r.decodedFrames = 194;
    EXPECT_EQ(GaplessOf(r).samples, 194 * 1152 - 576 - 1260);

    r.scanComplete = false;
    r.xingFlags = 0;
    EXPECT_EQ(GaplessOf(r).samples, -1);
    r.lameTagValid = false;
    EXPECT_FALSE(GaplessOf(r).known);
}

}  // namespace
}  // namespace vornik
