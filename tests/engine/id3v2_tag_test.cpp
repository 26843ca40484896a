#include "id3v2_tag.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "file_reader.h"
#include "genre_names.h"
#include "id3v2_builder.h"
#include "scan_helpers.h"
#include "stream_builder.h"

namespace vornik {
namespace {

using test::GeobSpec;
using test::Id3v2Builder;
using test::StreamBuilder;
using test::TempFile;

using Bytes = std::vector<std::uint8_t>;

struct Parsed {
    int result = -1;
    Id3v2Tag tag;
};

Parsed ReadTag(const Bytes& bytes) {
    const TempFile file(bytes);
    Parsed parsed;
    parsed.result = parsed.tag.Read(file.path());
    return parsed;
}

std::vector<std::string> Ids(const Id3v2Tag& tag) {
    std::vector<std::string> ids;
    for (const Id3v2Frame& frame : tag.frames()) {
        ids.push_back(frame.id);
    }
    return ids;
}

// The tag, then a few MPEG frames, as tags stand in front of the audio.
Bytes WithAudio(const Id3v2Builder& tag) {
    return StreamBuilder().bytes(tag.bytes()).frames({}, 3).data();
}

GeobSpec OtherObject() {
    GeobSpec shape;
    shape.mimeType = "image/png";
    shape.description = "Back cover";
    shape.object = "not a cue sheet";
    return shape;
}

TEST(Id3v2Tag, ReadsTheHeaderAndEachFrame) {
    const auto bytes = WithAudio(Id3v2Builder(3)
                                     .revision(1)
                                     .headerFlags(0x20)
                                     .textFrame("TIT2", "Song")
                                     .frame("PRIV", {0, 1, 0xFF}, {0x40, 0x80})
                                     .totalSize(40));
    const TempFile file(bytes);
    Id3v2Tag tag;
    ASSERT_EQ(tag.Read(file.path()), 1);
    EXPECT_TRUE(tag.present());
    EXPECT_EQ(tag.path(), file.path());
    EXPECT_EQ(tag.majorVersion(), 3);
    EXPECT_EQ(tag.revision(), 1);
    EXPECT_EQ(tag.flags(), 0x20);
    EXPECT_FALSE(tag.hasExtendedHeader());
    EXPECT_EQ(tag.size(), 40u);
    ASSERT_EQ(tag.frames().size(), 2u);
    const Id3v2Frame& title = tag.frames()[0];
    EXPECT_EQ(title.id, "TIT2");
    EXPECT_EQ(title.size, 5u);
    EXPECT_EQ(title.data, (Bytes{0, 'S', 'o', 'n', 'g'}));
    const Id3v2Frame& priv = tag.frames()[1];
    EXPECT_EQ(priv.size, 3u);
    EXPECT_EQ(priv.data, (Bytes{0, 1, 0xFF}));
    EXPECT_EQ(priv.flags[0], 0x40);
    EXPECT_EQ(priv.flags[1], 0x80);
}

TEST(Id3v2Tag, FilesWithoutATagReadNothing) {
    const std::vector<Bytes> files{
        {},
        {'I', 'D', '3'},
        {'I', 'D', '3', 3, 0, 0, 0, 0, 1},  // a header one byte short
        {'i', 'd', '3', 3, 0, 0, 0, 0, 0, 20},
        StreamBuilder().frames({}, 3).data(),
    };
    for (std::size_t i = 0; i < files.size(); ++i) {
        const auto parsed = ReadTag(files[i]);
        EXPECT_EQ(parsed.result, 0) << i;
        EXPECT_FALSE(parsed.tag.present()) << i;
        EXPECT_TRUE(parsed.tag.frames().empty()) << i;
    }

    Id3v2Tag tag;
    EXPECT_EQ(tag.Read(""), 0);
    EXPECT_EQ(tag.Read("/nonexistent/folder/a.mp3"), 0);
    EXPECT_EQ(tag.path(), "/nonexistent/folder/a.mp3");
    EXPECT_FALSE(tag.present());
}

TEST(Id3v2Tag, ReadingAnotherFileForgetsThePreviousTag) {
    const TempFile tagged(WithAudio(Id3v2Builder(4).revision(2).textFrame("TIT2", "Song")));
    const TempFile plain(StreamBuilder().frames({}, 3).data());
    Id3v2Tag tag;
    ASSERT_EQ(tag.Read(tagged.path()), 1);
    ASSERT_EQ(tag.majorVersion(), 4);
    EXPECT_EQ(tag.Read(plain.path()), 0);
    EXPECT_EQ(tag.path(), plain.path());
    EXPECT_FALSE(tag.present());
    EXPECT_TRUE(tag.frames().empty());
    EXPECT_EQ(tag.size(), 0u);
    EXPECT_EQ(tag.majorVersion(), 3);
    EXPECT_EQ(tag.revision(), 0);
}

TEST(Id3v2Tag, ReadThroughAnOpenReaderLeavesItsPositionAlone) {
    const TempFile file(WithAudio(Id3v2Builder(3).textFrame("TIT2", "Song").geob()));
    FileReader reader;
    Id3v2Tag tag;
    EXPECT_EQ(tag.Read(reader), 0);  // not open yet

    ASSERT_TRUE(reader.open(file.path()));
    reader.seek(77);
    ASSERT_EQ(tag.Read(reader), 1);
    EXPECT_EQ(reader.tell(), 77);
    EXPECT_EQ(tag.path(), file.path());
    EXPECT_EQ(Ids(tag), (std::vector<std::string>{"TIT2", "GEOB"}));
    EXPECT_EQ(tag.FindCueSheet(nullptr), 1);
}

struct CueCase {
    const char* name;
    Id3v2Builder tag;
    int expected;
    std::string idText;  // "none" when no GEOB frame is listed
};

TEST(Id3v2Tag, FindCueSheetLooksOnlyAtTheFirstGeobFrame) {
    GeobSpec inObject;
    inObject.mimeType = "text/plain";
    inObject.description = "Album notes";
    inObject.object = "REM notes\nCUESHEET follows\n";
    GeobSpec wide;
    wide.encoding = 1;  // UTF-16: zero bytes between the letters, so the 8-bit text is absent
    GeobSpec utf8;
    utf8.encoding = 3;
    GeobSpec inFileName;
    inFileName.description = "";
    inFileName.fileName = "album.CUESHEET";

    const std::vector<CueCase> cases{
        {"AfterATitle", Id3v2Builder(3).textFrame("TIT2", "Song").geob(), 1, "GEOB"},
        {"Version4", Id3v2Builder(4).textFrame("TIT2", "Song").geob(), 1, "GEOB"},
        {"OnlyTheSecondGeobHoldsIt", Id3v2Builder(3).geob(OtherObject()).geob(), -1, "GEOB"},
        {"InTheObjectAfterMimeAndDescription", Id3v2Builder(3).geob(inObject), 0, "GEOB"},
        {"InTheFileName", Id3v2Builder(3).geob(inFileName), 0, "GEOB"},
        {"Utf8Description", Id3v2Builder(3).geob(utf8), 0, "GEOB"},
        {"Utf16Description", Id3v2Builder(3).geob(wide), -1, "GEOB"},
        {"NoGeobButTheTextElsewhere", Id3v2Builder(3).textFrame("TXXX", "CUESHEET"), -1, "none"},
        {"NoFrames", Id3v2Builder(3).padding(50), -1, "none"},
    };
    for (const CueCase& c : cases) {
        const auto parsed = ReadTag(WithAudio(c.tag));
        std::string idText = "none";
        EXPECT_EQ(parsed.tag.FindCueSheet(&idText), c.expected) << c.name;
        EXPECT_EQ(idText, c.idText) << c.name;
        EXPECT_EQ(parsed.tag.FindCueSheet(nullptr), c.expected) << c.name;
    }
}

TEST(Id3v2Tag, PaddingEndsTheFrameList) {
    const auto parsed = ReadTag(
        WithAudio(Id3v2Builder(3).textFrame("TIT2", "Song").padding(1).geob().totalSize(400)));
    EXPECT_EQ(parsed.result, 1);
    EXPECT_EQ(Ids(parsed.tag), (std::vector<std::string>{"TIT2"}));
    EXPECT_EQ(parsed.tag.FindCueSheet(nullptr), -1);
}

TEST(Id3v2Tag, ExtendedHeaderIsSkippedByItsVersionsRule) {
    // 2.3: plain size that leaves out its own four bytes; 2.4: syncsafe size that counts them.
    // Extra bytes make the size field differ between the two readings (206 = 0x00 0x00 0x01 0x4E
    // syncsafe, 0xCE plain), so a wrong rule lands inside a frame or inside the header.
    for (const int version : {3, 4}) {
        for (const std::size_t extra : {0u, 4u, 200u}) {
            const auto parsed = ReadTag(WithAudio(
                Id3v2Builder(version).extendedHeader(extra).textFrame("TIT2", "Song").geob()));
            EXPECT_TRUE(parsed.tag.hasExtendedHeader());
            EXPECT_EQ(Ids(parsed.tag), (std::vector<std::string>{"TIT2", "GEOB"}))
                << version << " " << extra;
            EXPECT_EQ(parsed.tag.FindCueSheet(nullptr), 1) << version << " " << extra;
        }
    }
}

TEST(Id3v2Tag, Version4FrameSizesAreSyncsafe) {
    // 300 bytes are written 00 00 02 2C in 2.4; read plainly that is 556, past the tag's end.
    const auto build = [](std::uint8_t headerVersion) {
        return Id3v2Builder(4)
            .headerVersion(headerVersion)
            .textFrame("TIT2", std::string(299, 'a'))  // 300 bytes with the encoding byte
            .geob()
            .totalSize(500);
    };
    const auto v4 = ReadTag(WithAudio(build(4)));
    ASSERT_EQ(Ids(v4.tag), (std::vector<std::string>{"TIT2", "GEOB"}));
    EXPECT_EQ(v4.tag.frames()[0].size, 300u);
    EXPECT_EQ(v4.tag.frames()[0].data.size(), 300u);
    EXPECT_EQ(v4.tag.FindCueSheet(nullptr), 1);

    const auto asV3 = ReadTag(WithAudio(build(3)));
    EXPECT_EQ(asV3.result, 1);
    EXPECT_TRUE(asV3.tag.frames().empty());
    EXPECT_EQ(asV3.tag.FindCueSheet(nullptr), -1);
}

TEST(Id3v2Tag, TagsAbove100000BytesAreRead) {
    for (const int version : {3, 4}) {
        const auto parsed = ReadTag(WithAudio(Id3v2Builder(version)
                                                  .textFrame("TIT2", "Song")
                                                  .frame("APIC", Bytes(150000, 0x89))
                                                  .geob()
                                                  .totalSize(200000)));
        EXPECT_EQ(parsed.tag.size(), 200000u);
        ASSERT_EQ(Ids(parsed.tag), (std::vector<std::string>{"TIT2", "APIC", "GEOB"})) << version;
        EXPECT_EQ(parsed.tag.frames()[1].size, 150000u);
        EXPECT_EQ(parsed.tag.frames()[1].data.size(), 150000u);
        EXPECT_EQ(parsed.tag.FindCueSheet(nullptr), 2) << version;
    }
}

TEST(Id3v2Tag, OnlyTheFirstMebibyteOfAFrameIsKept) {
    constexpr std::size_t kPicture = 3 * 1024 * 1024 + 5;
    Bytes picture(kPicture);
    for (std::size_t i = 0; i < picture.size(); ++i) {
        picture[i] = static_cast<std::uint8_t>(i * 7 + i / 256);
    }
    const auto parsed = ReadTag(WithAudio(Id3v2Builder(4).frame("APIC", picture).geob()));
    ASSERT_EQ(Ids(parsed.tag), (std::vector<std::string>{"APIC", "GEOB"}));
    const Id3v2Frame& apic = parsed.tag.frames()[0];
    EXPECT_EQ(apic.size, kPicture);
    ASSERT_EQ(apic.data.size(), 1024u * 1024u);
    EXPECT_TRUE(std::equal(apic.data.begin(), apic.data.end(), picture.begin()));
    EXPECT_EQ(parsed.tag.FindCueSheet(nullptr), 1);
}

TEST(Id3v2Tag, AFrameRunningPastTheTagOrTheFileEndsTheList) {
    const Bytes title{0, 'S', 'o', 'n', 'g'};
    const Id3v2Builder exact = Id3v2Builder(3).frame("TIT2", title).geob();
    const std::size_t geobData = exact.frameEnds()[1] - exact.frameEnds()[0] - 10;

    struct Case {
        const char* name;
        Bytes file;
        std::vector<std::string> ids;
    };
    const std::vector<Case> cases{
        {"FramesFillTheTagToItsLastByte", WithAudio(exact), {"TIT2", "GEOB"}},
        {"SizeOneByteTooLargeWithAudioAfter",
         WithAudio(Id3v2Builder(3)
                       .frame("TIT2", title)
                       .frameDeclaring("GEOB", static_cast<std::uint32_t>(geobData + 1),
                                       Bytes(geobData, 'x'))),
         {"TIT2"}},
        {"SizeReachingIntoTheAudio",
         WithAudio(Id3v2Builder(3).frame("TIT2", title).frameDeclaring("APIC", 1000, Bytes(20))),
         {"TIT2"}},
        {"LargestPlainSize",
         WithAudio(Id3v2Builder(3).frame("TIT2", title).frameDeclaring("APIC", 0xFFFFFFFF, {})),
         {"TIT2"}},
        {"LargestSyncsafeSize",
         WithAudio(Id3v2Builder(4).frame("TIT2", title).frameDeclaring("APIC", 0x0FFFFFFF, {})),
         {"TIT2"}},
        {"TagLargerThanTheFileWhoseFramesFit",
         Id3v2Builder(3).declaredSize(100000).frame("TIT2", title).geob().bytes(),
         {"TIT2", "GEOB"}},
        {"FrameRunsPastTheFileEnd",
         Id3v2Builder(3)
             .declaredSize(100000)
             .frame("TIT2", title)
             .frameDeclaring("APIC", 500, Bytes(499))
             .bytes(),
         {"TIT2"}},
        {"NineBytesLeftForAHeader",
         WithAudio(Id3v2Builder(3).frame("TIT2", title).raw({'T', 'P', 'E', '1', 0, 0, 0, 0, 0})),
         {"TIT2"}},
        {"ExtendedHeaderLargerThanTheTag",
         WithAudio(Id3v2Builder(3).headerFlags(0x40).raw({0, 0, 0x10, 0}).frame("TIT2", title)),
         {}},
        {"TagOfSizeZero", WithAudio(Id3v2Builder(3).declaredSize(0).frame("TIT2", title)), {}},
    };
    for (const Case& c : cases) {
        const auto parsed = ReadTag(c.file);
        EXPECT_EQ(parsed.result, 1) << c.name;
        EXPECT_EQ(Ids(parsed.tag), c.ids) << c.name;
    }
}

TEST(Id3v2Tag, FileCutAtEveryLengthKeepsTheFramesThatFit) {
    const std::vector<Id3v2Builder> tags{
        Id3v2Builder(3).textFrame("TIT2", "Song").geob().padding(12),
        Id3v2Builder(4).extendedHeader(3).frame("TPE1", Bytes(130, 'b')).geob(),
    };
    for (const Id3v2Builder& builder : tags) {
        const Bytes whole = builder.bytes();
        const std::vector<std::size_t> ends = builder.frameEnds();
        ASSERT_EQ(ends.size(), 2u);
        for (std::size_t length = 0; length <= whole.size(); ++length) {
            const auto parsed = ReadTag(Bytes(whole.data(), whole.data() + length));
            const std::size_t fitting = std::size_t{length >= ends[0]} + (length >= ends[1]);
            EXPECT_EQ(parsed.result, length >= 10 ? 1 : 0) << length;
            EXPECT_EQ(parsed.tag.present(), length >= 10) << length;
            EXPECT_EQ(parsed.tag.frames().size(), fitting) << length;
            EXPECT_EQ(parsed.tag.FindCueSheet(nullptr), fitting == 2 ? 1 : -1) << length;
        }
    }
}

TEST(GenreName, NamesByIndex) {
    const std::vector<std::pair<int, std::string_view>> rows{
        {0, "Blues"},      {1, "Classic Rock"}, {17, "Rock"},        {40, "Alt. Rock"},
        {79, "Hard Rock"}, {80, "Folk"},        {125, "Dance Hall"}, {131, "Indie"},
        {146, "JPop"},     {147, "Synthpop"},   {148, "Unknown"},    {255, "Unknown"},
        {-1, "Unknown"},
    };
    for (const auto& [index, name] : rows) {
        EXPECT_EQ(GenreName(index), name) << index;
    }
}

TEST(GenreName, EveryIndexBelow148HasItsOwnName) {
    std::set<std::string_view> names;
    for (int i = 0; i < 148; ++i) {
        EXPECT_NE(GenreName(i), "Unknown") << i;
        EXPECT_FALSE(GenreName(i).empty()) << i;
        names.insert(GenreName(i));
    }
    EXPECT_EQ(names.size(), 148u);
}

}  // namespace
}  // namespace vornik

namespace vornik {
namespace {

// Through the whole scan: a 2.4 tag whose cue sheet follows a long title frame, and the audio
// after the tag.
TEST(Id3v2Scan, CueSheetBehindALongFrameIsFound) {
    const auto tag =
        test::Id3v2Builder(4).textFrame("TIT2", std::string(300, 't')).geob().padding(50).bytes();
    const auto scan =
        test::ScanBytes(test::StreamBuilder().bytes(tag).frames({}, 10).data(), false);
    EXPECT_TRUE(scan.record.hasId3v2);
    EXPECT_TRUE(scan.record.hasCueSheet);
    EXPECT_EQ(scan.record.audioStart, static_cast<std::int64_t>(tag.size()));

    const auto plain = test::Id3v2Builder(3).textFrame("TIT2", "t").bytes();
    EXPECT_FALSE(test::ScanBytes(test::StreamBuilder().bytes(plain).frames({}, 10).data(), false)
                     .record.hasCueSheet);
}

}  // namespace
}  // namespace vornik
