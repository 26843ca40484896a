// SPDX-License-Identifier: GPL-3.0-or-later
// Tags written by real encoders: the Xing/Info and Lame fields against what the encoder was
// told and against mutagen, the music CRC, encoder names, ID3 tags.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>

#include "encoder_support.h"
#include "mp3_file.h"
#include "scan_helpers.h"

namespace vornik {
namespace {

struct TagCase {
    const char* name;
    const char* command;    // %s: input, then output
    const char* signature;  // exact, or a prefix when it ends in '*'
    int vbrMethod;          // -1: no Lame tag fields to check
    int abrBitrate;         // -1: don't care
    int lowpass;            // -1: don't care
};

const TagCase kLameCases[] = {
    {"lame_v0", "lame --quiet -V 0 %s %s", "Lame 3.100", 4, -1, -1},
    {"lame_v2", "lame --quiet -V 2 %s %s", "Lame 3.100", 4, -1, -1},
    {"lame_vbr_old", "lame --quiet --vbr-old -V 4 %s %s", "Lame 3.100", 3, -1, -1},
    {"lame_abr", "lame --quiet --abr 160 %s %s", "Lame 3.100", 2, 160, -1},
    {"lame_cbr", "lame --quiet -b 192 --lowpass 16 %s %s", "Lame 3.100", 1, 192, 16000},
    {"ffmpeg_libmp3lame", "ffmpeg -loglevel error -y -i %s -c:a libmp3lame -b:a 128k %s",
     "FFmpeg (Lavc*", 0, -1, -1},
    {"ffmpeg_libshine", "ffmpeg -loglevel error -y -i %s -c:a libshine -b:a 128k %s",
     "FFmpeg (Lavc*", 0, -1, -1},
};

std::string Encode(const test::TempDir& dir, const char* command, const std::string& name) {
    const std::string wav = dir.file("in.wav");
    if (!std::filesystem::exists(wav)) {
        test::WriteTestSignal(wav, 44100, 2, 5.0);
    }
    const std::string out = dir.file(name);
    char line[512];
    std::snprintf(line, sizeof line, command, ("'" + wav + "'").c_str(), ("'" + out + "'").c_str());
    std::string log;
    EXPECT_EQ(test::RunCommand(line, &log), 0) << line << "\n" << log;
    return out;
}

nlohmann::json Mutagen(const std::string& path) {
    std::string output;
    test::RunCommand("/usr/bin/python3 '" VORNIK_TESTS_DIR "/integration/mutagen_lame.py' '" +
                         path + "' 2>/dev/null",
                     &output);
    return nlohmann::json::parse(output);
}

struct CrcCheck {
    bool done;
    bool ok;
};

CrcCheck MusicCrc(const std::string& path) {
    CMp3File file;
    EXPECT_TRUE(file.Open(path));
    Mp3Info record{};
    file.ProcessFrames(false, record, -1, nullptr, nullptr);
    file.ComputeMusicCrc(record, nullptr);
    return {record.musicCrcDone, record.musicCrcOk};
}

void FlipByte(const std::string& path, std::int64_t at) {
    std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
    file.seekg(at);
    const char byte = static_cast<char>(file.get());
    file.seekp(at);
    file.put(static_cast<char>(byte ^ 0x20));
}

class LameTags : public testing::TestWithParam<TagCase> {};

void PrintTo(const TagCase& c, std::ostream* out) {
    *out << c.name;
}

TEST_P(LameTags, FieldsCrcAndName) {
    const TagCase& c = GetParam();
    const test::TempDir dir;
    const std::string path = Encode(dir, c.command, std::string(c.name) + ".mp3");
    const auto scan = test::ScanPath(path);
    ASSERT_EQ(scan.error, "");
    const Mp3Info& r = scan.record;

    const std::string signature = c.signature;
    if (signature.back() == '*') {
        EXPECT_EQ(r.signatureText.substr(0, signature.size() - 1),
                  signature.substr(0, signature.size() - 1));
        EXPECT_EQ(r.signatureText.back(), ')');
    } else {
        EXPECT_EQ(r.signatureText, signature);
    }
    EXPECT_TRUE(r.hasXing);
    EXPECT_TRUE(r.lameTagValid);
    EXPECT_EQ(r.xingFrames + 1u, static_cast<std::uint32_t>(r.frameCount + 1));
    EXPECT_EQ(r.lameVbrMethod, c.vbrMethod);
    if (c.abrBitrate >= 0) {
        EXPECT_EQ(r.lameAbrBitrate, c.abrBitrate);
    }
    if (c.lowpass >= 0) {
        EXPECT_EQ(r.lameLowpass, static_cast<std::uint32_t>(c.lowpass));
    }
    EXPECT_EQ(r.lameMusicLength, static_cast<std::uint32_t>(r.fileSize - r.audioStart));

    const nlohmann::json m = Mutagen(path);
    ASSERT_TRUE(m.is_object());
    EXPECT_EQ(m["frames"], r.xingFrames);
    EXPECT_EQ(m["bytes"], r.xingBytes);
    if (m.contains("vbr_method")) {  // mutagen reads only LAME's own tags field by field
        EXPECT_EQ(m["vbr_method"], r.lameVbrMethod);
        EXPECT_EQ(m["lowpass_filter"], r.lameLowpass);
        EXPECT_EQ(m["encoding_flags"], r.lameEncFlags);
        EXPECT_EQ(m["ath_type"], r.lameAthType);
        EXPECT_EQ(m["bitrate"], r.lameAbrBitrate);
        EXPECT_EQ(m["encoder_delay_start"], r.lameDelays[0] << 4 | r.lameDelays[1] >> 4);
        EXPECT_EQ(m["encoder_padding_end"], (r.lameDelays[1] & 0x0F) << 8 | r.lameDelays[2]);
        EXPECT_EQ(m["noise_shaping"], r.lameNoiseShaping);
        EXPECT_EQ(m["stereo_mode"], r.lameStereoMode);
        EXPECT_EQ(m["unwise_setting_used"], r.lameUnwise);
        EXPECT_EQ(m["source_sample_frequency_enum"], r.lameSourceFreq);
        EXPECT_EQ(m["mp3_gain"], r.lameGainPreset[0]);
        EXPECT_EQ(m["preset_used"], (r.lameGainPreset[1] & 0x07) << 8 | r.lamePresetLow);
        EXPECT_EQ(m["music_length"], r.lameMusicLength);
        EXPECT_EQ(m["music_crc"], r.lameMusicCrc);
        EXPECT_EQ(m["header_crc"], r.lameTagCrc);
    }

    const CrcCheck intact = MusicCrc(path);
    EXPECT_TRUE(intact.done);
    EXPECT_TRUE(intact.ok);
    FlipByte(path, r.fileSize / 2);
    const CrcCheck altered = MusicCrc(path);
    EXPECT_TRUE(altered.done);
    EXPECT_FALSE(altered.ok);
}

INSTANTIATE_TEST_SUITE_P(Encoders, LameTags, testing::ValuesIn(kLameCases),
                         [](const testing::TestParamInfo<TagCase>& info) {
                             return std::string(info.param.name);
                         });

TEST(EncoderTags, LameWithoutATagIsNamedFromItsFirstFrames) {
    const test::TempDir dir;
    const auto scan = test::ScanPath(Encode(dir, "lame --quiet -t -b 128 %s %s", "notag.mp3"));
    EXPECT_FALSE(scan.record.hasXing);
    EXPECT_EQ(scan.record.signatureText, "Lame 3.100");
}

TEST(EncoderTags, LameId3Options) {
    const test::TempDir dir;
    const struct {
        const char* options;
        bool v1;
        bool v2;
    } cases[] = {
        {"--id3v1-only", true, false},
        {"--id3v2-only", false, true},
        {"--add-id3v2", true, true},
    };
    for (const auto& c : cases) {
        const std::string command =
            std::string("lame --quiet -V 4 --tt Title --ta Artist --tn 7 --tg Jazz ") + c.options +
            " %s %s";
        const std::string path = Encode(dir, command.c_str(), "id3.mp3");
        const auto scan = test::ScanPath(path);
        EXPECT_EQ(scan.record.hasId3v1, c.v1) << c.options;
        EXPECT_EQ(scan.record.hasId3v2, c.v2) << c.options;
        EXPECT_TRUE(scan.record.lameTagValid) << c.options;
        EXPECT_EQ(scan.record.syncErrors, 0) << c.options;
        if (c.v1) {
            EXPECT_EQ(scan.record.id3v1Track, 7) << c.options;
            EXPECT_EQ(scan.record.id3v1Raw[127], 8) << c.options;  // Jazz
            EXPECT_EQ(std::string(reinterpret_cast<const char*>(&scan.record.id3v1Raw[3]), 5),
                      "Title");
        }
        EXPECT_GT(scan.record.audioStart, c.v2 ? 10 : -1) << c.options;
        EXPECT_TRUE(MusicCrc(path).ok) << c.options;
    }
}

// A cover of 3 MB in front of a 4-second song: most of the file is the picture, so its middle
// lies inside the tag; the file is still MPEG audio, in the list and in `vornik-cli scan`.
TEST(EncoderTags, LargeCoverArtKeepsTheFileListed) {
    const test::TempDir dir;
    for (const char* id3v1 : {"", "--id3v1-only --tt Title"}) {
        const std::string command = std::string("lame --quiet -b 128 ") + id3v1 + " %s %s";
        const std::string path = Encode(dir, command.c_str(), "cover.mp3");
        std::string log;
        ASSERT_EQ(test::RunCommand("/usr/bin/python3 '" VORNIK_TESTS_DIR
                                   "/integration/mutagen_cover.py' '" +
                                       path + "' " + std::to_string(3 << 20),
                                   &log),
                  0)
            << log;
        ASSERT_GT(std::filesystem::file_size(path), 3u << 20);

        EXPECT_TRUE(CMp3File::IsMpegAudio(path)) << id3v1;
        const auto scan = test::ScanPath(path);
        EXPECT_TRUE(scan.record.hasId3v2);
        EXPECT_GT(scan.record.audioStart, 3 << 20);
        EXPECT_TRUE(scan.record.lameTagValid);
        EXPECT_TRUE(scan.record.lastFrameOk);  // the cover holds no frame to be cut short
        // The cover is no audio: the list's budgeted scan gives the bitrate and length of the
        // complete one (5 seconds at 128 kbps).
        std::string rows;
        EXPECT_EQ(test::RunCommand(std::string(VORNIK_CLI_PATH) +
                                       " scan --format csv --columns 0,1,2,4 '" + path + "'",
                                   &rows),
                  0);
        EXPECT_NE(rows.find("cover.mp3,Lame 3.100,128,00:00:05.0"), std::string::npos) << rows;
        EXPECT_EQ(scan.record.avgBitrate, 128);
    }
}

// A CBR 96 file with a cover of 1.5 MB stays a 96 kbps file of bad quality under the list's
// frame budget, as ffprobe reads its length.
TEST(EncoderTags, CoverArtIsNoAudioForTheBitrateAndQuality) {
    const test::TempDir dir;
    const std::string path = Encode(dir, "lame --quiet -b 96 %s %s", "cbr96.mp3");
    ASSERT_EQ(
        test::RunCommand("/usr/bin/python3 '" VORNIK_TESTS_DIR "/integration/mutagen_cover.py' '" +
                         path + "' 1500000"),
        0);
    std::string json;
    ASSERT_EQ(test::RunCommand(std::string(VORNIK_CLI_PATH) +
                                   " scan --format json --columns 0,2,4,7 '" + path + "'",
                               &json),
              0);
    const nlohmann::json row = nlohmann::json::parse(json).at(0);
    EXPECT_EQ(row.at("avgBitrate"), 96) << json;
    EXPECT_EQ(row.at("quality"), 0) << json;  // bad, as without the cover
    std::string probed;
    ASSERT_EQ(test::RunCommand("ffprobe -v quiet -show_entries format=duration -of csv=p=0 '" +
                                   path + "' 2>/dev/null",
                               &probed),
              0);
    EXPECT_NEAR(row.at("duration").get<double>(), std::stod(probed), 0.1) << json;
}

// An APE tag after the audio is no music: the Lame tag's music length leaves it out.
TEST(EncoderTags, ApeTagAfterALameFileKeepsTheMusicCrc) {
    const test::TempDir dir;
    const std::string path = Encode(dir, "lame --quiet -V 2 %s %s", "ape.mp3");
    {
        std::ofstream out(path, std::ios::binary | std::ios::app);
        out << "APETAGEX" << std::string(24, '\0') << "Title of an APE item"
            << "APETAGEX" << std::string(24, '\0');
    }
    const auto scan = test::ScanPath(path);
    EXPECT_TRUE(scan.record.scanComplete);
    EXPECT_TRUE(scan.record.lastFrameOk);
    EXPECT_TRUE(MusicCrc(path).ok);

    std::string output;
    EXPECT_EQ(test::RunCommand(std::string(VORNIK_CLI_PATH) + " crc '" + path + "'", &output), 0);
    EXPECT_NE(output.find(": OK"), std::string::npos) << output;
}

TEST(EncoderTags, CrcCommandTellsIntactFromAltered) {
    const test::TempDir dir;
    const std::string intact = Encode(dir, "lame --quiet -b 128 %s %s", "intact.mp3");
    const std::string altered = dir.file("altered.mp3");
    std::filesystem::copy_file(intact, altered);
    FlipByte(altered, 40000);
    const std::string layer2 = Encode(dir, "twolame --quiet %s %s", "layer2.mp2");
    const std::string cli = VORNIK_CLI_PATH;

    std::string output;
    EXPECT_EQ(test::RunCommand(cli + " crc '" + intact + "'", &output), 0);
    EXPECT_EQ(test::RunCommand(cli + " crc '" + intact + "' '" + altered + "'", &output), 1);
    EXPECT_NE(output.find("altered.mp3: stored 0x"), std::string::npos) << output;
    EXPECT_NE(output.find(": corrupt"), std::string::npos) << output;
    EXPECT_EQ(test::RunCommand(cli + " crc '" + altered + "' '" + layer2 + "'", &output), 2);
    EXPECT_NE(output.find("no valid Lame tag"), std::string::npos) << output;
}

TEST(EncoderTags, LayerTwoEncoders) {
    const test::TempDir dir;
    const char* commands[] = {
        "twolame --quiet %s %s",
        "twolame --quiet -p %s %s",
        "ffmpeg -loglevel error -y -i %s -c:a mp2 -b:a 192k %s",
    };
    int index = 0;
    for (const char* command : commands) {
        const std::string path = Encode(dir, command, "l2-" + std::to_string(index++) + ".mp2");
        const auto scan = test::ScanPath(path);
        EXPECT_EQ(scan.error, "") << command;
        EXPECT_EQ(scan.record.layer, 2) << command;
        EXPECT_FALSE(scan.record.hasXing) << command;
        EXPECT_EQ(scan.record.syncErrors, 0) << command;
        EXPECT_EQ(scan.record.frameCount + 1, test::FfprobePacketCount(path)) << command;
        EXPECT_NEAR(scan.record.duration, 5.0, 0.1) << command;
    }
}

}  // namespace
}  // namespace vornik
