// SPDX-License-Identifier: GPL-3.0-or-later
// vornik-cli where the system says no: a full disk or a file it may not replace under
// --output, and fewer threads than -j asks for.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "encoder_support.h"
#include "folder_state.h"

namespace vornik {
namespace {

namespace fs = std::filesystem;
using Changes = std::vector<std::string>;

const std::string kCli = VORNIK_CLI_PATH;
constexpr unsigned kOrdinaryId = 65534;  // nobody

struct Outcome {
    int status = -1;
    std::string out;  // standard output
    std::string err;  // standard error
};

// Runs `command` (vornik-cli's path, possibly behind a prefix, and its arguments) under a time
// limit, so that a command that would wait forever fails instead.
Outcome RunCli(const std::string& command, const test::TempDir& dir) {
    const std::string errPath = dir.file("stderr.txt");
    Outcome outcome;
    outcome.status =
        test::RunCommand("{ timeout 60 " + command + " 2>'" + errPath + "'; }", &outcome.out);
    std::ifstream in(errPath);
    outcome.err.assign(std::istreambuf_iterator<char>(in), {});
    return outcome;
}

std::string Quoted(const std::string& path) {
    return "'" + path + "'";
}

// The threads of all processes whose real user is `uid`, as RLIMIT_NPROC counts them.
int ThreadsOfUser(unsigned uid) {
    int threads = 0;
    std::error_code error;
    for (const auto& process : fs::directory_iterator("/proc", error)) {
        std::ifstream status(process.path() / "status");
        std::string key;
        unsigned realUid = 0;
        int count = 0;
        bool isUser = false;
        while (status >> key) {
            if (key == "Uid:") {
                status >> realUid;
                isUser = realUid == uid;
            } else if (key == "Threads:") {
                status >> count;
            }
            status.ignore(1 << 20, '\n');
        }
        threads += isUser ? count : 0;
    }
    return threads;
}

// Two files from lame, and a library of 100 copies of them, in folders that every user may
// read.
class CliLimits : public testing::Test {
  protected:
    static constexpr int kLibraryFiles = 100;

    static void SetUpTestSuite() {
        dir_ = new test::TempDir;
        ::chmod(dir_->file("").c_str(), 0755);
        const std::string wav = dir_->file("in.wav");
        test::WriteTestSignal(wav, 44100, 2, 0.5);
        for (const char* name : {"a.mp3", "b.mp3"}) {
            ASSERT_EQ(test::RunCommand(
                          test::EncoderCommand("lame --quiet -b 64 %s %s", wav, dir_->file(name))),
                      0);
        }
        fs::remove(wav);
        fs::create_directory(dir_->file("library"));
        for (int i = 0; i < kLibraryFiles; ++i) {
            fs::copy_file(dir_->file(i % 2 == 0 ? "a.mp3" : "b.mp3"),
                          dir_->file("library/f" + std::to_string(i) + ".mp3"));
        }
    }
    static void TearDownTestSuite() { delete dir_; }

    static std::string Files() {
        return Quoted(dir_->file("a.mp3")) + " " + Quoted(dir_->file("b.mp3"));
    }
    static std::string Library() { return Quoted(dir_->file("library")); }

