// SPDX-License-Identifier: GPL-3.0-or-later
#include "ini_file.h"

#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <csignal>
#include <ctime>
#include <filesystem>
#include <functional>
#include <mutex>
#include <optional>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "folder_state.h"
#include "log.h"
#include "settings_location.h"
#include "temp_folder.h"

namespace vornik {

void PrintTo(const CIniFile::Section& section, std::ostream* out) {
    *out << testing::PrintToString(section.name) << " {";
    for (const auto& [key, value] : section.entries) {
        *out << " " << testing::PrintToString(key) << ": " << testing::PrintToString(value);
    }
    *out << " }";
}

namespace {

namespace fs = std::filesystem;
using test::NamesIn;
using test::ReadBytes;
using test::TempFolder;
using test::WriteBytes;
using Sections = std::vector<CIniFile::Section>;
using Names = std::set<std::string>;
using namespace std::string_literals;

class IniFileTest : public testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(folder_.ok()); }

    Sections ReadBack() {
        CIniFile ini;
        ini.SetFileName(path_);
        EXPECT_TRUE(ini.Read());
        return ini.Sections();
    }
    bool WriteOut(CIniFile ini) {
        ini.SetFileName(path_);
        return ini.Write();
    }

    TempFolder folder_;
    const std::string path_ = folder_ / "settings.ini";
};

TEST_F(IniFileTest, ReadRules) {
    const struct {
        const char* name;
        std::string bytes;
        Sections expected;
    } cases[] = {
        {"empty file", "", {}},
        {"first line empty", "\r\nsec\r\nk\tv\r\n\r\n", {}},
        {"LF and CR LF", "sec\nk\tv\r\nk2\tw\n\r\n", {{"sec", {{"k", "v"}, {"k2", "w"}}}}},
        {"file order, duplicates kept",
         "b\r\nz\t1\r\nz\t2\r\n\r\ne\r\n\r\nb\r\nk\t3\r\n\r\n",
         {{"b", {{"z", "1"}, {"z", "2"}}}, {"e", {}}, {"b", {{"k", "3"}}}}},
        {"two empty lines end", "a\r\nk\tv\r\n\r\n\r\nb\r\nk\tv\r\n\r\n", {{"a", {{"k", "v"}}}}},
        {"unclosed section dropped", "a\r\nk\tv\r\n\r\nb\r\nk\tv\r\n", {{"a", {{"k", "v"}}}}},
        {"CR without LF at the end is no line end", "a\r\nk\tv\r\n\r", {}},
        {"line without TAB is corrupt",
         "a\r\nk\tv\r\nno tab here\r\nk2\tw\r\n\r\n",
         {{"a", {{"k", "v"}, {"corrupt", ""}, {"k2", "w"}}}}},
        {"only the first TAB separates", "a\r\nk\tv1\tv2\t\r\n\r\n", {{"a", {{"k", "v1\tv2\t"}}}}},
        {"lone CR is part of the line", "a\r\nk\tv\rw\r\n\r\n", {{"a", {{"k", "v\rw"}}}}},
        {"line of 1023 bytes is whole",
         "a\r\nk\t" + std::string(1021, 'v') + "\r\nk2\tw\r\n\r\nb\r\n\r\n",
         {{"a", {{"k", std::string(1021, 'v')}, {"k2", "w"}}}, {"b", {}}}},
        {"longer line is cut, ends reading",
         "a\r\nk\tv\r\nx\t" + std::string(1498, 'y') + "\r\nk2\tw\r\n\r\nb\r\nk\tv\r\n\r\n",
         {{"a", {{"k", "v"}, {"x", std::string(1021, 'y')}}}}},
    };
    for (const auto& c : cases) {
        WriteBytes(path_, c.bytes);
        EXPECT_EQ(ReadBack(), c.expected) << c.name;
    }
}

TEST_F(IniFileTest, FailedReadChangesNothing) {
    CIniFile ini;
    ini.SetString("kept", "k", "v");
    ini.SetFileName(folder_ / "absent.ini");
    EXPECT_FALSE(ini.Read());
    fs::create_directory(folder_.path() / "folder.ini");
    ini.SetFileName(folder_ / "folder.ini");
    EXPECT_FALSE(ini.Read());
    EXPECT_EQ(ini.Sections(), (Sections{{"kept", {{"k", "v"}}}}));
}

