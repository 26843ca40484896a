// SPDX-License-Identifier: GPL-3.0-or-later
// vornik-cli's command lines: every option takes its own value wherever it stands among the
// paths, and a path that is no regular file gets one clear line at once.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "encoder_support.h"

namespace vornik {
namespace {

const std::string kCli = VORNIK_CLI_PATH;

struct Outcome {
    int status = -1;
    std::string out;  // standard output
    std::string err;  // standard error
};

// Runs vornik-cli under a time limit, so that a command that would wait forever fails instead.
Outcome RunCli(const std::string& arguments, const test::TempDir& dir) {
    const std::string errPath = dir.file("stderr.txt");
    Outcome outcome;
    outcome.status = test::RunCommand(
        "{ timeout 20 " + kCli + " " + arguments + " 2>'" + errPath + "'; }", &outcome.out);
    std::ifstream in(errPath);
    outcome.err.assign(std::istreambuf_iterator<char>(in), {});
    return outcome;
}

class CliArguments : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        dir_ = new test::TempDir;
        const std::string wav = dir_->file("in.wav");
        test::WriteTestSignal(wav, 44100, 2, 2.0);
        for (const char* name : {"a.mp3", "b.mp3"}) {
            ASSERT_EQ(test::RunCommand(
                          test::EncoderCommand("lame --quiet -V 4 %s %s", wav, dir_->file(name))),
                      0);
        }
        std::filesystem::create_directory(dir_->file("sub"));
        ASSERT_EQ(test::RunCommand(test::EncoderCommand("lame --quiet -b 96 %s %s", wav,
                                                        dir_->file("sub/c.mp3"))),
                  0);
        ASSERT_EQ(test::RunCommand(test::EncoderCommand("mpcenc --silent --standard %s %s", wav,
                                                        dir_->file("d.mpc"))),
                  0);
        std::filesystem::remove(wav);
        ASSERT_EQ(::mkfifo(dir_->file("pipe.mp3").c_str(), 0600), 0);
    }
    static void TearDownTestSuite() { delete dir_; }

    static std::string Quoted(const char* name) { return "'" + dir_->file(name) + "'"; }

    static test::TempDir* dir_;
};

test::TempDir* CliArguments::dir_ = nullptr;

struct OptionCase {
    const char* command;  // the subcommand, with what every variant shares
    const char* option;   // the option with its value, as one user would type it
};

const OptionCase kOptionCases[] = {
    {"scan --format csv", "--frames 10"},
    {"scan --format csv", "--frames=10"},
    {"scan --format csv", "--columns 0,1,9"},
    {"scan --format csv", "--columns=0,1,9"},
    {"scan --format csv", "--columns 0 --columns 9"},
    {"scan --format csv", "--sort 9 --reverse"},
    {"scan", "--format json"},
    {"scan --format xml", "--no-xml-amp"},
    {"scan --format csv", "--recursive"},
    {"scan --format csv", "-j 1"},
    {"scan --format csv", "--jobs=2"},
    {"dump", "--frames 5"},
    {"dump", "--no-walk"},
    {"dump", "--series"},
};

TEST_F(CliArguments, OptionsBeforeBetweenAndAfterThePaths) {
    const std::string a = Quoted("a.mp3");
    const std::string folder = "'" + dir_->file("") + "'";
    for (const OptionCase& c : kOptionCases) {
        const std::string command = c.command;
        const std::string option = c.option;
        // scan takes folders too; the folder holds a.mp3 and b.mp3 (and sub/ for --recursive).
        const std::string second = command.starts_with("scan") ? folder : Quoted("b.mp3");
        const Outcome before = RunCli(command + " " + option + " " + a + " " + second, *dir_);
        EXPECT_EQ(before.status, 0) << c.option << ": " << before.err;
        EXPECT_NE(before.out.find("a.mp3"), std::string::npos) << c.option;
        EXPECT_NE(before.out.find("b.mp3"), std::string::npos) << c.option;
        for (const std::string& arguments : {command + " " + a + " " + option + " " + second,
                                             command + " " + a + " " + second + " " + option}) {
            const Outcome other = RunCli(arguments, *dir_);
            EXPECT_EQ(other.status, 0) << arguments << ": " << other.err;
            EXPECT_EQ(other.out, before.out) << arguments;
        }
    }
}

