// SPDX-License-Identifier: GPL-3.0-or-later
#include "id3v2_tag.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "genre_names.h"
#include "id3v2_builder.h"
#include "scan_helpers.h"
#include "stream_builder.h"

namespace vornik {
namespace {

using test::Id3v2Builder;
using test::StreamBuilder;
using test::TempFile;
using Bytes = std::vector<std::uint8_t>;
using Ids = std::vector<std::string>;
using namespace std::string_literals;

// What Read answers, and the tag.
std::pair<int, Id3v2Tag> ReadTag(const Bytes& bytes) {
    const TempFile file(bytes);
    Id3v2Tag tag;
    const int result = tag.Read(file.path());
    return {result, tag};
}

Ids IdsOf(const Id3v2Tag& tag) {
    Ids ids;
    for (const Id3v2Frame& frame : tag.frames()) {
        ids.push_back(frame.id);
    }
    return ids;
}

// The tag, then a few MPEG frames, as tags stand in front of the audio.
Bytes WithAudio(const Id3v2Builder& tag) {
    return StreamBuilder().bytes(tag.bytes()).frames({}, 3).data();
}

// Through a reader that is open already: by absolute position, leaving its position alone.
TEST(Id3v2Tag, ReadsTheHeaderAndEachFrame) {
    const Id3v2Builder builder =
        Id3v2Builder(3).revision(1).headerFlags(0x20).frame("PRIV", {0, 1, 0xFF}, {0x40, 0x80});
    const TempFile file(WithAudio(Id3v2Builder(builder).totalSize(40)));
    FileReader reader;
    Id3v2Tag tag;
    EXPECT_FALSE(tag.Read(reader));  // not open yet
    ASSERT_TRUE(reader.open(file.path()));
    reader.seek(77);
    ASSERT_TRUE(tag.Read(reader));
    EXPECT_EQ(reader.tell(), 77);
    EXPECT_EQ(tag.path(), file.path());
    EXPECT_EQ(std::tuple(tag.majorVersion(), tag.revision(), tag.flags(), tag.hasExtendedHeader(),
                         tag.size()),
              std::tuple(3, 1, 0x20, false, 40u));
    ASSERT_EQ(IdsOf(tag), Ids{"PRIV"});
    const Id3v2Frame& priv = tag.frames()[0];
    EXPECT_EQ(std::tuple(priv.size, priv.data, priv.flags[0], priv.flags[1]),
              std::tuple(3u, Bytes{0, 1, 0xFF}, 0x40, 0x80));
}

// Each read forgets the tag read before.
TEST(Id3v2Tag, FilesWithoutATagReadNothing) {
    const TempFile tagged(WithAudio(Id3v2Builder(4).revision(2).textFrame("TIT2", "Song")));
    const Bytes files[] = {
        {'I', 'D', '3', 3, 0, 0, 0, 0, 1},  // a header one byte short
        {'i', 'd', '3', 3, 0, 0, 0, 0, 0, 20},
        StreamBuilder().frames({}, 3).data(),
    };
    Id3v2Tag tag;
    for (const Bytes& bytes : files) {
        ASSERT_TRUE(tag.Read(tagged.path()));
        const TempFile file(bytes);
        EXPECT_FALSE(tag.Read(file.path()));
        EXPECT_EQ(std::tuple(tag.path(), tag.present(), tag.frames().size(), tag.size(),
                             tag.majorVersion(), tag.revision()),
                  std::tuple(file.path(), false, 0u, 0u, 3, 0));
    }
    EXPECT_FALSE(tag.Read("/nonexistent/folder/a.mp3"));
    EXPECT_EQ(tag.path(), "/nonexistent/folder/a.mp3");
}

TEST(Id3v2Tag, FindCueSheetLooksOnlyAtTheFirstGeobFrame) {
    const Id3v2Builder titled = Id3v2Builder(3).textFrame("TIT2", "Song");
    // "none": no GEOB frame is listed.
    const std::tuple<const char*, Id3v2Builder, int, std::string> cases[] = {
        {"after a title", Id3v2Builder(titled).geob(), 1, "GEOB"},
        {"in the second GEOB", Id3v2Builder(3).frame("GEOB", {0, 'x'}).geob(), -1, "GEOB"},
        // Encoding, MIME type, file name, description, object: the whole frame is searched.
        {"in the object", Id3v2Builder(titled).textFrame("GEOB", "a/b\0\0Notes\0CUESHEET"s), 1,
         "GEOB"},
        // As UTF-16 writes it, in either byte order: zero bytes beside the letters.
        {"UTF-16LE", Id3v2Builder(3).textFrame("GEOB", "C\0U\0E\0S\0H\0E\0E\0T\0"s), 0, "GEOB"},
        {"UTF-16BE", Id3v2Builder(3).textFrame("GEOB", "\0C\0U\0E\0S\0H\0E\0E\0T"s), 0, "GEOB"},
        {"UTF-16, one letter off", Id3v2Builder(3).textFrame("GEOB", "C\0U\0E\0S\0H\0E\0E\0X\0"s),
         -1, "GEOB"},
        {"in another frame", Id3v2Builder(3).textFrame("TXXX", "CUESHEET"), -1, "none"},
        {"after padding", Id3v2Builder(titled).padding(1).geob().totalSize(400), -1, "none"},
    };
    for (const auto& [name, builder, expected, idTextExpected] : cases) {
        const Id3v2Tag tag = ReadTag(WithAudio(builder)).second;
        std::string idText = "none";
        EXPECT_EQ(tag.FindCueSheet(&idText), expected) << name;
        EXPECT_EQ(idText, idTextExpected) << name;
        EXPECT_EQ(tag.FindCueSheet(nullptr), expected) << name;
    }
}

TEST(Id3v2Tag, FramesListed) {
    const Id3v2Builder titled = Id3v2Builder(3).frame("TIT2", {0, 'S', 'o', 'n', 'g'});
    // 300 bytes are written 00 00 02 2C in 2.4; read plainly that is 556, past the tag's end.
    const Id3v2Builder longTitle = Id3v2Builder(4).textFrame("TIT2", std::string(299, 'a')).geob();
    const Id3v2Builder large =
        Id3v2Builder(3).frame("APIC", Bytes(150000, 0x89)).geob().totalSize(200000);
    // Extended headers: 2.3 gives a plain size that leaves out its own four bytes, 2.4 a syncsafe
    // size that counts them. 200 extra bytes make the size differ between the two readings (206 =
    // 0x00 0x00 0x01 0x4E syncsafe, 0xCE plain): a wrong rule lands in a frame or in the header.
    const auto extended = [](int version) {
        return Id3v2Builder(version).extendedHeader(200).textFrame("TIT2", "Song").geob();
    };
    const std::tuple<const char*, Id3v2Builder, Ids> cases[] = {
        {"2.4 frame sizes are syncsafe", longTitle, {"TIT2", "GEOB"}},
        {"2.3 frame sizes are plain", Id3v2Builder(longTitle).headerVersion(3), {}},
        {"tag above 100000 bytes", large, {"APIC", "GEOB"}},
        {"2.3 extended header", extended(3), {"TIT2", "GEOB"}},
        {"2.4 extended header", extended(4), {"TIT2", "GEOB"}},
        // A frame running past the tag ends the list, although the audio follows.
        {"one byte too large", Id3v2Builder(titled).frameDeclaring("TPE1", 6, Bytes(5)), {"TIT2"}},
        {"largest size", Id3v2Builder(titled).frameDeclaring("APIC", 0xFFFFFFFF, {}), {"TIT2"}},
        {"9 bytes left", Id3v2Builder(titled).raw({'T', 'P', 'E', '1', 0, 0, 0, 0, 0}), {"TIT2"}},
        {"extended header too large",
         Id3v2Builder(3).headerFlags(0x40).raw({0, 0, 0x10, 0}).frame("TIT2", {}),
         {}},
        {"tag of size zero", Id3v2Builder(titled).declaredSize(0), {}},
    };
    for (const auto& [name, builder, ids] : cases) {
        const auto [result, tag] = ReadTag(WithAudio(builder));
        EXPECT_EQ(result, 1) << name;
        EXPECT_EQ(IdsOf(tag), ids) << name;
    }
}

TEST(Id3v2Tag, OnlyTheFirstMebibyteOfAFrameIsKept) {
    constexpr std::size_t kPicture = 3 * 1024 * 1024 + 5;
    Bytes picture(kPicture);
    for (std::size_t i = 0; i < picture.size(); ++i) {
        picture[i] = static_cast<std::uint8_t>(i * 7 + i / 256);
    }
    const Id3v2Tag tag = ReadTag(WithAudio(Id3v2Builder(4).frame("APIC", picture).geob())).second;
    ASSERT_EQ(IdsOf(tag), (Ids{"APIC", "GEOB"}));
    const Id3v2Frame& apic = tag.frames()[0];
    EXPECT_EQ(apic.size, kPicture);
    ASSERT_EQ(apic.data.size(), 1024u * 1024u);
    EXPECT_TRUE(std::equal(apic.data.begin(), apic.data.end(), picture.begin()));
}

// The file ends inside the tag, which claims all of it: the frames that fit are kept.
TEST(Id3v2Tag, FileCutAtEveryLengthKeepsTheFramesThatFit) {
    for (const Id3v2Builder& builder :
         {Id3v2Builder(3).textFrame("TIT2", "Song").geob().padding(12),
          Id3v2Builder(4).extendedHeader(3).frame("TPE1", Bytes(130, 'b')).geob()}) {
        const Bytes whole = builder.bytes();
        const std::vector<std::size_t> ends = builder.frameEnds();
        ASSERT_EQ(ends.size(), 2u);
        for (std::size_t length = 0; length <= whole.size(); ++length) {
            const auto [result, tag] = ReadTag(Bytes(whole.data(), whole.data() + length));
            const std::size_t fitting = std::size_t{length >= ends[0]} + (length >= ends[1]);
            EXPECT_EQ(
                std::tuple(result, tag.present(), tag.frames().size(), tag.FindCueSheet(nullptr)),
                std::tuple(length >= 10 ? 1 : 0, length >= 10, fitting, fitting == 2 ? 1 : -1))
                << length;
        }
    }
}

TEST(GenreName, EdgesAndDistinctNames) {
    EXPECT_EQ(GenreName(0), "Blues");
    EXPECT_EQ(GenreName(147), "Synthpop");
    for (const int index : {-1, 148, 255}) {
        EXPECT_EQ(GenreName(index), "Unknown") << index;
    }
    std::set<std::string_view> names = {"Unknown"};
    for (int i = 0; i < 148; ++i) {
        names.insert(GenreName(i));
    }
    EXPECT_EQ(names.size(), 149u);
}

// Through the whole scan: a 2.4 tag whose cue sheet follows a long title frame.
TEST(Id3v2Scan, CueSheetIsFound) {
    const auto hasCueSheet = [](const Id3v2Builder& tag) {
        return test::ScanBytes(WithAudio(tag), false).record.hasCueSheet;
    };
    EXPECT_TRUE(hasCueSheet(Id3v2Builder(4).textFrame("TIT2", std::string(300, 't')).geob()));
    EXPECT_FALSE(hasCueSheet(Id3v2Builder(3).textFrame("TIT2", "t")));
}

}  // namespace
}  // namespace vornik