TEST_F(IniFileTest, ReadAppendsAndTheFirstSectionAndKeyWin) {
    CIniFile ini;
    ini.SetString("held", "k", "v");
    WriteBytes(path_, "a\r\nk\t1\r\nk\t2\r\n\r\na\r\nk\t3\r\nonly_second\t4\r\n\r\n");
    ini.SetFileName(path_);
    ASSERT_TRUE(ini.Read());
    EXPECT_EQ(ini.GetInt("a", "k", 0), 1);
    // The key exists in the second "a" only, and only the first "a" is ever looked at.
    EXPECT_EQ(ini.GetInt("a", "only_second", -1), -1);
    ini.SetString("a", "k", "new");
    ini.SetString("a", "only_second", "x");
    EXPECT_EQ(ini.Sections(), (Sections{{"held", {{"k", "v"}}},
                                        {"a", {{"k", "new"}, {"k", "2"}, {"only_second", "x"}}},
                                        {"a", {{"k", "3"}, {"only_second", "4"}}}}));
}

TEST(IniFileGetters, GetIntReadsLikeAtoi) {
    const std::pair<std::string, int> cases[] = {{"12abc", 12},
                                                 {"\t\v\f\r 7", 7},
                                                 {"+8", 8},
                                                 {"-5", -5},
                                                 {"+-5", 0},
                                                 {"abc", 0},
                                                 {"2147483648", INT_MAX},
                                                 {"99999999999999999999999", INT_MAX},
                                                 {"-2147483648", INT_MIN},
                                                 {"-99999999999999999999999", INT_MIN}};
    for (const auto& [text, expected] : cases) {
        CIniFile ini;
        ini.SetString("s", "k", text);
        EXPECT_EQ(ini.GetInt("s", "k", 4242), expected) << '"' << text << '"';
    }
}

TEST(IniFileGetters, OnlyAnExactMatchIsFound) {
    CIniFile ini;
    ini.SetString("list_settings", "frameres", "500");
    ini.SetString("list_settings", "empty", "");
    EXPECT_EQ(ini.GetInt("List_Settings", "frameres", 1), 1);
    EXPECT_EQ(ini.GetInt("list_settings", "frame", 1), 1);
    EXPECT_EQ(ini.GetString("details", "frameres", "x"), "x");
    // An empty value is a value.
    EXPECT_EQ(ini.GetString("list_settings", "empty", "default"), "");
    EXPECT_EQ(ini.GetInt("list_settings", "empty", 99), 0);

    std::string value = "untouched";
    EXPECT_FALSE(ini.Lookup("list_settings", "other", value));
    EXPECT_EQ(value, "untouched");
    EXPECT_TRUE(ini.Lookup("list_settings", "frameres", value));
    EXPECT_EQ(value, "500");
}

TEST(IniFileSetters, IndexIsAppendedToTheKey) {
    CIniFile ini;
    ini.SetInt("list_settings", "colid2_", 9, 0);
    ini.SetString("export", "selected_nm", "Bitrate", 11);
    ini.SetString("export", "template", "t", -1);
    ini.SetInt("list_settings", "colid2_-2", 5);
    EXPECT_EQ(ini.Sections(),
              (Sections{{"list_settings", {{"colid2_0", "9"}, {"colid2_-2", "5"}}},
                        {"export", {{"selected_nm11", "Bitrate"}, {"template", "t"}}}}));
    EXPECT_EQ(ini.GetInt("list_settings", "colid2_", -7, 0), 9);
    EXPECT_EQ(ini.GetInt("list_settings", "colid2_", -7, 1), -7);
    EXPECT_EQ(ini.GetInt("list_settings", "colid2_", -7, -2), 5);  // only -1 means none
    EXPECT_EQ(ini.GetString("export", "selected_nm", "", 11), "Bitrate");
}

