// SPDX-License-Identifier: GPL-3.0-or-later
#include "attribute_texts.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

#include "attribute_catalogue.h"
#include "packed_texts.h"

namespace vornik {
namespace {

// A plain joint-stereo MPEG-1 Layer III record, complete scan.
Mp3Info Record() {
    Mp3Info r{};
    r.mpeg1 = true;
    r.notMpeg25 = true;
    r.layer = 3;
    r.channels = 2;
    r.channelMode = 1;
    r.sampleRate = 44100;
    r.avgBitrate = 128;
    r.frameCount = 1000;
    r.scanComplete = true;
    r.lastFrameOk = true;
    r.xingVbrScale = -1;
    r.id3v1Raw[127] = 255;
    return r;
}

AttributeTexts Texts(const Mp3Info& r, bool mono = false, int* quality = nullptr) {
    AttributeTexts t;
    t[kSlotName] = "name.mp3";
    const int q = ComputeAttributeTexts(t, r, mono);
    if (quality != nullptr) {
        *quality = q;
    }
    return t;
}

TEST(AttributeTexts, LengthAsAClock) {
    const struct {
        float seconds;
        const char* text;
    } cases[] = {{5.37f, "00:00:05.3"}, {9.99f, "00:00:09.9"}, {0, "00:00:00.0"},
                 {59.99f, "00:00:59"},  {3725.9f, "01:02:05"}, {360000, "100:00:00"}};
    for (const auto& c : cases) {
        Mp3Info r = Record();
        r.duration = c.seconds;
        EXPECT_EQ(Texts(r)[kSlotLength], c.text) << c.seconds;
    }
}

TEST(AttributeTexts, SizeWithTwoSeparatorsAtMost) {
    const struct {
        std::int64_t size;
        const char* text;
    } cases[] = {{0, "0"},
                 {999, "999"},
                 {1000, "1,000"},
                 {999999, "999,999"},
                 {1000000, "1,000,000"},
                 {1234567890, "1234,567,890"},
                 {5000000000, "5000,000,000"}};
    for (const auto& c : cases) {
        Mp3Info r = Record();
        r.fileSize = c.size;
        EXPECT_EQ(Texts(r)[kSlotSize], c.text);
    }
}

TEST(AttributeTexts, FramesOfAnIncompleteScanArePlus) {
    Mp3Info r = Record();
    r.frameCount = 5000;
    r.scanComplete = false;
    EXPECT_EQ(Texts(r)[kSlotFrames], "5000+");
    r.scanComplete = true;
    EXPECT_EQ(Texts(r)[kSlotFrames], "5000");
}

TEST(AttributeTexts, TypeByVersionAndLayer) {
    const struct {
        bool mpeg1;
        bool notMpeg25;
        int layer;
        const char* text;
    } cases[] = {{true, true, 3, "mpeg 1 layer III"},
                 {false, true, 2, "mpeg 2 layer II"},
                 {false, false, 3, "mpeg 2.5 layer III"},
                 {true, true, 1, "mpeg 1 layer I"}};
    for (const auto& c : cases) {
        Mp3Info r = Record();
        r.mpeg1 = c.mpeg1;
        r.notMpeg25 = c.notMpeg25;
        r.layer = c.layer;
        EXPECT_EQ(Texts(r)[kSlotType], c.text);
    }
    Mp3Info pro = Record();
    pro.signatureText = "RCA 1.0";
    EXPECT_EQ(Texts(pro)[kSlotType], "mpeg 1 layer III (mp3pro)");
}

TEST(AttributeTexts, ScalefacShare) {
    Mp3Info r = Record();
    r.scalefacScaleCount = 1000;
    EXPECT_EQ(Texts(r)[kSlotScalefac], "25.0%");  // of 1000 x 2 channels x 2 granules
    r.channels = 0;                               // counts as two
    EXPECT_EQ(Texts(r)[kSlotScalefac], "25.0%");
    r.mpeg1 = false;
    r.channels = 1;
    EXPECT_EQ(Texts(r)[kSlotScalefac], "100.0%");
    r.scalefacScaleCount = 0;
    EXPECT_EQ(Texts(r)[kSlotScalefac], "not used");
}

void PutField(Mp3Info& r, std::size_t at, const std::string& bytes) {
    std::memcpy(r.id3v1Raw.data() + at, bytes.data(), bytes.size());
}

TEST(AttributeTexts, Id3v1Fields) {
    Mp3Info r = Record();
    r.hasId3v1 = true;
    PutField(r, 0, "TAG");
    PutField(r, 3, "Song" + std::string(26, ' '));
    PutField(r, 33, std::string("Song\0x", 6) + std::string(24, ' '));
    PutField(r, 63, "Caf\xE9 Ol\xE9");  // ISO-8859-1
    PutField(r, 93, "1999");
    PutField(r, 97, std::string(28, 'c') + std::string("\0\x07", 2));  // ID3v1.1: track 7
    r.id3v1Track = 7;
    r.id3v1Raw[127] = 147;
    const AttributeTexts t = Texts(r);
    EXPECT_EQ(t[kSlotTitle], "Song");
    EXPECT_EQ(t[kSlotArtist], "Song");
    EXPECT_EQ(t[kSlotAlbum], "Caf\xC3\xA9 Ol\xC3\xA9");  // UTF-8
    EXPECT_EQ(t[kSlotYear], "1999");
    EXPECT_EQ(t[kSlotComment], std::string(28, 'c'));
    EXPECT_EQ(t[kSlotTrack], "7");
    EXPECT_EQ(t[kSlotGenre], "Synthpop");

    r.id3v1Raw[127] = 148;
    EXPECT_EQ(Texts(r)[kSlotGenre], "Unknown");
    r.id3v1Track = 0;
    EXPECT_EQ(Texts(r)[kSlotTrack], "0");
}

TEST(AttributeTexts, WithoutId3v1TheTrackAndGenreStayAsTheyWere) {
    const AttributeTexts t = Texts(Record());
    EXPECT_EQ(t[kSlotTitle], "");
    EXPECT_EQ(t[kSlotTrack], "");
    EXPECT_EQ(t[kSlotGenre], "");
}

TEST(AttributeTexts, LameTextsOfARecordWithoutATag) {
    const AttributeTexts t = Texts(Record());
    EXPECT_EQ(t[kSlotLameTag], "no");
    EXPECT_EQ(t[kSlotQualityIndex], "-1");
    EXPECT_EQ(t[kSlotVbrMethod], "Unknown");
    EXPECT_EQ(t[kSlotLowpass], "Unknown");
    EXPECT_EQ(t[kSlotPsychoacoustics], "gpsycho");
    EXPECT_EQ(t[kSlotAbrBitrate], "Unknown");
    // A zero byte of stereo mode and input frequency (FFmpeg's tag writes one) that a stereo
    // 44.1 kHz stream contradicts is not set; on a mono 32 kHz stream it may mean what it says.
    EXPECT_EQ(t[kSlotInputFrequency], "not set");
    EXPECT_EQ(t[kSlotLameStereoMode], "not set");
    Mp3Info mono = Record();
    mono.channels = 1;
    mono.channelMode = 3;
    mono.sampleRate = 32000;
    const AttributeTexts m = Texts(mono);
    EXPECT_EQ(m[kSlotInputFrequency], "32kHz or less");
    EXPECT_EQ(m[kSlotLameStereoMode], "Mono");
}

TEST(AttributeTexts, LameTextsByValue) {
    Mp3Info r = Record();
    r.lameTagValid = true;
    r.lameVbrMethod = 5;
    r.lameLowpass = 19500;
    r.lameEncFlags = 0xF;
    r.lameAbrBitrate = 255;
    r.lameSourceFreq = 3;
    r.lameStereoMode = 7;
    r.lameUnwise = 1;
    r.lameNoiseShaping = 2;
    const AttributeTexts t = Texts(r);
    EXPECT_EQ(t[kSlotLameTag], "yes");
    EXPECT_EQ(t[kSlotVbrMethod], "vbr-new / vbr-mt");
    EXPECT_EQ(t[kSlotLowpass], "19500");
    EXPECT_EQ(t[kSlotPsychoacoustics], "nspsytune");
    EXPECT_EQ(t[kSlotSafeJointStereo], "yes");
    EXPECT_EQ(t[kSlotNogapContinued], "yes");
    EXPECT_EQ(t[kSlotNogapContinuation], "yes");
    EXPECT_EQ(t[kSlotAbrBitrate], "255 or more");
    EXPECT_EQ(t[kSlotInputFrequency], "more than 48kHz");
    EXPECT_EQ(t[kSlotLameStereoMode], "Unknown");
    EXPECT_EQ(t[kSlotUnwise], "yes");
    EXPECT_EQ(t[kSlotNoiseShaping], "2");
}

TEST(AttributeTexts, StereoModesEmphasisAndFlags) {
    const char* modes[] = {"stereo", "joint stereo", "dual channel", "mono", ""};
    for (int mode = 0; mode < 5; ++mode) {
        Mp3Info r = Record();
        r.channelMode = mode;
        EXPECT_EQ(Texts(r)[kSlotStereoMode], modes[mode]);
    }
    const char* emphases[] = {"none", "50/15ms", "CCITT", "CCITT"};
    for (int emphasis = 0; emphasis < 4; ++emphasis) {
        Mp3Info r = Record();
        r.emphasis = emphasis;
        EXPECT_EQ(Texts(r)[kSlotEmphasis], emphases[emphasis]);
    }
    Mp3Info r = Record();
    r.lastFrameOk = false;
    r.hasCueSheet = true;
    r.isVbr = true;
    const AttributeTexts t = Texts(r);
    EXPECT_EQ(t[kSlotBadLastFrame], "yes");
    EXPECT_EQ(t[kSlotCueSheet], "yes");
    EXPECT_EQ(t[kSlotVbr], "yes");
    EXPECT_EQ(t[kSlotMpcStream], "--");
    EXPECT_EQ(t[kSlotProfile], "--");
}

TEST(AttributeTexts, QualityClassAndText) {
    Mp3Info r = Record();
    r.signatureText = "Lame 3.100";
    int quality = -1;
    AttributeTexts t = Texts(r, false, &quality);
    EXPECT_EQ(quality, 1);  // 128 kbps joint stereo from a good encoder
    EXPECT_EQ(t[kSlotQuality], "ok");
    r.avgBitrate = 192;
    t = Texts(r, false, &quality);
    EXPECT_EQ(quality, 2);
    EXPECT_EQ(t[kSlotQuality], "good");
}

TEST(AttributeTexts, MpegPlus) {
    Mp3Info r{};
    r.mpcStreamVersion = 7;
    r.mpcProfile = 2;
    r.avgBitrate = 180;
    r.isVbr = true;
    r.sampleRate = 44100;
    r.duration = 52;
    r.scanComplete = true;
    AttributeTexts t = Texts(r);
    EXPECT_EQ(t[kSlotMpcStream], "SV7");
    EXPECT_EQ(t[kSlotProfile], "Standard");
    EXPECT_EQ(t[kSlotEncoder], "mppenc");
    EXPECT_EQ(t[kSlotType], "mpeg plus");
    EXPECT_EQ(t[kSlotQuality], "good");
    for (const int slot : {kSlotScalefac, kSlotMaxReservoir, kSlotAvgReservoir, kSlotBadLastFrame,
                           kSlotLameTag, kSlotCueSheet, kSlotSyncErrors}) {
        EXPECT_EQ(t[slot], "--") << slot;
    }
    EXPECT_EQ(t[kSlotEmphasis], "");
    EXPECT_EQ(t[kSlotTitle], "");
    r.mpcProfile = 5;
    EXPECT_EQ(Texts(r)[kSlotProfile], "Unknown");
}

TEST(AttributeCatalogue, IdsInOrderAndSlots) {
    const int ids[] = {0,   1,   2,   3,   4,   5,   6,   7,   8,   9,   11,  12,  13,
                       14,  16,  17,  58,  59,  100, 101, 102, 103, 104, 105, 106, 107,
                       108, 109, 110, 111, 112, 200, 201, 202, 203, 204, 205, 206};
    // The settings file stores these ids; later attributes take ids from 300 on.
    const AttributeCatalogue& catalogue = BuildAttributeCatalogue();
    auto it = catalogue.begin();
    for (const int id : ids) {
        ASSERT_NE(it, catalogue.end());
        EXPECT_EQ(it->first, id);
        EXPECT_LE(it->second.textSlot, 41);
        ++it;
    }
    ASSERT_NE(it, catalogue.end());
    EXPECT_EQ(it->first, 300);
    std::set<int> slots;
    std::set<std::string> names;
    for (const auto& [id, attribute] : catalogue) {
        EXPECT_GE(attribute.textSlot, 1) << id;
        EXPECT_LT(attribute.textSlot, AttributeTexts::kSlots) << id;
        EXPECT_TRUE(slots.insert(attribute.textSlot).second) << id;
        // Names are keys of the JSON export.
        EXPECT_TRUE(names.insert(attribute.name).second) << id;
    }
    EXPECT_EQ(FindAttribute(13)->description, "Is there am embedded CUE sheet?");
    EXPECT_EQ(FindAttribute(10), nullptr);
}

// A row keeps its texts packed: every slot reads back as it was, and renaming a row (a longer
// or a shorter name) leaves the other slots alone.
TEST(PackedTexts, SlotsReadBackAfterEveryChange) {
    AttributeTexts texts;
    for (int slot = 1; slot < AttributeTexts::kSlots; ++slot) {
        texts[slot] =
            std::string(static_cast<std::size_t>(slot % 7), static_cast<char>('a' + slot % 26));
    }
    PackedTexts packed(texts);
    // Past 64 KiB of text the slots' ends take four bytes; back under it, two again.
    const std::string book(70000, 'b');
    for (const std::string name :
         {"a much longer name than before.mp3", "x", "", "\xff.mp3", book.c_str(), "short again"}) {
        packed.Set(kSlotName, name);
        texts[kSlotName] = name;
        packed.Set(AttributeTexts::kSlots - 1, name);
        texts[AttributeTexts::kSlots - 1] = name;
        EXPECT_EQ(packed.Unpacked().slots, texts.slots) << name;
    }
    EXPECT_EQ(PackedTexts()[kSlotName], "");
}

}  // namespace
}  // namespace vornik
