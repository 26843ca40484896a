// SPDX-License-Identifier: GPL-3.0-or-later
// `vornik-cli check` on a lame file and on copies of it spoilt in the ways libraries are, each
// verdict held against mp3val's warnings and the music CRC.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <nlohmann/json.hpp>
#include <sstream>

#include "check_command.h"
#include "encoder_support.h"
#include "file_analysis.h"

namespace vornik {
namespace {

const std::string kCli = VORNIK_CLI_PATH;
using Bytes = std::string;

Bytes ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

void WriteAll(const std::string& path, const Bytes& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// mp3val's warnings, without the one about a file with no tags, which is no fault.
std::vector<std::string> Mp3valWarnings(const std::string& path) {
    std::string output;
    test::RunCommand("mp3val '" + path + "'", &output);
    std::vector<std::string> warnings;
    std::istringstream lines(output);
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("WARNING", 0) == 0 && line.find("No supported tags") == std::string::npos) {
            warnings.push_back(line);
        }
    }
    return warnings;
}

struct Spoilt {
    const char* name;
    const char* finding;  // a part of the verdict; empty for "OK"
    const char* mp3val;   // a part of one of mp3val's warnings; empty for none
};

const Spoilt kFiles[] = {
    {"sound.mp3", "", ""},
    {"truncated.mp3", "last frame cut short", "truncated"},
    {"junk_inside.mp3", "1 sync error at", "resynchronized"},
    {"junk_before.mp3", "500 bytes of junk before the first frame", "Garbage at the beginning"},
    {"junk_after.mp3", "350 bytes of unknown data after the last frame", "Garbage at the end"},
    // A changed audio byte leaves every frame header sound: only the music CRC tells.
    {"altered.mp3", "music CRC does not match the Lame tag", ""},
    {"tagged.mp3", "", ""},
    // A download the client preallocated: the audio, then zeros.
    {"zeros_after.mp3", "400000 bytes of unknown data after the last frame", "Garbage at the end"},
    // More junk in the middle than audio after it: the quick test and the walk find the rest.
    {"noise_inside.mp3", "1 sync error at", "resynchronized"},
    // A cover of 1 MB in front of less audio: the end check starts at the first frame.
    {"cover.mp3", "", ""},
};

// Bytes that look like no MPEG header (no 0xFF), the same on every run.
Bytes Noise(std::size_t size) {
    Bytes noise(size, '\0');
    std::uint32_t state = 12345;
    for (char& byte : noise) {
        state = state * 1103515245u + 12345u;
        byte = static_cast<char>((state >> 16) % 255);
    }
    return noise;
}

class CheckCommand : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        dir_ = new test::TempDir;
        test::WriteTestSignal(dir_->file("in.wav"), 44100, 2, 5.0);
        const std::string sound = dir_->file("sound.mp3");
        ASSERT_EQ(
            test::RunCommand("lame --quiet -V 2 '" + dir_->file("in.wav") + "' '" + sound + "'"),
            0);
        std::filesystem::remove(dir_->file("in.wav"));
        const Bytes audio = ReadAll(sound);
        const std::size_t middle = audio.size() / 2;
        WriteAll(dir_->file("truncated.mp3"), audio.substr(0, audio.size() - 300));
        WriteAll(dir_->file("junk_inside.mp3"),
                 audio.substr(0, middle) + Bytes(777, '\0') + audio.substr(middle));
        WriteAll(dir_->file("junk_before.mp3"), Bytes(500, '\0') + audio);
        WriteAll(dir_->file("junk_after.mp3"), audio + Bytes(350, 'x'));
        Bytes altered = audio;
        altered[middle] = static_cast<char>(altered[middle] ^ 0x55);
        WriteAll(dir_->file("altered.mp3"), altered);
        WriteAll(dir_->file("tagged.mp3"), audio);
        WriteAll(dir_->file("zeros_after.mp3"), audio + Bytes(400000, '\0'));
        WriteAll(dir_->file("noise_inside.mp3"),
                 audio.substr(0, middle) + Noise(400000) + audio.substr(middle));
        WriteAll(dir_->file("cover.mp3"), audio);
        ASSERT_EQ(test::RunCommand("/usr/bin/python3 '" VORNIK_TESTS_DIR
                                   "/integration/mutagen_cover.py' '" +
                                   dir_->file("cover.mp3") + "' 1048576"),
                  0);
        ASSERT_EQ(test::RunCommand("/usr/bin/python3 '" VORNIK_TESTS_DIR
                                   "/integration/mutagen_tags.py' write '" +
                                   dir_->file("tagged.mp3") + "' 3 1"),
                  0);
    }
    static void TearDownTestSuite() { delete dir_; }

    static std::string Run(const std::string& arguments, int* status) {
        std::string output;
        *status =
            test::RunCommand("{ " + kCli + " check " + arguments + " 2>/dev/null; }", &output);
        return output;
    }

    static test::TempDir* dir_;
};

test::TempDir* CheckCommand::dir_ = nullptr;