TEST(IniFileSetters, ExistingKeyKeepsItsPlaceNewOnesAreAppended) {
    CIniFile ini;
    ini.SetInt("second", "a", 1);
    ini.SetInt("first", "y", 2);
    ini.SetInt("second", "b", -5);
    ini.SetInt("second", "a", 10);
    ini.SetInt("First", "y", 4);
    EXPECT_EQ(ini.Sections(), (Sections{{"second", {{"a", "10"}, {"b", "-5"}}},
                                        {"first", {{"y", "2"}}},
                                        {"First", {{"y", "4"}}}}));
}

TEST_F(IniFileTest, WritesTheExactBytes) {
    CIniFile ini;
    ini.SetInt("favourites_mru", "count", 1);
    ini.SetString("favourites_mru", "0", "C:\\Music");
    ini.SetInt("list_settings", "color_bad", 0x9696FF);
    ini.SetString("export", "", "");
    ini.SetString("export", "k", "a\tb");
    ASSERT_TRUE(WriteOut(ini));
    EXPECT_EQ(ReadBytes(path_),
              "favourites_mru\r\ncount\t1\r\n0\tC:\\Music\r\n\r\n"
              "list_settings\r\ncolor_bad\t9869055\r\n\r\n"
              "export\r\n\t\r\nk\ta\tb\r\n\r\n");
    EXPECT_EQ(NamesIn(folder_.path()), Names{"settings.ini"});
}

TEST_F(IniFileTest, ReadGivesBackWhatWasWritten) {
    const Sections sections = {
        {" s\r", {{"", ""}, {" k\r", "\ta\t\tb\t"}, {"k2", "a\rb\r"}, {"nul", "a\0b"s}}},
        {"tree_settings", {{"initdir", "/home/ü/Musik/Ärger"}, {"k", std::string(1021, 'v')}}},
    };
    CIniFile written;
    for (const auto& section : sections) {
        for (const auto& [key, value] : section.entries) {
            written.SetString(section.name, key, value);
        }
    }
    ASSERT_TRUE(WriteOut(written));
    EXPECT_EQ(ReadBack(), sections);
}

// The reader would not give these back as they are, and one of them could end the reading.
TEST_F(IniFileTest, WhatCannotBeReadBackIsLeftOutAndTheRestSurvives) {
    CIniFile ini;
    ini.SetString("favourites_mru", "count", "3");
    ini.SetString("favourites_mru", "0", "/music/a\n\nb");  // two line breaks would end reading
    ini.SetString("favourites_mru", "1", "/music/ok");
    ini.SetString("favourites_mru", "2", std::string(1020, 'x'));  // a line of 1023 bytes
    ini.SetString("favourites_mru", "3", std::string(1022, 'w'));
    ini.SetString("favourites_mru", "key\twith tab", "v");
    ini.SetString("favourites_mru", "key\nwith break", "v");
    ini.SetString("", "k", "v");  // an empty header line would end reading
    ini.SetString("name\nbroken", "k", "v");
    ini.SetString(std::string(1024, 'n'), "k", "v");
    ini.SetString(std::string(1023, 'n'), "k", "v");
    ASSERT_TRUE(WriteOut(ini));
    EXPECT_EQ(ReadBytes(path_), "favourites_mru\r\ncount\t3\r\n1\t/music/ok\r\n2\t" +
                                    std::string(1020, 'x') + "\r\n\r\n" + std::string(1023, 'n') +
                                    "\r\nk\tv\r\n\r\n");
}

const std::string kOld = "old\r\nk\told value\r\n\r\n";

// More than 100 bytes, in one section.
CIniFile NewSettings() {
    CIniFile ini;
    for (int i = 0; i < 20; ++i) {
        ini.SetString("new", "key", std::string(40, 'n'), i);
    }
    return ini;
}

