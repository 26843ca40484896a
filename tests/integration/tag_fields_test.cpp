// SPDX-License-Identifier: GPL-3.0-or-later
// ID3v2 and APEv2 fields of tags that mutagen writes, or that the test builds and mutagen
// reads, against mutagen's reading of them.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>

#include "attribute_texts.h"
#include "encoder_support.h"
#include "id3v2_builder.h"
#include "replay_gain.h"
#include "scan_helpers.h"

namespace vornik {
namespace {

std::string Script() {
    return "/usr/bin/python3 '" VORNIK_TESTS_DIR "/integration/mutagen_tags.py' ";
}

nlohmann::json MutagenRead(const std::string& path) {
    std::string output;
    EXPECT_EQ(test::RunCommand(Script() + "read '" + path + "'", &output), 0) << output;
    return nlohmann::json::parse(output);
}

std::string LameFile(const test::TempDir& dir) {
    test::WriteTestSignal(dir.file("in.wav"), 44100, 2, 2.0);
    const std::string mp3 = dir.file("out.mp3");
    EXPECT_EQ(test::RunCommand("lame --quiet -V 5 '" + dir.file("in.wav") + "' '" + mp3 + "'"), 0);
    return mp3;
}

void ExpectFieldsAsMutagen(const TagFields& f, const nlohmann::json& peer) {
    EXPECT_EQ(f.title, peer.value("title", ""));
    EXPECT_EQ(f.artist, peer.value("artist", ""));
    EXPECT_EQ(f.album, peer.value("album", ""));
    EXPECT_EQ(f.year, peer.value("year", ""));
    EXPECT_EQ(f.track, peer.value("track", ""));
    EXPECT_EQ(f.genre, peer.value("genre", ""));
    EXPECT_EQ(f.comment, peer.value("comment", ""));
    EXPECT_EQ(f.trackGain, peer.value("replaygain_track_gain", ""));
    EXPECT_EQ(f.trackPeak, peer.value("replaygain_track_peak", ""));
    EXPECT_EQ(f.albumGain, peer.value("replaygain_album_gain", ""));
}

struct WrittenCase {
    int version;
    int encoding;
};

class MutagenTags : public testing::TestWithParam<WrittenCase> {};

TEST_P(MutagenTags, FieldsAsMutagenReadsThem) {
    const WrittenCase c = GetParam();
    const test::TempDir dir;
    const std::string mp3 = LameFile(dir);
    ASSERT_EQ(test::RunCommand(Script() + "write '" + mp3 + "' " + std::to_string(c.version) + " " +
                               std::to_string(c.encoding)),
              0);
    const nlohmann::json peer = MutagenRead(mp3);
    const auto scan = test::ScanPath(mp3);
    const Mp3Info& r = scan.record;
    EXPECT_EQ(r.id3v2Version, peer["version"].get<int>());
    ExpectFieldsAsMutagen(*r.id3v2Fields, peer);
    EXPECT_EQ(r.pictureType, peer["picture_type"].get<int>());
    EXPECT_EQ(r.pictureSize, peer["picture_size"].get<std::uint32_t>());

    const nlohmann::json& ape = peer["ape"];
    EXPECT_EQ(r.apeVersion, 2000);
    EXPECT_EQ(r.apeFields->title, ape["title"]);
    EXPECT_EQ(r.apeFields->artist, ape["artist"]);
    EXPECT_EQ(r.apeFields->trackGain, ape["replaygain_track_gain"]);

    // ID3v2 comes first; the APE tag's items are there too.
    AttributeTexts texts;
    ComputeAttributeTexts(texts, r, false);
    EXPECT_EQ(texts[kSlotTrackGain], "-6.50 dB (ID3v2)");
    EXPECT_EQ(texts[kSlotTrackPeak], "0.988235 (ID3v2)");
    EXPECT_EQ(texts[kSlotAlbumGain], "-7.10 dB (ID3v2)");
    EXPECT_EQ(texts[kSlotTags], "ID3v2." + std::to_string(c.version) + ", APEv2");
    EXPECT_EQ(texts[kSlotPicture], "Cover (front), " + std::to_string(r.pictureSize) + " bytes");
    EXPECT_TRUE(scan.record.scanComplete);
}

INSTANTIATE_TEST_SUITE_P(Versions, MutagenTags,
                         testing::Values(WrittenCase{3, 0}, WrittenCase{3, 1}, WrittenCase{4, 1},
                                         WrittenCase{4, 2}, WrittenCase{4, 3}),
                         [](const testing::TestParamInfo<WrittenCase>& info) {
                             return "v2_" + std::to_string(info.param.version) + "_encoding_" +
                                    std::to_string(info.param.encoding);
                         });

// Tags mutagen does not write: ID3v2.2, and 2.3 unsynchronised as a whole.
TEST(MutagenTags, BuiltTagsReadAsMutagenReadsThem) {
    const test::TempDir dir;
    const std::string mp3 = LameFile(dir);
    std::vector<char> audio;
    {
        std::ifstream in(mp3, std::ios::binary);
        audio.assign(std::istreambuf_iterator<char>(in), {});
    }
    const auto text = [](const std::string& value) {
        std::vector<std::uint8_t> data{1, 0xFF, 0xFE};  // UTF-16 with a byte order mark
        for (const char c : value) {
            data.insert(data.end(), {static_cast<std::uint8_t>(c), 0});
        }
        return data;
    };
    const std::vector<std::vector<std::uint8_t>> tags = {
        test::Id3v2Builder(2)
            .frame("TT2", text("Two two"))
            .frame("TP1", text("Old artist"))
            .frame("TYE", text("1998"))
            .frame("TCO", text("(8)"))
            .bytes(),
        test::Id3v2Builder(3)
            .frame("TIT2", {0, 0xFF, 'y', 0xFF, 0xE0})
            .frame("TALB", text("Unsynchronised"))
            .frame("TRCK", text("7"))
            .unsynchronise()
            .bytes(),
    };
    for (const auto& tag : tags) {
        const std::string path = dir.file("built.mp3");
        {
            std::ofstream out(path, std::ios::binary);
            out.write(reinterpret_cast<const char*>(tag.data()),
                      static_cast<std::streamsize>(tag.size()));
            out.write(audio.data(), static_cast<std::streamsize>(audio.size()));
        }
        const nlohmann::json peer = MutagenRead(path);
        const auto scan = test::ScanPath(path);
        EXPECT_EQ(scan.record.id3v2Version, peer["version"].get<int>());
        ExpectFieldsAsMutagen(*scan.record.id3v2Fields, peer);
        EXPECT_TRUE(scan.record.lameTagValid);
    }
}

}  // namespace
}  // namespace vornik