TEST_F(CheckCommand, VerdictsAgreeWithMp3valAndTheMusicCrc) {
    int status = 0;
    const nlohmann::json results =
        nlohmann::json::parse(Run("--format json '" + dir_->file("") + "'", &status));
    EXPECT_EQ(status, 1);
    std::map<std::string, nlohmann::json> byName;
    for (const auto& result : results) {
        byName[std::filesystem::path(result["path"].get<std::string>()).filename()] = result;
    }
    ASSERT_EQ(byName.size(), std::size(kFiles));
    for (const Spoilt& file : kFiles) {
        const nlohmann::json& result = byName[file.name];
        const std::string verdict = result["verdict"];
        const bool sound = *file.finding == 0;
        EXPECT_EQ(result["sound"], sound) << file.name << ": " << verdict;
        if (sound) {
            EXPECT_EQ(verdict, "OK") << file.name;
        } else {
            EXPECT_NE(verdict.find(file.finding), std::string::npos)
                << file.name << ": " << verdict;
        }

        const std::vector<std::string> warnings = Mp3valWarnings(dir_->file(file.name));
        if (*file.mp3val == 0) {
            EXPECT_TRUE(warnings.empty()) << file.name << ": " << warnings.front();
        } else {
            ASSERT_FALSE(warnings.empty()) << file.name;
            bool named = false;
            for (const std::string& warning : warnings) {
                named = named || warning.find(file.mp3val) != std::string::npos;
            }
            EXPECT_TRUE(named) << file.name << ": " << warnings.front();
        }
    }
    // The music CRC command gives the same answer about the altered file.
    std::string output;
    EXPECT_EQ(test::RunCommand(kCli + " crc '" + dir_->file("altered.mp3") + "'", &output), 1);
    EXPECT_NE(output.find("corrupt"), std::string::npos);
}

TEST_F(CheckCommand, ExitStatusAndFormats) {
    int status = -1;
    const std::string text =
        Run("'" + dir_->file("sound.mp3") + "' '" + dir_->file("tagged.mp3") + "'", &status);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(text, dir_->file("sound.mp3") + ": OK\n" + dir_->file("tagged.mp3") + ": OK\n");

    const std::string csv = Run(
        "--format csv -j 2 '" + dir_->file("sound.mp3") + "' '" + dir_->file("truncated.mp3") + "'",
        &status);
    EXPECT_EQ(status, 1);
    EXPECT_EQ(csv.rfind("Path,Verdict\r\n", 0), 0u);
    EXPECT_NE(csv.find(dir_->file("sound.mp3") + ",OK\r\n"), std::string::npos);

    Run("'" + dir_->file("sound.mp3") + "' '" + dir_->file("missing.mp3") + "'", &status);
    EXPECT_EQ(status, 2);
}

// Of an MPEG Plus file only the header is checked: an empty file or bytes that hold no
// header are findings, a file from mpcenc is sound.
TEST(CheckMpegPlus, OnlyAHeaderThatParsesIsSound) {
    const test::TempDir dir;
    const std::string wav = dir.file("in.wav");
    test::WriteTestSignal(wav, 44100, 2, 2.0);
    ASSERT_EQ(test::RunCommand(test::EncoderCommand("mpcenc --silent --standard %s %s", wav,
                                                    dir.file("real.mpc"))),
              0);
    std::ofstream(dir.file("empty.mpc"));
    std::ofstream(dir.file("random.mpc")) << std::string(4000, '\x5a');
    const struct {
        const char* name;
        bool readable;
        std::vector<std::string> findings;
    } cases[] = {
        {"real.mpc", true, {}},
        {"empty.mpc", false, {"empty file"}},
        {"random.mpc", false, {"no MPEG Plus header"}},
    };
    for (const auto& c : cases) {
        const CheckResult result = CheckFile(dir.file(c.name));
        EXPECT_EQ(result.readable, c.readable) << c.name;
        EXPECT_EQ(result.findings, c.findings) << c.name;
    }
}

// The list's Integrity column gives the same verdict, the music CRC included, for a file it
// scanned to the end; without the column shown the music is not read twice.
TEST_F(CheckCommand, IntegrityColumnOfACompleteScan) {
    AnalysisOptions options;
    options.frameBudget = 0;
    options.checkIntegrity = true;
    FileAnalysis checked = AnalyseFile(dir_->file("altered.mp3"), "altered.mp3", options);
    EXPECT_EQ(checked.texts[kSlotIntegrity], "music CRC does not match the Lame tag");
    options.checkIntegrity = false;
    FileAnalysis unchecked = AnalyseFile(dir_->file("altered.mp3"), "altered.mp3", options);
    EXPECT_EQ(unchecked.texts[kSlotIntegrity], "OK");
    EXPECT_FALSE(unchecked.record.musicCrcDone);

    options.frameBudget = 50;
    EXPECT_EQ(AnalyseFile(dir_->file("sound.mp3"), "sound.mp3", options).texts[kSlotIntegrity],
              "(scan incomplete)");
}

}  // namespace
}  // namespace vornik