// The settings file is a link to a file of its own permissions, longer than the new contents.
TEST_F(IniFileTest, ReplacesTheFileAtTheEndOfALinkWholeKeepingItsPermissions) {
    const std::string real = folder_ / "real/settings.ini";
    fs::create_directory(folder_.path() / "real");
    WriteBytes(real, kOld + std::string(5000, 'o'));
    ::chmod(real.c_str(), 0640);
    fs::create_symlink("real/settings.ini", path_);
    ASSERT_TRUE(WriteOut(NewSettings()));
    EXPECT_TRUE(fs::is_symlink(path_));
    EXPECT_EQ(ReadBack(), NewSettings().Sections());
    struct stat st {};
    ASSERT_EQ(::stat(real.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(NamesIn(folder_.path()), (Names{"real", "settings.ini"}));
    EXPECT_EQ(NamesIn(folder_.path() / "real"), Names{"settings.ini"});
}

TEST_F(IniFileTest, TargetsThatCannotBeWrittenFailAndLeaveNothing) {
    EXPECT_FALSE(NewSettings().Write());  // no file name
    CIniFile ini = NewSettings();
    ini.SetFileName(folder_ / "absent/settings.ini");
    EXPECT_FALSE(ini.Write());
    EXPECT_EQ(NamesIn(folder_.path()), Names{});

    fs::create_directory(path_);
    WriteBytes(folder_ / "settings.ini/inside", "x");
    EXPECT_FALSE(WriteOut(NewSettings()));
    EXPECT_EQ(ReadBytes(folder_ / "settings.ini/inside"), "x");
    EXPECT_EQ(NamesIn(folder_.path()), Names{"settings.ini"});
}

// A write that the system cuts short (here: the file size limit) is the case that truncating
// the old file in place would lose it.
TEST_F(IniFileTest, WriteCutShortFailsAndKeepsTheOldFile) {
    WriteBytes(path_, kOld);
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 100;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool written = WriteOut(NewSettings());
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_FALSE(written);
    EXPECT_EQ(ReadBytes(path_), kOld);
    EXPECT_EQ(NamesIn(folder_.path()), Names{"settings.ini"});
}

using test::ChangedEntries;
using test::FolderState;
using test::StateOf;
using Changes = std::vector<std::string>;

constexpr uid_t kOrdinaryId = 65534;  // nobody

// The lines logged while it is installed.
class LogLines : public LogSink {
  public:
    LogLines() { SetLogSink(this); }
    ~LogLines() override { SetLogSink(nullptr); }
    LogLines(const LogLines&) = delete;
    LogLines& operator=(const LogLines&) = delete;

    void Line(const std::string& text) override {
        const std::lock_guard<std::mutex> lock(mutex_);
        lines_.push_back(text);
    }
    std::vector<std::string> Lines() {
        const std::lock_guard<std::mutex> lock(mutex_);
        return lines_;
    }

  private:
    std::mutex mutex_;
    std::vector<std::string> lines_;
};

// Runs `check` in a child process, as the ordinary user when this process is root (whom
// permission bits do not stop), else as this user; the child's exit status, or -1 when it
// could not become the ordinary user or did not exit.
int InChildAsOrdinaryUser(const std::function<int()>& check) {
    const pid_t child = ::fork();
    if (child < 0) {
        return -1;
    }
    if (child == 0) {
        const bool switched =
            ::geteuid() != 0 || (::setgroups(0, nullptr) == 0 &&
                                 ::setresgid(kOrdinaryId, kOrdinaryId, kOrdinaryId) == 0 &&
                                 ::setresuid(kOrdinaryId, kOrdinaryId, kOrdinaryId) == 0);
        ::_exit(switched ? check() : 255);
    }
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) && WEXITSTATUS(status) != 255 ? WEXITSTATUS(status) : -1;
}

// The id of a process that has ended, so that no process has it now.
pid_t EndedProcessId() {
    const pid_t child = ::fork();
    if (child == 0) {
        ::_exit(0);
    }
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    return child;
}

mode_t ModeOf(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
}

// A file the user made read-only is left as it is, the way editors leave it; it is not
// replaced by a new file that copies its permissions.
TEST_F(IniFileTest, ReadOnlySettingsFileIsLeftAlone) {
    const struct {
        const char* name;
        mode_t mode;
        bool throughLink;
        bool asOrdinaryUser;  // root writes wherever a write bit is set
    } cases[] = {
        {"no write permission bit", 0444, false, false},
        {"a link to a file without write permission", 0444, true, false},
        {"the group may write, its owner not", 0064, false, true},
    };
    const bool root = ::geteuid() == 0;
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const auto& c = cases[i];
        const std::string caseFolder = folder_ / ("case" + std::to_string(i));
        fs::create_directory(caseFolder);
        const std::string real = caseFolder + "/settings.ini";
        WriteBytes(real, kOld);
        ASSERT_EQ(::chmod(real.c_str(), c.mode), 0);
        std::string target = real;
        if (c.throughLink) {
            target = caseFolder + "/link.ini";
            fs::create_symlink("settings.ini", target);
        }
        if (c.asOrdinaryUser && root) {
            // The ordinary user owns the file and may write in its folder, so nothing but the
            // file's own bits keeps it.
            ::chmod(folder_.path().c_str(), 0755);
            ASSERT_EQ(::chown(caseFolder.c_str(), kOrdinaryId, kOrdinaryId), 0);
            ASSERT_EQ(::chown(real.c_str(), kOrdinaryId, kOrdinaryId), 0);
        }
        const FolderState before = StateOf(folder_.path());

        const auto write = [&target] {
            CIniFile ini = NewSettings();
            ini.SetFileName(target);
            std::error_code error;
            if (ini.Write(error)) {
                return 1;
            }
            return error == std::errc::permission_denied ? 0 : 2;
        };
        const int outcome = c.asOrdinaryUser ? InChildAsOrdinaryUser(write) : write();
        if (outcome == -1) {
            GTEST_SKIP() << c.name << ": cannot run the case as user " << kOrdinaryId
                         << ", and root would write the file anyway";
        }
        EXPECT_EQ(outcome, 0) << c.name << ": 1 written, 2 failed for another reason";
        EXPECT_EQ(ChangedEntries(before, StateOf(folder_.path())), Changes{}) << c.name;
        EXPECT_EQ(ModeOf(real), c.mode) << c.name;
    }
}