    static test::TempDir* dir_;
};

test::TempDir* CliLimits::dir_ = nullptr;

// The old document stays byte for byte, and nothing is left beside it.
TEST_F(CliLimits, FullDiskKeepsThePreviousDocument) {
    const test::TempDir scratch;
    const std::string disk = scratch.file("disk");
    const test::TinyTmpfs tmpfs(disk, 64);
    if (!tmpfs.mounted()) {
        GTEST_SKIP() << "cannot mount a tmpfs to fill up (needs root): " << tmpfs.error();
    }
    // The old document has one row; the new one, of the library, needs more than the page
    // that truncating the old file in place would free.
    const std::string output = disk + "/list.csv";
    const Outcome previous = RunCli(
        kCli + " scan --format csv --output " + Quoted(output) + " " + Quoted(dir_->file("a.mp3")),
        scratch);
    ASSERT_EQ(previous.status, 0) << previous.err;
    ASSERT_TRUE(tmpfs.FillUp("filler"));
    const test::FolderState before = test::StateOf(disk);

    const Outcome full =
        RunCli(kCli + " scan --format csv --output " + Quoted(output) + " " + Library(), scratch);
    EXPECT_EQ(full.status, 2);
    EXPECT_EQ(full.err, output + ": cannot write the file: No space left on device\n");
    EXPECT_EQ(test::ChangedEntries(before, test::StateOf(disk)), Changes{});
    const Outcome document = RunCli(kCli + " scan --format csv " + Library(), scratch);
    EXPECT_GT(document.out.size(), 4096u);
}

TEST_F(CliLimits, OutputThatCannotBeReplacedStaysAsItWas) {
    const struct {
        const char* name;
        const char* output;  // in the case's folder
        const char* reason;
    } cases[] = {
        // Writing it in place would have been refused too; root would not have been stopped.
        {"read-only file", "list.csv", "Permission denied"},
        {"a folder", "folder", "Is a directory"},
        {"in a missing folder", "missing/list.csv", "No such file or directory"},
    };
    const test::TempDir scratch;
    const std::string folder = scratch.file("out");
    fs::create_directory(folder);
    std::ofstream(folder + "/list.csv") << "the user's list";
    ::chmod((folder + "/list.csv").c_str(), 0444);
    fs::create_directory(folder + "/folder");
    std::ofstream(folder + "/folder/inside") << "the user's file";
    for (const auto& c : cases) {
        const std::string output = folder + "/" + c.output;
        const test::FolderState before = test::StateOf(folder);
        const Outcome outcome =
            RunCli(kCli + " scan --format csv --output " + Quoted(output) + " " + Files(), scratch);
        EXPECT_EQ(outcome.status, 2) << c.name;
        EXPECT_EQ(outcome.err, output + ": cannot write the file: " + c.reason + "\n") << c.name;
        EXPECT_EQ(test::ChangedEntries(before, test::StateOf(folder)), Changes{}) << c.name;
    }
}

// More jobs than files: as many workers as files, the same document as one worker's.
TEST_F(CliLimits, MoreJobsThanFiles) {
    for (const char* command : {"scan --format csv", "check"}) {
        const Outcome one = RunCli(kCli + " " + command + " -j 1 " + Files(), *dir_);
        ASSERT_EQ(one.status, 0) << command << ": " << one.err;
        const Outcome many = RunCli(kCli + " " + command + " -j 100000 " + Files(), *dir_);
        EXPECT_EQ(many.status, 0) << command << ": " << many.err;
        EXPECT_EQ(many.out, one.out) << command;
        EXPECT_NE(many.out.find("b.mp3"), std::string::npos) << command;
    }
}

TEST_F(CliLimits, JobsBelowOneAreRefusedInOneLine) {
    for (const char* command : {"scan", "check"}) {
        for (const char* jobs : {"-j 0", "-j -1", "--jobs=0", "-j 00", "-j x", "-j 1.5"}) {
            const std::string label = std::string(command) + " " + jobs;
            const Outcome outcome =
                RunCli(kCli + " " + command + " " + jobs + " " + Files(), *dir_);
            EXPECT_NE(outcome.status, 0) << label;
            EXPECT_NE(outcome.status, 134) << label;
            EXPECT_EQ(outcome.err, "-j needs a whole number of at least 1\n") << label;
            EXPECT_EQ(outcome.out, "") << label;
        }
    }
}

// Under the user's process limit the commands go on with the threads they get; where they get
// none, scan says so (check works on its own thread).
TEST_F(CliLimits, ProcessLimitLeavesFewerWorkers) {
    std::string prefix;
    if (::geteuid() == 0) {
        // Root is exempt from RLIMIT_NPROC: the commands run as the ordinary user.
        if (test::RunCommand("setpriv --version") != 0) {
            GTEST_SKIP() << "setpriv is missing, and root ignores the process limit";
        }
        prefix = "setpriv --reuid=" + std::to_string(kOrdinaryId) +
                 " --regid=" + std::to_string(kOrdinaryId) + " --clear-groups ";
    }
    if (test::RunCommand("prlimit --version") != 0) {
        GTEST_SKIP() << "prlimit is missing";
    }
    const unsigned uid = ::geteuid() == 0 ? kOrdinaryId : ::getuid();
    // The limit counts every thread of the user: room for a few dozen more than now, and more
    // files than that, so that the files do not limit the workers first.
    const int limit = ThreadsOfUser(uid) + 30;
    // LeakSanitizer checks at exit from a thread of its own, which the limit may not allow.
    const std::string noLeakCheck = "env ASAN_OPTIONS=detect_leaks=0 ";
    const std::string folder = Library();
    for (const char* command : {"scan --format csv", "check"}) {
        const Outcome one = RunCli(kCli + " " + command + " -j 1 " + folder, *dir_);
        ASSERT_EQ(one.status, 0) << command << ": " << one.err;
        const Outcome limited = RunCli(prefix + "prlimit --nproc=" + std::to_string(limit) + " " +
                                           noLeakCheck + kCli + " " + command + " -j 300 " + folder,
                                       *dir_);
        EXPECT_EQ(limited.status, 0) << command << ": " << limited.err;
        EXPECT_EQ(limited.out, one.out) << command;
    }

    const std::string none = prefix + "prlimit --nproc=1 " + noLeakCheck + kCli;
    const Outcome scan = RunCli(none + " scan -j 3 " + folder, *dir_);
    EXPECT_EQ(scan.status, 2);
    EXPECT_EQ(scan.out, "");
    EXPECT_EQ(scan.err, "cannot start a list worker: Resource temporarily unavailable\n");
    const Outcome check = RunCli(none + " check -j 3 " + folder, *dir_);
    EXPECT_EQ(check.status, 0) << check.err;
    EXPECT_EQ(std::count(check.out.begin(), check.out.end(), '\n'), kLibraryFiles);
}

}  // namespace
}  // namespace vornik
