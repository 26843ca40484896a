#include "text_report.h"

#include <gtest/gtest.h>

#include <string>

#include "attribute_texts.h"
#include "mp3_info.h"

namespace vornik {
namespace {

constexpr const char* kVersion = "Vornik 0.1.0";

// What the texts pass writes for a record without Lame data; the report must not show these
// unless the file has a valid Lame tag behind a Xing/Info header.
void FillLameDefaults(AttributeTexts& t) {
    t[kSlotQualityIndex] = "-1";
    t[kSlotTagRevision] = "0";
    t[kSlotVbrMethod] = "Unknown";
    t[kSlotLowpass] = "Unknown";
    t[kSlotPsychoacoustics] = "gpsycho";
    t[kSlotSafeJointStereo] = "no";
    t[kSlotNogapContinued] = "no";
    t[kSlotNogapContinuation] = "no";
    t[kSlotAthType] = "0";
    t[kSlotAbrBitrate] = "Unknown";
    t[kSlotNoiseShaping] = "0";
    t[kSlotUnwise] = "no";
    t[kSlotInputFrequency] = "32kHz or less";
    t[kSlotLameStereoMode] = "Mono";
}

// 30 s of MPEG-1 Layer III at 128 kbps.
Mp3Info CbrRecord() {
    Mp3Info r{};
    r.mpeg1 = true;
    r.notMpeg25 = true;
    r.layer = 3;
    r.sampleRate = 44100;
    r.channelMode = 1;
    r.frameCount = 1148;
    r.bitrateHist[9] = 1148;
    return r;
}

AttributeTexts CbrTexts() {
    AttributeTexts t;
    t[kSlotName] = "/home/ana/Music/Live & Loud/cbr 128.mp3";
    t[kSlotType] = "mpeg 1 layer III";
    t[kSlotBitrate] = "128";
    t[kSlotStereoMode] = "joint stereo";
    t[kSlotFrequency] = "44100";
    t[kSlotFrames] = "1148";
    t[kSlotLength] = "00:00:29";
    t[kSlotMaxReservoir] = "311";
    t[kSlotAvgReservoir] = "42";
    t[kSlotEmphasis] = "none";
    t[kSlotScalefac] = "not used";
    t[kSlotBadLastFrame] = "no";
    t[kSlotEncoder] = "FhG (fastenc or mp3enc)";
    FillLameDefaults(t);
    return t;
}

TEST(BuildReport, CbrFileWithoutLameTag) {
    const std::string expected =
        "cbr 128.mp3\r\n"
        "-----------\r\n"
        "\r\n"
        "Bitrates:\r\n"
        "----------------------------------------------------\r\n"
        "128     ||||||||||||||||||||||||||||||||||||||||      100.0%\r\n"
        "----------------------------------------------------\r\n"
        "\r\n"
        "Type                : mpeg 1 layer III\r\n"
        "Bitrate             : 128\r\n"
        "Mode                : joint stereo\r\n"
        "Frequency           : 44100 Hz\r\n"
        "Frames              : 1148\r\n"
        "Length              : 00:00:29\r\n"
        "Max. Reservoir      : 311\r\n"
        "Av. Reservoir       : 42\r\n"
        "Emphasis            : none\r\n"
        "Scalefac            : not used\r\n"
        "Bad Last Frame      : no\r\n"
        "Encoder             : FhG (fastenc or mp3enc)\r\n"
        "Lame Header         : No\r\n"
        "\r\n"
        "--[ Vornik 0.1.0 ]--[ https://vornik.example.org ]--\r\n";
    EXPECT_EQ(BuildReport(CbrTexts(), CbrRecord(), kVersion), expected);
}

// MPEG-1 Layer III VBR over 1000 frames: 1 at 32, 600 at 128, 300 at 160, 99 at 320 kbps.
Mp3Info VbrRecord() {
    Mp3Info r{};
    r.mpeg1 = true;
    r.notMpeg25 = true;
    r.layer = 3;
    r.sampleRate = 44100;
    r.channelMode = 1;
    r.isVbr = true;
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
        "----------------------------------------------------\r\n"
        " 32                                                     0.1%\r\n"
        "128     ||||||||||||||||||||||||||||||||||||||||       60.0%\r\n"
        "160     ||||||||||||||||||||                           30.0%\r\n"
        "320     ||||||                                          9.9%\r\n"
        "----------------------------------------------------\r\n"
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
        "--[ Vornik 0.1.0 ]--[ https://vornik.example.org ]--\r\n";
    EXPECT_EQ(BuildReport(VbrTexts(), VbrRecord(), kVersion), expected);
}

TEST(BuildReport, Mpeg2VbrFileWithBrokenLameTag) {
    // 12 walked frames, two of them failed: the shares are of all 12. MPEG-2 Layer III takes
    // its own row of the bitrate table, where index 1 is 8 kbps.
    Mp3Info r{};
    r.layer = 3;
    r.notMpeg25 = true;
    r.sampleRate = 22050;
    r.channelMode = 3;
    r.isVbr = true;
    r.frameCount = 12;
    r.bitrateHist[1] = 3;
    r.bitrateHist[8] = 5;
    r.bitrateHist[14] = 2;
    r.hasXing = true;
    r.lameTagValid = false;

    AttributeTexts t;
    t[kSlotName] = "speech.mp3";
    t[kSlotType] = "mpeg 2 layer III";
    t[kSlotBitrate] = "61";
    t[kSlotStereoMode] = "mono";
    t[kSlotFrequency] = "22050";
    t[kSlotFrames] = "12";
    t[kSlotLength] = "00:00:00.3";
    t[kSlotMaxReservoir] = "0";
    t[kSlotAvgReservoir] = "0";
    t[kSlotEmphasis] = "50/15ms";
    t[kSlotScalefac] = "not used";
    t[kSlotBadLastFrame] = "yes";
    t[kSlotEncoder] = "Lame 3.100";
    FillLameDefaults(t);

    const std::string expected =
        "speech.mp3\r\n"
        "----------\r\n"
        "\r\n"
        "Bitrates:\r\n"
        "----------------------------------------------------\r\n"
        "  8     ||||||||||||||||||||||||                       25.0%\r\n"
        " 64     ||||||||||||||||||||||||||||||||||||||||       41.7%\r\n"
        "160     ||||||||||||||||                               16.7%\r\n"
        "----------------------------------------------------\r\n"
        "\r\n"
        "Type                : mpeg 2 layer III\r\n"
        "Bitrate             : 61\r\n"
        "Mode                : mono\r\n"
        "Frequency           : 22050 Hz\r\n"
        "Frames              : 12\r\n"
        "Length              : 00:00:00.3\r\n"
        "Max. Reservoir      : 0\r\n"
        "Av. Reservoir       : 0\r\n"
        "Emphasis            : 50/15ms\r\n"
        "Scalefac            : not used\r\n"
        "Bad Last Frame      : yes\r\n"
        "Encoder             : Lame 3.100\r\n"
        "Lame Header         : No\r\n"
        "\r\n"
        "--[ Vornik 0.1.0 ]--[ https://vornik.example.org ]--\r\n";
    EXPECT_EQ(BuildReport(t, r, kVersion), expected);
}

TEST(BuildReport, LameSectionNeedsXingHeaderAndValidTag) {
    struct Case {
        bool hasXing;
        bool lameTagValid;
        bool section;
    };
    const Case cases[] = {
        {false, false, false},
        {true, false, false},
        {false, true, false},  // a Lame text without its Xing/Info header
        {true, true, true},
    };
    for (const Case& c : cases) {
        Mp3Info r = VbrRecord();
        r.hasXing = c.hasXing;
        r.lameTagValid = c.lameTagValid;
        const std::string report = BuildReport(VbrTexts(), r, kVersion);
        const bool hasSection =
            report.find("\r\nLame Header:\r\n\r\nQuality ") != std::string::npos;
        const bool saysNo = report.find("\r\nLame Header         : No\r\n") != std::string::npos;
        EXPECT_EQ(hasSection, c.section) << c.hasXing << c.lameTagValid;
        EXPECT_EQ(saysNo, !c.section) << c.hasXing << c.lameTagValid;
    }
}

TEST(BuildReport, TitleIsTheFileNameUnderlinedByCharacters) {
    struct Case {
        const char* slot;
        const char* firstLines;
    };
    const Case cases[] = {
        {"plain.mp3", "plain.mp3\r\n---------\r\n\r\n"},
        {"C:\\My Music\\a.mp1", "a.mp1\r\n-----\r\n\r\n"},
        {"/srv/music/b.mp2", "b.mp2\r\n-----\r\n\r\n"},
        {"/srv/back\\slash.mp3", "slash.mp3\r\n---------\r\n\r\n"},
        // 2-, 3- and 4-byte characters each take one dash.
        {"/m/Café – 🎵.mp3", "Café – 🎵.mp3\r\n------------\r\n\r\n"},
        {"/m/", "\r\n\r\n\r\n"},
    };
    for (const Case& c : cases) {
        AttributeTexts t = CbrTexts();
        t[kSlotName] = c.slot;
        const std::string report = BuildReport(t, CbrRecord(), kVersion);
        EXPECT_EQ(report.substr(0, std::string(c.firstLines).size()), c.firstLines) << c.slot;
    }
}

TEST(BuildReport, RulesAreAsLongAsTheBanner) {
    const std::string report = BuildReport(CbrTexts(), CbrRecord(), "Vornik 10.20.30-beta");
    const std::string banner = "--[ Vornik 10.20.30-beta ]--[ https://vornik.example.org ]--";
    const std::string rule = std::string(banner.size(), '-') + "\r\n";
    EXPECT_NE(report.find("Bitrates:\r\n" + rule + "128 "), std::string::npos);
    EXPECT_NE(report.find("100.0%\r\n" + rule + "\r\nType "), std::string::npos);
    EXPECT_TRUE(report.ends_with("\r\n\r\n" + banner + "\r\n"));
}

TEST(BuildReport, BitrateLabelsFollowVersionAndLayer) {
    struct Case {
        int layer;
        bool mpeg1;
        int index;
        const char* row;
    };
    const Case cases[] = {
        {1, true, 14, "448     "},
        {1, true, 1, " 32     "},
        {2, true, 14, "384     "},
        {2, true, 1, " 32     "},
        {3, true, 1, " 32     "},
        {1, false, 14, "256     "},
        {2, false, 1, "  8     "},
        {3, false, 14, "160     "},
        // Free format stands as 128 kbps in every row of the table.
        {3, true, 0, "128     "},
    };
    for (const Case& c : cases) {
        Mp3Info r{};
        r.layer = c.layer;
        r.mpeg1 = c.mpeg1;
        r.frameCount = 10;
        r.bitrateHist[static_cast<std::size_t>(c.index)] = 10;
        const std::string report = BuildReport(AttributeTexts{}, r, kVersion);
        const std::string row =
            std::string(c.row) + std::string(40, '|') + std::string(5, ' ') + " 100.0%\r\n";
        EXPECT_NE(report.find("-\r\n" + row + "-"), std::string::npos)
            << c.layer << " " << c.mpeg1 << " " << c.index;
    }
}

TEST(BuildReport, NoRowsWithoutCountsAndNeverForIndex15) {
    // An MPEG Plus record has no frame histogram; index 15 marks a forbidden bitrate.
    Mp3Info r{};
    r.frameCount = 5;
    r.bitrateHist[15] = 5;
    const std::string report = BuildReport(AttributeTexts{}, r, kVersion);
    const std::string rule(52, '-');
    EXPECT_NE(report.find("Bitrates:\r\n" + rule + "\r\n" + rule + "\r\n\r\nType "),
              std::string::npos);
}

TEST(BuildReport, LongScansNeitherOverflowNorDivideByZero) {
    Mp3Info r = CbrRecord();
    r.bitrateHist = {};
    r.frameCount = 300'000'000;
    r.bitrateHist[9] = 200'000'000;
    r.bitrateHist[10] = 100'000'000;
    std::string report = BuildReport(CbrTexts(), r, kVersion);
    EXPECT_NE(report.find("128     " + std::string(40, '|') + std::string(5, ' ') + "  66.7%\r\n"),
              std::string::npos);
    EXPECT_NE(report.find("160     " + std::string(20, '|') + std::string(25, ' ') + "  33.3%\r\n"),
              std::string::npos);

    // No engine record has counts without frames; the share then reads as nothing.
    r.frameCount = 0;
    report = BuildReport(CbrTexts(), r, kVersion);
    EXPECT_NE(report.find("   0.0%\r\n"), std::string::npos);
    EXPECT_EQ(report.find("inf"), std::string::npos);
}

}  // namespace
}  // namespace vornik