TEST_F(IniFileTest, FailedSaveIsToldOnceWithThePathAndTheReason) {
    const struct {
        const char* name;
        const char* file;  // in the case's folder; empty: no settings file was found
        std::function<void(const std::string& path)> prepare;
        const char* reason;
    } cases[] = {
        {"the path is a folder", "settings.ini",
         [](const std::string& path) {
             fs::create_directory(path);
             WriteBytes(path + "/inside", "x");
         },
         ": Is a directory"},
        {"a read-only file", "settings.ini",
         [](const std::string& path) {
             WriteBytes(path, kOld);
             ::chmod(path.c_str(), 0444);
         },
         ": Permission denied"},
        {"its folder cannot be made", "blocker/vornik/settings.ini",
         [](const std::string& path) {
             WriteBytes(fs::path(path).parent_path().parent_path(), "a file, not a folder");
         },
         ": cannot create its folder: Not a directory"},
        {"no settings file", "", [](const std::string&) {}, ""},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const auto& c = cases[i];
        const std::string caseFolder = folder_ / ("case" + std::to_string(i));
        fs::create_directory(caseFolder);
        const std::string path = *c.file != '\0' ? caseFolder + "/" + c.file : "";
        c.prepare(path);
        const FolderState before = StateOf(caseFolder);

        CIniFile ini = NewSettings();
        ini.SetFileName(path);
        LogLines log;
        const std::optional<std::string> said = SaveSettingsFile(ini);
        const std::string expected =
            path.empty() ? "Cannot save the settings: no folder for the settings file was found"
                         : "Cannot save the settings to " + path + c.reason;
        EXPECT_EQ(said, expected) << c.name;
        EXPECT_EQ(log.Lines(), std::vector<std::string>{expected}) << c.name;
        EXPECT_EQ(ChangedEntries(before, StateOf(caseFolder)), Changes{}) << c.name;
    }

    // A save that works says nothing and makes the missing folders.
    CIniFile ini = NewSettings();
    ini.SetFileName(folder_ / "new/vornik/settings.ini");
    LogLines log;
    EXPECT_EQ(SaveSettingsFile(ini), std::nullopt);
    EXPECT_EQ(log.Lines(), std::vector<std::string>{});
    CIniFile saved;
    saved.SetFileName(folder_ / "new/vornik/settings.ini");
    ASSERT_TRUE(saved.Read());
    EXPECT_EQ(saved.Sections(), NewSettings().Sections());
}

