#include "ini_file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <climits>
#include <csignal>
#include <filesystem>
#include <ostream>
#include <set>
#include <string>
#include <vector>

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

}  // namespace
}  // namespace vornik
