// SPDX-License-Identifier: GPL-3.0-or-later
#include "text_report.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "attribute_texts.h"
#include "mp3_info.h"

namespace vornik {
namespace {

constexpr const char* kVersion = "Vornik 0.1";

// MPEG-1 Layer III VBR over 1000 frames: 1 at 32, 600 at 128, 300 at 160, 99 at 320 kbps.
Mp3Info VbrRecord() {
    Mp3Info r{};
    r.mpeg1 = true;
    r.layer = 3;
    r.frameCount = 1000;
    r.bitrateHist[1] = 1;
    r.bitrateHist[9] = 600;
    r.bitrateHist[10] = 300;
    r.bitrateHist[14] = 99;
    r.hasXing = true;
    r.lameTagValid = true;
    return r;
}

AttributeTexts VbrTexts() {
    AttributeTexts t;
    t[kSlotName] = "C:\\Music\\vbr.mp3";
    t[kSlotType] = "mpeg 1 layer III";
    t[kSlotBitrate] = "143";
    t[kSlotStereoMode] = "joint stereo";
    t[kSlotFrequency] = "44100";
    t[kSlotFrames] = "1000";
    t[kSlotLength] = "00:00:26";
    t[kSlotMaxReservoir] = "511";
    t[kSlotAvgReservoir] = "97";
    t[kSlotEmphasis] = "none";
    t[kSlotScalefac] = "12.5%";
    t[kSlotBadLastFrame] = "no";
    t[kSlotEncoder] = "Lame 3.100";
    t[kSlotQualityIndex] = "78";
    t[kSlotTagRevision] = "0";
    t[kSlotVbrMethod] = "vbr-new / vbr-mt";
    t[kSlotLowpass] = "19500";
    t[kSlotPsychoacoustics] = "nspsytune";
    t[kSlotSafeJointStereo] = "yes";
    t[kSlotNogapContinued] = "no";
    t[kSlotNogapContinuation] = "yes";
    t[kSlotAthType] = "4";
    t[kSlotAbrBitrate] = "32";
    t[kSlotNoiseShaping] = "1";
    t[kSlotUnwise] = "no";
    t[kSlotInputFrequency] = "44.1kHz";
    t[kSlotLameStereoMode] = "Joint Stereo";
    return t;
}

TEST(BuildReport, VbrFileWithValidLameTag) {
    // A bitrate of 1 frame in 1000 gets no bar but still its share; labels of 20 characters or
    // more are followed directly by ": ".
    const std::string expected =
        "vbr.mp3\r\n"
        "-------\r\n"
        "\r\n"
        "Bitrates:\r\n"
        "--------------------------------------------------\r\n"
        " 32                                                     0.1%\r\n"
        "128     ||||||||||||||||||||||||||||||||||||||||       60.0%\r\n"
        "160     ||||||||||||||||||||                           30.0%\r\n"
        "320     ||||||                                          9.9%\r\n"
        "--------------------------------------------------\r\n"
        "\r\n"
        "Type                : mpeg 1 layer III\r\n"
        "Bitrate             : 143\r\n"
        "Mode                : joint stereo\r\n"
        "Frequency           : 44100 Hz\r\n"
        "Frames              : 1000\r\n"
        "Length              : 00:00:26\r\n"
        "Max. Reservoir      : 511\r\n"
        "Av. Reservoir       : 97\r\n"
        "Emphasis            : none\r\n"
        "Scalefac            : 12.5%\r\n"
        "Bad Last Frame      : no\r\n"
        "Encoder             : Lame 3.100\r\n"
        "\r\n"
        "Lame Header:\r\n"
        "\r\n"
        "Quality             : 78\r\n"
        "Version String      : Lame 3.100\r\n"
        "Tag Revision        : 0\r\n"
        "VBR Method          : vbr-new / vbr-mt\r\n"
        "Lowpass Filter      : 19500\r\n"
        "Psycho-acoustic Model: nspsytune\r\n"
        "Safe Joint Stereo   : yes\r\n"
        "nogap (continued)   : no\r\n"
        "nogap (continuation): yes\r\n"
        "ATH Type            : 4\r\n"
        "ABR Bitrate         : 32\r\n"
        "Noise Shaping       : 1\r\n"
        "Stereo Mode         : Joint Stereo\r\n"
        "Unwise Settings Used: no\r\n"
        "Input Frequency     : 44.1kHz\r\n"
        "\r\n"
        "--[ Vornik 0.1 ]--[ https://vornik.example.org ]--\r\n";
    EXPECT_EQ(BuildReport(VbrTexts(), VbrRecord(), kVersion), expected);

    // A Lame text without its Xing/Info header, or a header whose tag is broken, has no section.
    for (const auto& [hasXing, lameTagValid] : {std::pair{true, false}, {false, true}}) {
        Mp3Info r = VbrRecord();
        r.hasXing = hasXing;
        r.lameTagValid = lameTagValid;
        const std::string report = BuildReport(VbrTexts(), r, kVersion);
        EXPECT_NE(report.find("\r\nEncoder             : Lame 3.100\r\n"
                              "Lame Header         : No\r\n\r\n--[ "),
                  std::string::npos)
            << hasXing << lameTagValid;
    }
}

TEST(BuildReport, SharesAreOfAllWalkedFrames) {
    // 12 walked frames, two of them failed. MPEG-2 Layer III takes its own row of the bitrate
    // table, where index 1 is 8 kbps.
    Mp3Info r{};
    r.layer = 3;
    r.frameCount = 12;
    r.bitrateHist[1] = 3;
    r.bitrateHist[8] = 5;
    r.bitrateHist[14] = 2;
    EXPECT_NE(BuildReport(AttributeTexts{}, r, kVersion)
                  .find("-\r\n"
                        "  8     ||||||||||||||||||||||||                       25.0%\r\n"
                        " 64     ||||||||||||||||||||||||||||||||||||||||       41.7%\r\n"
                        "160     ||||||||||||||||                               16.7%\r\n-"),
              std::string::npos);
}

TEST(BuildReport, TitleIsTheFileNameUnderlinedByCharacters) {
    const std::pair<const char*, std::string> cases[] = {
        {"/srv/back\\slash.mp3", "slash.mp3\r\n---------\r\n\r\n"},
        // 2-, 3- and 4-byte characters each take one dash.
        {"/m/Café – 🎵.mp3", "Café – 🎵.mp3\r\n------------\r\n\r\n"},
    };
    for (const auto& [name, firstLines] : cases) {
        AttributeTexts t;
        t[kSlotName] = name;
        EXPECT_TRUE(BuildReport(t, Mp3Info{}, kVersion).starts_with(firstLines)) << name;
    }
}

TEST(BuildReport, RowsFollowVersionAndLayerAndRulesAreAsLongAsTheBanner) {
    Mp3Info r{};
    r.layer = 1;
    r.mpeg1 = true;
    r.frameCount = 10;
    r.bitrateHist[14] = 10;
    r.bitrateHist[15] = 50;  // a forbidden bitrate is never shown
    const std::string report = BuildReport(AttributeTexts{}, r, "Vornik 10.20.30-beta");
    const std::string banner = "--[ Vornik 10.20.30-beta ]--[ https://vornik.example.org ]--";
    const std::string rule = std::string(banner.size(), '-') + "\r\n";
    EXPECT_NE(report.find("Bitrates:\r\n" + rule + "448     " + std::string(40, '|') +
                          std::string(5, ' ') + " 100.0%\r\n" + rule + "\r\nType "),
              std::string::npos);
    EXPECT_TRUE(report.ends_with("\r\n\r\n" + banner + "\r\n"));
}

TEST(BuildReport, LongScansNeitherOverflowNorDivideByZero) {
    Mp3Info r{};
    r.layer = 3;
    r.mpeg1 = true;
    r.frameCount = 300'000'000;
    r.bitrateHist[9] = 200'000'000;
    r.bitrateHist[10] = 100'000'000;
    std::string report = BuildReport(AttributeTexts{}, r, kVersion);
    EXPECT_NE(report.find("128     " + std::string(40, '|') + std::string(5, ' ') + "  66.7%\r\n"),
              std::string::npos);
    EXPECT_NE(report.find("160     " + std::string(20, '|') + std::string(25, ' ') + "  33.3%\r\n"),
              std::string::npos);

    // No engine record has counts without frames; the share then reads as nothing.
    r.frameCount = 0;
    report = BuildReport(AttributeTexts{}, r, kVersion);
    EXPECT_NE(report.find("   0.0%\r\n"), std::string::npos);
    EXPECT_EQ(report.find("inf"), std::string::npos);
}

}  // namespace
}  // namespace vornik
