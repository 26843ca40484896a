// SPDX-License-Identifier: GPL-3.0-or-later
#include "encoder_identification.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <sstream>
#include <string>

namespace vornik {
namespace {

// An MPEG-1 Layer III CBR file, plain stereo with long blocks only, changed by the words of
// `features`: joint, dual, mono; mpeg2; short (blocks); scfsi; sfs (scalefac_scale); pad, orig,
// copy (header bits); vbr; frames with is (intensity only), msis (mid/side and intensity), ms
// (mid/side only); noplain (no plain stereo frame); res=N (average main_data_begin); layer=N;
// tail=N (the last frame's last ten bytes), last=N (its very last byte); sig (a signature text).
Mp3Info Record(const std::string& features) {
    static const std::map<std::string, std::function<void(Mp3Info&, int)>> kFeatures = {
        {"joint", [](Mp3Info& r, int) { r.channelMode = 1; }},
        {"dual", [](Mp3Info& r, int) { r.channelMode = 2; }},
        {"mono", [](Mp3Info& r, int) { r.channelMode = 3; }},
        {"mpeg2", [](Mp3Info& r, int) { r.mpeg1 = false; }},
        {"short", [](Mp3Info& r, int) { r.shortBlocks = 12; }},
        {"scfsi", [](Mp3Info& r, int) { r.scfsiUsed = true; }},
        {"sfs", [](Mp3Info& r, int) { r.scalefacScaleCount = 1; }},
        {"pad", [](Mp3Info& r, int) { r.paddingUsed = true; }},
        {"orig", [](Mp3Info& r, int) { r.original = true; }},
        {"copy", [](Mp3Info& r, int) { r.copyright = true; }},
        {"vbr", [](Mp3Info& r, int) { r.isVbr = true; }},
        {"is", [](Mp3Info& r, int) { r.stereoModeHist[1] = 4; }},
        {"ms", [](Mp3Info& r, int) { r.stereoModeHist[2] = 150; }},
        {"msis", [](Mp3Info& r, int) { r.stereoModeHist[3] = 4; }},
        {"noplain", [](Mp3Info& r, int) { r.stereoModeHist[0] = 0; }},
        {"sig", [](Mp3Info& r, int) { r.signatureText = "Thomson 1.1.1 "; }},
        {"res", [](Mp3Info& r, int n) { r.avgMainDataBegin = static_cast<std::uint32_t>(n); }},
        {"layer", [](Mp3Info& r, int n) { r.layer = n; }},
        {"tail", [](Mp3Info& r, int n) { r.lastFrameTail.fill(static_cast<std::uint8_t>(n)); }},
        {"last", [](Mp3Info& r, int n) { r.lastFrameTail[9] = static_cast<std::uint8_t>(n); }},
    };
    Mp3Info r{};
    r.layer = 3;
    r.mpeg1 = true;
    r.stereoModeHist[0] = 200;
    std::istringstream words(features);
    for (std::string w; words >> w;) {
        const std::size_t equals = w.find('=');
        const int n = equals == std::string::npos ? 0 : std::stoi(w.substr(equals + 1));
        kFeatures.at(w.substr(0, equals))(r, n);  // throws on a word it does not know
    }
    return r;
}

TEST(IdentifyEncoder, SignatureTextOrStatistics) {
    const std::pair<const char*, const char*> cases[] = {
        // The signature wins verbatim; the statistics alone say "Plugger" and "Unknown".
        {"sig", "Thomson 1.1.1 "},
        {"sig layer=1", "Thomson 1.1.1 "},
        // Layer I and II have no statistics; as Layer III these would be "Shine", "Plugger" and
        // "FhG (fastenc, low quality mode)". MPEG-2 Layer III has them.
        {"layer=2 dual", "Unknown"},
        {"layer=1", "Unknown"},
        {"layer=2 short sfs pad orig", "Unknown"},
        {"mpeg2", "Plugger"},
        // Without short blocks.
        {"dual", "Shine"},
        {"dual scfsi", "Unknown"},
        {"dual sfs", "Unknown"},
        {"dual is", "Shine"},  // dual channel is decided before intensity frames
        {"joint is", "Xing (very old)"},
        {"msis scfsi", "Xing (very old)"},          // intensity before scfsi
        {"joint ms", "FhG (ACM or producer pro)"},  // mid/side alone is no intensity
        {"joint scfsi pad orig", "Xing (new)"},     // scfsi before joint stereo
        {"joint noplain ms pad", "QDesign (fast mode)"},
        {"joint noplain ms", "Unknown"},
        {"joint noplain ms pad orig", "Unknown"},
        {"joint noplain ms pad copy", "Unknown"},
        {"joint orig", "FhG (ACM or producer pro)"},
        {"joint pad copy", "FhG (fastenc or mp3enc)"},
        {"joint pad orig", "FhG (l3enc)"},
        {"", "Plugger"},
        {"orig", "Xing (old)"},
        {"sfs", "Xing (old)"},
        {"mono", "Xing (old)"},  // Plugger needs plain stereo
        // With short blocks.
        {"short scfsi sfs", "Gogo (after 3.0)"},
        {"short scfsi vbr", "Lame (old) or m3e"},
        {"short sfs vbr", "FhG (fastenc)"},
        {"short sfs orig", "FhG (ACM or producer pro)"},
        {"short joint sfs pad is", "Thomson mp3PRO Encoder"},
        {"short joint sfs pad msis", "FhG (fastenc or mp3enc)"},
        {"short sfs pad is", "FhG (fastenc or mp3enc)"},  // Thomson needs joint stereo
        // QDesign is decided before VBR and reservoir use.
        {"short joint pad vbr res=300", "QDesign"},
        {"short joint pad copy vbr", "Lame (old)"},
        {"short joint pad orig vbr", "Lame (old)"},
        {"short joint vbr", "Lame (old)"},
        {"short dual vbr", "Lame (old)"},
        // Dual channel is never judged by its reservoir use.
        {"short dual pad res=200", "Blade"},
        {"short res=39", "dist10 encoder or other encoder"},
        {"short res=40", "Gogo (before 3.0)"},
        // FhG's last frame: ten bytes of 0, of 0xFF or adding up to 160, else either.
        {"short sfs pad orig", "FhG (fastenc, low quality mode)"},
        {"short sfs pad orig tail=255", "FhG (l3enc)"},
        // One byte of 160: read as a signed byte it would add up to -96.
        {"short sfs pad orig last=160", "FhG (fastenc, medium or high quality mode)"},
        {"short sfs pad orig tail=255 last=254", "FhG (l3enc or fastenc)"},
    };
    for (const auto& [features, encoder] : cases) {
        EXPECT_EQ(IdentifyEncoder(Record(features)), encoder) << features;
    }
}

}  // namespace
}  // namespace vornik
