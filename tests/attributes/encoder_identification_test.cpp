#include "encoder_identification.h"

#include <gtest/gtest.h>

#include <array>
#include <sstream>
#include <string>

namespace vornik {
namespace {

// An MPEG-1 Layer III CBR file of 200 walked frames, by default plain stereo with long blocks
// only, changed by the words of `features`:
//   joint, dual, mono   channel mode (stereo otherwise)
//   short               some granule-channels with short blocks
//   scfsi, sfs          scfsi bits, scalefac_scale granule-channels
//   pad, orig, copy     padding, original bit, copyright bit
//   vbr                 more than one bitrate index
//   is, msis, ms        frames with intensity only, mid/side and intensity, mid/side only
//   noplain             no frame with plain stereo coding
//   res=N               average main_data_begin of N bytes
//   layer=N             layer N
Mp3Info Record(const std::string& features) {
    Mp3Info r{};
    r.layer = 3;
    r.mpeg1 = true;
    r.notMpeg25 = true;
    r.channels = 2;
    r.frameCount = 200;
    r.longBlocks = 800;
    r.stereoModeHist[0] = 200;
    std::istringstream words(features);
    for (std::string w; words >> w;) {
        if (w == "joint") {
            r.channelMode = 1;
        } else if (w == "dual") {
            r.channelMode = 2;
        } else if (w == "mono") {
            r.channelMode = 3;
            r.channels = 1;
        } else if (w == "short") {
            r.shortBlocks = 12;
        } else if (w == "scfsi") {
            r.scfsiUsed = true;
        } else if (w == "sfs") {
            r.scalefacScaleCount = 1;
        } else if (w == "pad") {
            r.paddingUsed = true;
        } else if (w == "orig") {
            r.original = true;
        } else if (w == "copy") {
            r.copyright = true;
        } else if (w == "vbr") {
            r.isVbr = true;
        } else if (w == "is") {
            r.stereoModeHist[1] = 4;
        } else if (w == "ms") {
            r.stereoModeHist[2] = 150;
        } else if (w == "msis") {
            r.stereoModeHist[3] = 4;
        } else if (w == "noplain") {
            r.stereoModeHist[0] = 0;
        } else if (w.starts_with("res=")) {
            r.avgMainDataBegin = static_cast<std::uint32_t>(std::stoul(w.substr(4)));
        } else if (w.starts_with("layer=")) {
            r.layer = std::stoi(w.substr(6));
        } else {
            ADD_FAILURE() << "unknown feature " << w;
        }
    }
    return r;
}

struct Case {
    const char* features;
    const char* encoder;
};

void ExpectEncoders(std::initializer_list<Case> cases) {
    for (const Case& c : cases) {
        EXPECT_EQ(IdentifyEncoder(Record(c.features)), c.encoder) << c.features;
    }
}

TEST(IdentifyEncoder, SignatureTextWinsVerbatim) {
    const struct {
        const char* features;
        const char* signature;
    } cases[] = {
        {"", "Lame 3.90 (alpha)"},  // the statistics alone say "Plugger"
        {"", "Thomson 1.1.1 "},     // trailing blank kept
        {"short scfsi", "FFmpeg (Lavc59.37)"},
        {"layer=2 dual", "Gogo (before 3.0)"},
        {"layer=1", "Lame 3.100"},
    };
    for (const auto& c : cases) {
        Mp3Info r = Record(c.features);
        r.signatureText = c.signature;
        EXPECT_EQ(IdentifyEncoder(r), c.signature) << c.features;
    }
    EXPECT_EQ(IdentifyEncoder(Record("")), "Plugger");
}

TEST(IdentifyEncoder, LayerOneAndTwoWithoutTextAreUnknown) {
    ExpectEncoders({
        // As Layer III these would be "Shine", "Xing (very old)" and "Plugger".
        {"layer=2 dual", "Unknown"},
        {"layer=2 joint is", "Unknown"},
        {"layer=1", "Unknown"},
        {"layer=2 short sfs pad orig", "Unknown"},
    });
    Mp3Info mpeg2 = Record("");
    mpeg2.mpeg1 = false;
    EXPECT_EQ(IdentifyEncoder(mpeg2), "Plugger");
    mpeg2.layer = 2;
    EXPECT_EQ(IdentifyEncoder(mpeg2), "Unknown");
}

TEST(IdentifyEncoder, WithoutShortBlocks) {
    ExpectEncoders({
        {"dual", "Shine"},
        {"dual scfsi", "Unknown"},
        {"dual sfs", "Unknown"},
        {"dual is", "Shine"},  // dual channel is decided before intensity frames
        {"joint is", "Xing (very old)"},
        {"joint msis", "Xing (very old)"},
        {"msis scfsi", "Xing (very old)"},          // intensity before scfsi
        {"joint ms", "FhG (ACM or producer pro)"},  // mid/side alone is no intensity
        {"scfsi", "Xing (new)"},
        {"mono scfsi", "Xing (new)"},
        {"joint scfsi pad orig", "Xing (new)"},  // scfsi before joint stereo
        {"joint noplain ms pad", "QDesign (fast mode)"},
        {"joint noplain ms", "Unknown"},
        {"joint noplain ms pad orig", "Unknown"},
        {"joint noplain ms pad copy", "Unknown"},
        {"joint orig", "FhG (ACM or producer pro)"},
        {"joint pad copy", "FhG (fastenc or mp3enc)"},
        {"joint pad orig", "FhG (l3enc)"},
        {"", "Plugger"},
        {"pad copy vbr", "Plugger"},
        {"orig", "Xing (old)"},
        {"sfs", "Xing (old)"},
        {"mono", "Xing (old)"},  // Plugger needs plain stereo
    });
}

TEST(IdentifyEncoder, WithShortBlocks) {
    ExpectEncoders({
        {"short scfsi sfs", "Gogo (after 3.0)"},
        {"short scfsi vbr", "Lame (old) or m3e"},
        {"short sfs vbr", "FhG (fastenc)"},
        {"short sfs orig", "FhG (ACM or producer pro)"},
        {"short sfs orig vbr", "FhG (fastenc)"},
        {"short joint sfs pad is", "Thomson mp3PRO Encoder"},
        {"short joint sfs pad msis", "FhG (fastenc or mp3enc)"},
        {"short sfs pad is", "FhG (fastenc or mp3enc)"},  // Thomson needs joint stereo
        // QDesign is decided before VBR and reservoir use.
        {"short joint pad vbr res=300", "QDesign"},
        {"short joint pad copy vbr", "Lame (old)"},
        {"short joint pad orig vbr", "Lame (old)"},
        {"short joint vbr", "Lame (old)"},
        {"short dual vbr", "Lame (old)"},
        {"short vbr res=300", "Lame (old)"},
        // Dual channel is never judged by its reservoir use.
        {"short dual pad res=200", "Blade"},
        {"short dual res=200", "dist10 encoder or other encoder"},
        {"short res=39", "dist10 encoder or other encoder"},
        {"short res=40", "Gogo (before 3.0)"},
        {"short pad res=39", "Blade"},
        {"short pad res=40", "Gogo (before 3.0)"},
        {"short mono pad res=40", "Gogo (before 3.0)"},
        {"short joint pad orig res=39", "Blade"},
        {"short joint pad copy res=40", "Gogo (before 3.0)"},
    });
}

TEST(IdentifyEncoder, LastFrameTailOfFhgFiles) {
    const struct {
        std::array<std::uint8_t, 10> tail;
        const char* encoder;
    } cases[] = {
        {{}, "FhG (fastenc, low quality mode)"},
        {{16, 16, 16, 16, 16, 16, 16, 16, 16, 16}, "FhG (fastenc, medium or high quality mode)"},
        // One byte of 160: read as a signed byte it would add up to -96.
        {{0, 0, 0, 0, 0, 0, 0, 0, 0, 0xA0}, "FhG (fastenc, medium or high quality mode)"},
        {{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, "FhG (l3enc)"},
        {{16, 16, 16, 16, 16, 16, 16, 16, 16, 17}, "FhG (l3enc or fastenc)"},
        {{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFE}, "FhG (l3enc or fastenc)"},
        {{0, 0, 0, 0, 0, 0, 0, 0, 0, 1}, "FhG (l3enc or fastenc)"},
    };
    for (const auto& c : cases) {
        Mp3Info r = Record("short sfs pad orig");
        r.lastFrameTail = c.tail;
        EXPECT_EQ(IdentifyEncoder(r), c.encoder) << c.encoder << ", last byte " << int{c.tail[9]};
    }
    // Without padding the tail is not read.
    Mp3Info r = Record("short sfs orig");
    r.lastFrameTail.fill(0xFF);
    EXPECT_EQ(IdentifyEncoder(r), "FhG (ACM or producer pro)");
}

}  // namespace
}  // namespace vornik