TEST_F(CliArguments, OutputOptionAnywhere) {
    const std::string a = Quoted("a.mp3");
    const std::string b = Quoted("b.mp3");
    const std::string out = Quoted("out.csv");
    std::string first;
    for (const std::string& arguments : {"scan --format csv --output " + out + " " + a + " " + b,
                                         "scan --format csv " + a + " --output=" + out + " " + b,
                                         "scan --format csv " + a + " " + b + " --output " + out}) {
        std::filesystem::remove(dir_->file("out.csv"));
        const Outcome outcome = RunCli(arguments, *dir_);
        EXPECT_EQ(outcome.status, 0) << arguments << ": " << outcome.err;
        EXPECT_EQ(outcome.out, "");
        std::ifstream in(dir_->file("out.csv"));
        const std::string written(std::istreambuf_iterator<char>(in), {});
        EXPECT_NE(written.find("b.mp3"), std::string::npos) << arguments;
        if (first.empty()) {
            first = written;
        }
        EXPECT_EQ(written, first) << arguments;
    }
}

// Ids that name no attribute are refused, as an unknown format is, never an empty table or a
// silent sort by name.
TEST_F(CliArguments, BadColumnAndSortIdsAreRefused) {
    const struct {
        const char* arguments;
        const char* message;
    } cases[] = {
        {"scan --columns 0,x ", "--columns"},
        {"scan --columns 999 ", "--columns: 999 is not an attribute id"},
        {"scan --columns 0,-1 ", "--columns: -1 is not an attribute id"},
        {"scan --sort 9999 ", "--sort: 9999 is not an attribute id"},
    };
    for (const auto& c : cases) {
        const Outcome outcome = RunCli(c.arguments + Quoted("a.mp3"), *dir_);
        EXPECT_NE(outcome.status, 0) << c.arguments;
        EXPECT_EQ(outcome.out, "") << c.arguments;
        EXPECT_NE(outcome.err.find(c.message), std::string::npos) << outcome.err;
    }
}

// What each command says of a path that is no regular file, and its status for a file that
// could not be read: dump and report at once, never reading a folder or waiting on a pipe.
TEST_F(CliArguments, PathsThatAreNoRegularFile) {
    const struct {
        const char* command;
        const char* path;  // in the test's folder; "" is the folder itself
        const char* message;
        int status;
        bool onOutput;  // dump and crc say it on standard output, report and scan on errors
    } cases[] = {
        {"dump", "", "\"error\":\"is a folder\"", 1, true},
        {"dump", "pipe.mp3", "\"error\":\"is not a regular file\"", 1, true},
        {"report", "", ": is a folder", 2, false},
        {"report", "pipe.mp3", ": is not a regular file", 2, false},
        {"crc", "", ": is a folder", 2, true},
        {"crc", "pipe.mp3", ": is not a regular file", 2, true},
        {"scan", "pipe.mp3", "pipe.mp3: is not a regular file", 2, false},
        {"crc", "d.mpc", "d.mpc: an MPEG Plus file holds no Lame tag, nothing to check", 2, true},
        {"report", "d.mpc", "d.mpc: reports are for MPEG audio files; this is an MPEG Plus file", 2,
         false},
    };
    for (const auto& c : cases) {
        const std::string label = std::string(c.command) + " " + c.path;
        const Outcome outcome = RunCli(std::string(c.command) + " " + Quoted(c.path), *dir_);
        EXPECT_EQ(outcome.status, c.status) << label;
        const std::string& said = c.onOutput ? outcome.out : outcome.err;
        EXPECT_NE(said.find(c.message), std::string::npos) << label << ": " << said;
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << label << ": " << said;
    }
    // The device is refused just as the pipe is.
    const Outcome device = RunCli("report /dev/zero", *dir_);
    EXPECT_EQ(device.status, 2);
    EXPECT_EQ(device.err, "/dev/zero: is not a regular file\n");
}

}  // namespace
}  // namespace vornik
