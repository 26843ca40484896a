// SPDX-License-Identifier: GPL-3.0-or-later
// ID3v2 fields of every version, and the tags at the end of a file, from tags built byte by
// byte.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "end_tag_builders.h"
#include "id3v2_builder.h"
#include "scan_helpers.h"
#include "stream_builder.h"
#include "tag_text.h"

namespace vornik {
namespace {

using Bytes = std::vector<std::uint8_t>;
using test::ApeItem;
using test::Id3v2Builder;
using test::ScanBytes;
using test::StreamBuilder;

Bytes Concat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

Bytes Audio() {
    return StreamBuilder().frames({}, 20).data();
}

Bytes Id3v1() {
    return StreamBuilder().id3v1("v1 title", 4).data();
}

// Encoding byte, then the bytes as they stand.
Bytes Text(std::uint8_t encoding, const Bytes& text) {
    Bytes data{encoding};
    data.insert(data.end(), text.begin(), text.end());
    return data;
}

Bytes Latin1(const std::string& text) {
    return Text(0, Bytes(text.begin(), text.end()));
}

TEST(TagText, EncodingsAndTerminators) {
    struct Case {
        const char* name;
        TagEncoding encoding;
        Bytes bytes;
        std::vector<std::string> values;
    };
    const std::vector<Case> cases = {
        {"Latin-1 above 0x7F", TagEncoding::Latin1, {'A', 0xE9, 0xFF}, {"A\xC3\xA9\xC3\xBF"}},
        {"UTF-16 LE with BOM", TagEncoding::Utf16, {0xFF, 0xFE, 'h', 0, 'i', 0}, {"hi"}},
        {"UTF-16 BE with BOM",
         TagEncoding::Utf16,
         {0xFE, 0xFF, 0, 'h', 0x26, 0x6B},
         {"h\xE2\x99\xAB"}},
        {"UTF-16 BE", TagEncoding::Utf16Be, {0xD8, 0x34, 0xDD, 0x1E}, {"\xF0\x9D\x84\x9E"}},
        {"unpaired surrogate", TagEncoding::Utf16Be, {0xD8, 0x34, 0, 'x'}, {"\xEF\xBF\xBDx"}},
        {"values apart by zeros", TagEncoding::Utf8, {'a', 0, 0, 'b', 0}, {"a", "b"}},
        {"UTF-16 values, each with its BOM",
         TagEncoding::Utf16,
         {0xFF, 0xFE, 'a', 0, 0, 0, 0xFE, 0xFF, 0, 'b'},
         {"a", "b"}},
        {"odd byte at the end", TagEncoding::Utf16Be, {0, 'a', 0}, {"a"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TagTextReader(c.bytes, c.encoding).Values(), c.values) << c.name;
    }
}

TEST(Id3v2Fields, Version22ThreeLetterFrames) {
    Bytes picture = Latin1("PNG");
    picture.insert(picture.end(), {4, 'd', 0, 1, 2, 3, 4, 5});  // type 4, "d", five bytes
    const Bytes tag = Id3v2Builder(2)
                          .frame("TT2", Latin1("Title two"))
                          .frame("TP1", Latin1("Artist two"))
                          .frame("TCO", Latin1("(17)"))
                          .frame("TYE", Latin1("1999"))
                          .frame("COM", Latin1(std::string("eng\0Said", 8)))
                          .frame("PIC", picture)
                          .padding(20)
                          .bytes();
    const auto scan = ScanBytes(Concat({tag, Audio()}));
    const Mp3Info& r = scan.record;
    EXPECT_EQ(r.id3v2Version, 2);
    EXPECT_EQ(r.id3v2Fields->title, "Title two");
    EXPECT_EQ(r.id3v2Fields->artist, "Artist two");
    EXPECT_EQ(r.id3v2Fields->genre, "Rock");
    EXPECT_EQ(r.id3v2Fields->year, "1999");
    EXPECT_EQ(r.id3v2Fields->comment, "Said");
    EXPECT_EQ(r.pictureType, 4);
    EXPECT_EQ(r.pictureSize, 5u);
    EXPECT_EQ(r.frameCount, 19);
}

TEST(Id3v2Fields, Version23WholeTagUnsynchronisation) {
    // 0xFF in the title: stuffed with a zero that only a reader undoing the whole tag removes
    // before it finds the next frame's header.
    const Bytes tag = Id3v2Builder(3)
                          .frame("TIT2", Latin1("\xFF\xFF title"))
                          .frame("TPE1", Latin1("after"))
                          .frame("TXXX", Text(0, {'R', 'E', 'P', 'L', 'A', 'Y', 'G', 'A', 'I',
                                                  'N', '_', 'T', 'R', 'A', 'C', 'K', '_', 'G',
                                                  'A', 'I', 'N', 0,   '-', '3', ' ', 'd', 'B'}))
                          .unsynchronise()
                          .bytes();
    const auto scan = ScanBytes(Concat({tag, Audio()}));
    EXPECT_EQ(scan.record.id3v2Fields->title, "\xC3\xBF\xC3\xBF title");
    EXPECT_EQ(scan.record.id3v2Fields->artist, "after");
    EXPECT_EQ(scan.record.id3v2Fields->trackGain, "-3 dB");
}

TEST(Id3v2Fields, Version24FrameFormats) {
    // Per-frame unsynchronisation with a data length indicator in front.
    Bytes formatted = {0, 0, 0, 6};
    formatted.insert(formatted.end(), {3, 'a', 0xFF, 0x00, 0xFE, 'b'});
    const Bytes grouped = Concat({{7}, Latin1("grouped")});
    const Bytes tag =
        Id3v2Builder(4)
            .frame("TIT2", formatted, {0, 0x03})
            .frame("TPE1", Latin1("compressed"), {0, 0x08})
            .frame("TALB", grouped, {0, 0x40})
            .frame("TDRC", Text(3, {'2', '0', '0', '4', '-', '0', '5'}))
            .frame("TCON", Text(3, {'R', 'o', 'c', 'k', 0, '1', '7', 0, '(', '8', ')', 0}))
            .bytes();
    const auto scan = ScanBytes(Concat({tag, Audio()}));
    const TagFields& f = *scan.record.id3v2Fields;
    EXPECT_EQ(f.title,
              "a\xFF\xFE"
              "b");
    EXPECT_EQ(f.artist, "");  // compressed frames are passed over
    EXPECT_EQ(f.album, "grouped");
    EXPECT_EQ(f.year, "2004-05");
    EXPECT_EQ(f.genre, "Rock / Rock / Jazz");
}

TEST(Id3v2Fields, CueSheetDescribedInUtf16) {
    test::GeobShape geob;
    geob.encoding = 1;
    const Bytes tag = Id3v2Builder(3).geob(geob).bytes();
    EXPECT_TRUE(ScanBytes(Concat({tag, Audio()})).record.hasCueSheet);
    geob.encoding = 2;
    EXPECT_TRUE(
        ScanBytes(Concat({Id3v2Builder(3).geob(geob).bytes(), Audio()})).record.hasCueSheet);
}

TEST(EndTags, ApeAndLyricsInEveryOrder) {
    const Bytes ape = test::ApeTag({{"Title", "ape title"},
                                    {"ARTIST", std::string("one\0two", 7), 0},
                                    {"Cover Art (Front)", std::string(300, 'x'), 2},
                                    {"Replaygain_Album_Gain", "-2.5 dB"}});
    const Bytes apeV1 = test::ApeTag({{"Title", "v1 \xE9"}}, 1000, false);
    const Bytes lyrics = test::Lyrics3v2("la la");
    struct Case {
        const char* name;
        Bytes tail;
        int apeVersion;
        bool lyrics;
        bool id3v1;
    };
    const std::vector<Case> cases = {
        {"APEv2 at the end", ape, 2000, false, false},
        {"APEv2 before ID3v1", Concat({ape, Id3v1()}), 2000, false, true},
        {"APEv1, Lyrics3, ID3v1", Concat({apeV1, lyrics, Id3v1()}), 1000, true, true},
        {"Lyrics3, APEv2, ID3v1", Concat({lyrics, ape, Id3v1()}), 2000, true, true},
        {"Lyrics3 alone", Concat({lyrics, Id3v1()}), 0, true, true},
        {"no tags", {}, 0, false, false},
    };
    const Bytes audio = Audio();
    for (const Case& c : cases) {
        const auto scan = ScanBytes(Concat({audio, c.tail}));
        const Mp3Info& r = scan.record;
        EXPECT_EQ(r.apeVersion, c.apeVersion) << c.name;
        EXPECT_EQ(r.hasLyrics3, c.lyrics) << c.name;
        EXPECT_EQ(r.hasId3v1, c.id3v1) << c.name;
        EXPECT_EQ(r.endTagsStart, static_cast<std::int64_t>(audio.size())) << c.name;
        if (c.apeVersion == 2000) {
            EXPECT_EQ(r.apeFields->title, "ape title") << c.name;
            EXPECT_EQ(r.apeFields->artist, "one / two") << c.name;
            EXPECT_EQ(r.apeFields->albumGain, "-2.5 dB") << c.name;
        } else if (c.apeVersion == 1000) {
            EXPECT_EQ(r.apeFields->title, "v1 \xC3\xA9") << c.name;
        }
    }
}

TEST(EndTags, DamagedApeTagsReadNothingOutside) {
    const Bytes audio = Audio();
    // The footer claims more than the file holds, or an item runs past the footer.
    Bytes tooLarge = test::ApeTag({{"Title", "x"}}, 2000, false, 1 << 30);
    auto scan = ScanBytes(Concat({audio, tooLarge}));
    EXPECT_EQ(scan.record.apeVersion, 0);
    EXPECT_EQ(scan.record.endTagsStart, static_cast<std::int64_t>(audio.size() + tooLarge.size()));

    Bytes longItem = test::ApeTag({{"Title", "abc"}, {"Artist", "def"}}, 2000, false);
    longItem[0] = 0xF0;  // the first item's value size
    scan = ScanBytes(Concat({audio, longItem}));
    EXPECT_EQ(scan.record.apeVersion, 2000);
    EXPECT_EQ(scan.record.apeFields->title, "");
    EXPECT_EQ(scan.record.endTagsStart, static_cast<std::int64_t>(audio.size()));
}

}  // namespace
}  // namespace vornik
