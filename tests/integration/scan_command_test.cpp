// SPDX-License-Identifier: GPL-3.0-or-later
// vornik-cli scan and report over files from real encoders.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>

#include "encoder_support.h"

namespace vornik {
namespace {

const std::string kCli = VORNIK_CLI_PATH;

// One folder of encoder-made files, made once for the suite.
class ScanCommand : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        dir_ = new test::TempDir;
        const std::string wav = dir_->file("in.wav");
        test::WriteTestSignal(wav, 44100, 2, 4.0);
        const char* commands[][2] = {
            {"lame --quiet -V 2 %s %s", "b_lame_vbr.mp3"},
            {"lame --quiet -b 128 %s %s", "A_lame_cbr128.mp3"},
            {"twolame --quiet -b 192 %s %s", "c_twolame.mp2"},
            {"ffmpeg -loglevel error -y -i %s -c:a libmp3lame -b:a 128k %s", "d_ffmpeg.mp3"},
            {"mpcenc --silent --standard %s %s", "e_mpcenc.mpc"},
        };
        for (const auto& command : commands) {
            ASSERT_EQ(
                test::RunCommand(test::EncoderCommand(command[0], wav, dir_->file(command[1]))), 0)
                << command[0];
        }
        std::ofstream(dir_->file("notes.txt")) << "not audio";
        std::ofstream(dir_->file("f_not_audio.mp3")) << std::string(5000, 'x');
        std::filesystem::remove(wav);
    }
    static void TearDownTestSuite() { delete dir_; }

    static std::string Run(const std::string& arguments, int* status) {
        std::string output;
        *status = test::RunCommand("{ " + kCli + " " + arguments + " 2>/dev/null; }", &output);
        return output;
    }
    static nlohmann::json Json(const std::string& arguments) {
        int status = 0;
        const std::string output =
            Run("scan " + arguments + " --format json '" + Folder() + "'", &status);
        EXPECT_EQ(status, 0);
        return nlohmann::json::parse(output);
    }
    static std::string Folder() { return dir_->file(""); }

    static test::TempDir* dir_;
};

test::TempDir* ScanCommand::dir_ = nullptr;

TEST_F(ScanCommand, EncodersAndQualities) {
    const nlohmann::json rows = Json("--columns 0,1,2,7,11");
    ASSERT_EQ(rows.size(), 6u);  // the text file is no type of ours, the fake MP3 keeps a row
    const struct {
        const char* name;
        const char* encoder;
        const char* type;
        int quality;
    } expected[] = {
        // Rows in name order, regardless of case.
        {"A_lame_cbr128.mp3", "Lame 3.100", "mpeg 1 layer III", 1},  // 128 kbps joint: ok
        {"b_lame_vbr.mp3", "Lame 3.100", "mpeg 1 layer III", 2},
        {"c_twolame.mp2", "Unknown", "mpeg 1 layer II", 1},
        {"d_ffmpeg.mp3", "FFmpeg (Lavc59.37)", "mpeg 1 layer III", 1},
        {"e_mpcenc.mpc", "mppenc", "mpeg plus", 2},
    };
    // The file without audio says so in its Encoder cell, with no quality.
    EXPECT_EQ(rows[5]["Name"], "f_not_audio.mp3");
    EXPECT_EQ(rows[5]["Encoder"], "no MPEG audio");
    EXPECT_EQ(rows[5]["quality"], -1);
    for (std::size_t i = 0; i < 5; ++i) {
        const auto& row = rows[i];
        EXPECT_EQ(row["Name"], expected[i].name);
        if (std::string(expected[i].encoder).starts_with("FFmpeg")) {
            EXPECT_TRUE(row["Encoder"].get<std::string>().starts_with("FFmpeg (Lavc"));
        } else {
            EXPECT_EQ(row["Encoder"], expected[i].encoder);
        }
        EXPECT_EQ(row["Type"], expected[i].type);
        EXPECT_EQ(row["quality"], expected[i].quality) << expected[i].name;
        EXPECT_EQ(row["Quality"], expected[i].quality == 2 ? "good" : "ok");
        EXPECT_EQ(row["avgBitrate"], std::stoi(row["Bitrate"].get<std::string>()));
    }
}

