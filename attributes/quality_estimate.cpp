// SPDX-License-Identifier: GPL-3.0-or-later
#include "quality_estimate.h"

#include <array>

#include "frame_header.h"

namespace vornik {
namespace {

struct GroupRule {
    std::string_view contains;
    int group;
};

// In order: the first rule whose text occurs decides. "Lame 3.100" is today's LAME, which
// the "Lame 3.8"/"Lame 3.9" pair would otherwise leave among the unknown encoders.
constexpr std::array<GroupRule, 13> kGroupRules{{
    {"FhG", 1},
    {"Lame 3.8", 1},
    {"Lame 3.9", 1},
    {"Lame 3.100", 1},
    {"Gogo (after 3.0)", 1},
    {"Blade", -1},
    {"dist", -1},  // "dist10 encoder or other encoder"
    {"QDesign (fast mode)", -1},
    {"Shine", -1},
    {"Xing", -1},
    {"RCA", 3},
    {"Thomson", 3},
    {"mppenc", 2},
}};

}  // namespace

int EncoderQualityGroup(std::string_view encoderText) {
    // FFmpeg's text carries its library version, which no rule below is about.
    if (encoderText.starts_with("FFmpeg (")) {
        return 0;
    }
    for (const GroupRule& rule : kGroupRules) {
        if (encoderText.find(rule.contains) != std::string_view::npos) {
            return rule.group;
        }
    }
    return 0;
}

int EstimateQuality(const AttributeTexts& texts, const Mp3Info& record, bool monoQuality) {
    const std::string& encoder = texts[kSlotEncoder];
    const std::string& stereoMode = texts[kSlotStereoMode];
    const int group = EncoderQualityGroup(encoder);

    // The thresholds are entries of the bitrate row of the file's version and layer; MPEG Plus
    // is judged like MPEG-1 Layer III.
    const bool mpc = encoder.find("mppenc") != std::string::npos;
    const int layer = mpc ? 3 : record.layer;
    const bool mpeg1 = mpc || record.mpeg1;
    const int goodAbove = BitrateKbps(layer, mpeg1, 10 - group);
    const int okAbove = BitrateKbps(layer, mpeg1, 8 - group);

    double rate = record.avgBitrate;
    if (monoQuality && stereoMode == "mono") {
        rate *= 1.85;
    }
    // Plain stereo spends bits on redundancy that joint stereo saves.
    if (stereoMode == "stereo") {
        rate *= 0.9;
    }
    // A VBR encoder spends its bits where they count.
    if (record.isVbr) {
        rate *= 1.2;
    }
    if (rate > goodAbove) {
        return 2;
    }
    return rate > okAbove ? 1 : 0;
}

}  // namespace vornik