TEST_F(IniFileTest, SaveOnAFullDiskKeepsTheOldFile) {
    const std::string disk = folder_ / "disk";
    test::TinyTmpfs tmpfs(disk, 64);
    if (!tmpfs.mounted()) {
        GTEST_SKIP() << "cannot mount a tmpfs to fill up (needs root): " << tmpfs.error();
    }
    const std::string path = disk + "/settings.ini";
    WriteBytes(path, kOld);
    ASSERT_TRUE(tmpfs.FillUp("filler"));
    const FolderState before = StateOf(disk);

    CIniFile ini = NewSettings();
    ini.SetFileName(path);
    LogLines log;
    const std::string expected =
        "Cannot save the settings to " + path + ": No space left on device";
    EXPECT_EQ(SaveSettingsFile(ini), expected);
    EXPECT_EQ(log.Lines(), std::vector<std::string>{expected});
    EXPECT_EQ(ChangedEntries(before, StateOf(disk)), Changes{});
}

// What a write that was killed left beside the file goes with the next write; a user's file
// that only looks like it, and a write still running, stay.
TEST_F(IniFileTest, StaleTemporariesOfAKilledWriteGoAndNothingElse) {
    const std::string gone = std::to_string(EndedProcessId());
    const std::string own = std::to_string(::getpid());
    const std::string stem = ".settings.ini.tmp";
    const std::string before = stem + own + "-7";  // this process id's, but from before it
    const std::vector<std::string> stale = {stem + gone + "-0", stem + gone + "-4294967295",
                                            before};
    const std::vector<std::string> alike = {
        stem + own + "-8",  // a write of this process in progress
        stem + "1-0",       // a process that is running
        stem + gone,
        stem + gone + "-",
        stem + gone + "-0.bak",
        stem + gone + "-x",
        stem + gone + "-01",
        stem + gone + "-4294967296",
        stem + "0" + gone + "-0",
        stem + "+" + gone + "-0",
        stem + "-" + gone + "-0",
        stem + "99999999999-0",
        "settings.ini.tmp" + gone + "-0",
        ".Settings.ini.tmp" + gone + "-0",
        ".settings.ini.TMP" + gone + "-0",
        ".settings.ini" + gone + "-0",
        ".other.ini.tmp" + gone + "-0",
        "user.txt",
    };
    for (const std::string& name : stale) {
        WriteBytes(folder_ / name, "left by a killed write");
    }
    for (const std::string& name : alike) {
        WriteBytes(folder_ / name, "the user's " + name);
    }
    const timespec dayAgo[2] = {{std::time(nullptr) - 86400, 0}, {std::time(nullptr) - 86400, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, (folder_ / before).c_str(), dayAgo, 0), 0);
    fs::create_directory(folder_ / (stem + gone + "-1"));
    WriteBytes(folder_ / (stem + gone + "-1/inside"), "the user's");
    fs::create_symlink("user.txt", folder_ / (stem + gone + "-2"));
    if (::geteuid() == 0) {
        const std::string others = folder_ / (stem + gone + "-3");
        WriteBytes(others, "another user's");
        ASSERT_EQ(::chown(others.c_str(), kOrdinaryId, kOrdinaryId), 0);
    }
    // Names of long targets are cut at 64 bytes.
    const std::string longName = std::string(70, 'l') + ".ini";
    const std::string longStale = "." + longName.substr(0, 64) + ".tmp" + gone + "-0";
    const std::string longAlike = "." + longName.substr(0, 65) + ".tmp" + gone + "-0";
    WriteBytes(folder_ / longStale, "left by a killed write");
    WriteBytes(folder_ / longAlike, "the user's");
    WriteBytes(path_, kOld);
    FolderState expected = StateOf(folder_.path());
    for (const std::string& name : stale) {
        expected.erase(name);
    }
    expected.erase(longStale);

    ASSERT_TRUE(WriteOut(NewSettings()));
    CIniFile longIni = NewSettings();
    longIni.SetFileName(folder_ / longName);
    ASSERT_TRUE(longIni.Write());
    EXPECT_EQ(ReadBack(), NewSettings().Sections());
    FolderState after = StateOf(folder_.path());
    expected.erase("settings.ini");
    after.erase("settings.ini");
    after.erase(longName);
    EXPECT_EQ(ChangedEntries(expected, after), Changes{});
}

}  // namespace
}  // namespace vornik