TEST_F(ScanCommand, SortByANumericColumnInReverse) {
    const nlohmann::json rows = Json("--columns 0,5 --sort 5 --reverse");
    ASSERT_EQ(rows.size(), 6u);
    for (std::size_t i = 1; i < rows.size(); ++i) {
        EXPECT_GE(rows[i - 1]["fileSize"].get<std::int64_t>(),
                  rows[i]["fileSize"].get<std::int64_t>());
    }
}

TEST_F(ScanCommand, FilesWithoutAudioAndUnreadablePaths) {
    std::string output;
    int status = test::RunCommand(
        "{ " + kCli + " scan --format csv '" + Folder() + "' 2>&1 >/dev/null; }", &output);
    EXPECT_EQ(status, 0);  // a file without audio is a finding, not an error of the scan
    EXPECT_NE(output.find("f_not_audio.mp3: no MPEG audio\n"), std::string::npos) << output;

    status = test::RunCommand(
        "{ " + kCli + " scan --format csv '" + Folder() + "' /no/such/folder 2>&1 >/dev/null; }",
        &output);
    EXPECT_EQ(status, 2);
    EXPECT_NE(output.find("/no/such/folder"), std::string::npos) << output;

    // A named pipe is never opened for reading: the scan says why and fails.
    const std::string pipe = dir_->file("pipe.mp3");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    status = test::RunCommand(
        "{ " + kCli + " scan --format csv --columns 0,1 '" + pipe + "' 2>&1; }", &output);
    std::filesystem::remove(pipe);
    EXPECT_EQ(status, 2);
    EXPECT_NE(output.find("pipe.mp3: is not a regular file\n"), std::string::npos) << output;
}

TEST_F(ScanCommand, TextXmlAndCsvDocuments) {
    int status = 0;
    const std::string csv = Run("scan --format csv --columns 0,3 '" + Folder() + "'", &status);
    EXPECT_EQ(status, 0);
    EXPECT_TRUE(csv.starts_with("Name,Stereo Mode\r\n")) << csv;
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 7);

    const std::string xml = Run("scan --format xml '" + Folder() + "'", &status);
    EXPECT_NE(xml.find("A_lame_cbr128.mp3"), std::string::npos);
    EXPECT_NE(xml.find("<Encoder>"), std::string::npos) << xml;

    const std::string txt = Run("scan '" + Folder() + "'", &status);
    EXPECT_NE(txt.find("b_lame_vbr.mp3"), std::string::npos);

    const std::string path = Folder() + "/out.txt";
    Run("scan --output '" + path + "' '" + Folder() + "'", &status);
    std::ifstream written(path, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(written), {}), txt);
    std::filesystem::remove(path);
}

// Several workers finish files in any order; the document must not show it, ties of the sort
// included (Stereo Mode and Vbr have many equal values here).
TEST_F(ScanCommand, ParallelWorkersGiveTheSameDocument) {
    for (const char* arguments : {"--format json", "--sort 3 --columns 0,3,12,1",
                                  "--sort 12 --reverse --format csv --columns 0,12"}) {
        int status = 0;
        const std::string folder = " '" + Folder() + "'";
        const std::string one = Run(std::string("scan -j 1 ") + arguments + folder, &status);
        for (const char* jobs : {"-j 2", "-j 3"}) {
            EXPECT_EQ(Run(std::string("scan ") + jobs + " " + arguments + folder, &status), one)
                << jobs << " " << arguments;
        }
    }
}

TEST_F(ScanCommand, ReportOfAFile) {
    int status = 0;
    const std::string report = Run("report '" + Folder() + "/b_lame_vbr.mp3'", &status);
    EXPECT_EQ(status, 0);
    EXPECT_NE(report.find("b_lame_vbr.mp3"), std::string::npos);
    EXPECT_NE(report.find("Lame Header"), std::string::npos) << report;
    EXPECT_NE(report.find("\r\n"), std::string::npos);
    EXPECT_EQ(report.find("\r\n"), report.find('\n') - 1);
    EXPECT_NE(report.find("--[ Vornik "), std::string::npos);

    Run("report '" + Folder() + "/f_not_audio.mp3'", &status);
    EXPECT_EQ(status, 2);
}

}  // namespace
}  // namespace vornik
