#include "ini_file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <csignal>
#include <filesystem>
#include <ostream>
#include <sstream>
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
using namespace std::string_literals;

class IniFileTest : public testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(folder_.ok()); }

    // The sections read from a file holding `bytes`.
    Sections ReadFrom(const std::string& bytes) {
        const std::string path = folder_ / "read.ini";
        WriteBytes(path, bytes);
        CIniFile ini;
        ini.SetFileName(path);
        EXPECT_TRUE(ini.Read());
        return ini.Sections();
    }

    TempFolder folder_;
};

// ---------------------------------------------------------------------------------------------
// Reading

struct ReadCase {
    const char* name;
    std::string bytes;
    Sections expected;
};

std::string Repeat(char c, std::size_t count) {
    return std::string(count, c);
}

std::vector<ReadCase> ReadCases() {
    const std::string longValue = Repeat('y', 1498);  // with "x\t", a line of 1500 bytes
    const std::string longName = Repeat('n', 1500);
    const std::string fullLine = "k\t" + Repeat('v', 1021);  // exactly 1023 bytes
    return {
        {"EmptyFile", "", {}},
        {"FirstLineEmpty", "\r\nsec\r\nk\tv\r\n\r\n", {}},
        {"FirstLineEmptyLf", "\nsec\nk\tv\n\n", {}},
        {"OneSectionCrLf", "sec\r\nk\tv\r\n\r\n", {{"sec", {{"k", "v"}}}}},
        {"OneSectionLf", "sec\nk\tv\n\n", {{"sec", {{"k", "v"}}}}},
        {"MixedLineEnds", "sec\nk\tv\r\nk2\tw\n\r\n", {{"sec", {{"k", "v"}, {"k2", "w"}}}}},
        {"SectionWithoutEntries", "sec\r\n\r\n", {{"sec", {}}}},
        {"SectionsAndKeysInFileOrder",
         "b\r\nz\t1\r\na\t2\r\n\r\na\r\ny\t3\r\n\r\n",
         {{"b", {{"z", "1"}, {"a", "2"}}}, {"a", {{"y", "3"}}}}},
        {"TwoEmptyLinesEndReading",
         "a\r\nk\tv\r\n\r\n\r\nb\r\nk\tv\r\n\r\n",
         {{"a", {{"k", "v"}}}}},
        {"SectionWithoutClosingLineIsDropped",
         "a\r\nk\tv\r\n\r\nb\r\nk\tv\r\n",
         {{"a", {{"k", "v"}}}}},
        {"HeaderAtEndIsDropped", "a\r\nk\tv\r\n\r\nb\r\n", {{"a", {{"k", "v"}}}}},
        {"LastLineWithoutLineEndIsDropped", "a\r\nk\tv\r\n\r\nb", {{"a", {{"k", "v"}}}}},
        {"EntryWithoutLineEndDropsItsSection", "a\r\nk\tv", {}},
        {"CrWithoutLfAtEndIsNoLineEnd", "a\r\nk\tv\r\n\r", {}},
        {"LineWithoutTabIsCorrupt",
         "a\r\nk\tv\r\nno tab here\r\nk2\tw\r\n\r\n",
         {{"a", {{"k", "v"}, {"corrupt", ""}, {"k2", "w"}}}}},
        {"TabAndNothingIsAnEmptyValue", "a\r\nk\t\r\n\r\n", {{"a", {{"k", ""}}}}},
        {"LeadingTabIsAnEmptyKey", "a\r\n\tvalue\r\n\r\n", {{"a", {{"", "value"}}}}},
        {"OnlyTheFirstTabSeparates", "a\r\nk\tv1\tv2\t\r\n\r\n", {{"a", {{"k", "v1\tv2\t"}}}}},
        {"BlanksAreKept", "  a b \r\n k \t v \r\n\r\n", {{"  a b ", {{" k ", " v "}}}}},
        {"DuplicatesAreKept",
         "a\r\nk\t1\r\nk\t2\r\n\r\na\r\nk\t3\r\n\r\n",
         {{"a", {{"k", "1"}, {"k", "2"}}}, {"a", {{"k", "3"}}}}},
        {"LoneCrIsPartOfTheLine", "a\r\nk\tv\rw\r\n\r\n", {{"a", {{"k", "v\rw"}}}}},
        {"CrBeforeCrLfIsKept", "a\r\nk\tv\r\r\n\r\n", {{"a", {{"k", "v\r"}}}}},
        {"BytesAreKept",
         "a\r\nk\tv\0w \xC3\xA4\xFF\r\n\r\n"s,
         {{"a", {{"k", "v\0w \xC3\xA4\xFF"s}}}}},
        {"LineOfMaxLengthIsWhole",
         "a\r\n" + fullLine + "\r\nk2\tw\r\n\r\nb\r\n\r\n",
         {{"a", {{"k", Repeat('v', 1021)}, {"k2", "w"}}}, {"b", {}}}},
        {"LineOfMaxLengthLf", "a\n" + fullLine + "\n\n", {{"a", {{"k", Repeat('v', 1021)}}}}},
        {"LongEntryIsCutAndEndsReading",
         "a\r\nk\tv\r\nx\t" + longValue + "\r\nk2\tw\r\n\r\nb\r\nk\tv\r\n\r\n",
         {{"a", {{"k", "v"}, {"x", Repeat('y', 1021)}}}}},
        {"LongEntryAtEndWithoutLineEndIsCut",
         "a\r\nx\t" + longValue,
         {{"a", {{"x", Repeat('y', 1021)}}}}},
        {"LongHeaderIsCutAndEndsReading",
         longName + "\r\nk\tv\r\n\r\nb\r\n\r\n",
         {{Repeat('n', 1023), {}}}},
        {"LongLineWithoutTabInItsFirstPart",
         "a\r\n" + Repeat('x', 1100) + "\tv\r\n\r\n",
         {{"a", {{"corrupt", ""}}}}},
        {"ProgramsOwnExample",
         "favourites_mru\r\ncount\t1\r\n0\tC:\\Music\r\n\r\n"
         "list_settings\r\nframeres\t1000\r\ncolor_bad\t9869055\r\n\r\n",
         {{"favourites_mru", {{"count", "1"}, {"0", "C:\\Music"}}},
          {"list_settings", {{"frameres", "1000"}, {"color_bad", "9869055"}}}}},
    };
}

void PrintTo(const ReadCase& c, std::ostream* out) {
    *out << c.name;
}

class ReadRuleTest : public IniFileTest, public testing::WithParamInterface<ReadCase> {};

TEST_P(ReadRuleTest, GivesTheSections) {
    EXPECT_EQ(ReadFrom(GetParam().bytes), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(IniFile, ReadRuleTest, testing::ValuesIn(ReadCases()),
                         [](const testing::TestParamInfo<ReadCase>& info) {
                             return std::string(info.param.name);
                         });

TEST_F(IniFileTest, MissingFileIsNotReadAndChangesNothing) {
    CIniFile ini;
    ini.SetString("kept", "k", "v");
    ini.SetFileName(folder_ / "absent.ini");
    EXPECT_FALSE(ini.Read());
    EXPECT_EQ(ini.Sections(), (Sections{{"kept", {{"k", "v"}}}}));
}

TEST_F(IniFileTest, FolderIsNotReadAsAFile) {
    fs::create_directory(folder_.path() / "settings.ini");
    CIniFile ini;
    ini.SetFileName(folder_ / "settings.ini");
    EXPECT_FALSE(ini.Read());
    EXPECT_TRUE(ini.Sections().empty());
}

TEST_F(IniFileTest, UnreadableFileIsNotRead) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "permissions do not bind root";
    }
    const std::string path = folder_ / "closed.ini";
    WriteBytes(path, "a\r\nk\tv\r\n\r\n");
    ::chmod(path.c_str(), 0);
    CIniFile ini;
    ini.SetFileName(path);
    EXPECT_FALSE(ini.Read());
}

TEST_F(IniFileTest, ReadAppendsToTheSectionsHeld) {
    const std::string path = folder_ / "read.ini";
    WriteBytes(path, "a\r\nk\tfrom file\r\n\r\nb\r\nk\tv\r\n\r\n");
    CIniFile ini;
    ini.SetString("a", "k", "held");
    ini.SetFileName(path);
    ASSERT_TRUE(ini.Read());
    EXPECT_EQ(ini.Sections(),
              (Sections{{"a", {{"k", "held"}}}, {"a", {{"k", "from file"}}}, {"b", {{"k", "v"}}}}));
    EXPECT_EQ(ini.GetString("a", "k", "default"), "held");
}

// ---------------------------------------------------------------------------------------------
// Getters

CIniFile Holding(const std::string& section, const std::string& key, const std::string& value) {
    CIniFile ini;
    ini.SetString(section, key, value);
    return ini;
}

struct IntCase {
    std::string text;
    int expected;
};

class GetIntTest : public testing::TestWithParam<IntCase> {};

TEST_P(GetIntTest, ReadsLikeAtoi) {
    const CIniFile ini = Holding("s", "k", GetParam().text);
    EXPECT_EQ(ini.GetInt("s", "k", 4242), GetParam().expected) << '"' << GetParam().text << '"';
}

INSTANTIATE_TEST_SUITE_P(
    IniFile, GetIntTest,
    testing::Values(IntCase{"1000", 1000}, IntCase{"12abc", 12}, IntCase{"-5", -5},
                    IntCase{" 7", 7}, IntCase{"\t\v\f\r 7", 7}, IntCase{"+8", 8}, IntCase{"007", 7},
                    IntCase{"1 2", 1}, IntCase{"abc", 0}, IntCase{"", 0}, IntCase{"-", 0},
                    IntCase{"- 5", 0}, IntCase{"+-5", 0}, IntCase{"0x10", 0}, IntCase{"7 ", 7},
                    IntCase{"9869055", 9869055}, IntCase{"2147483647", INT_MAX},
                    IntCase{"2147483648", INT_MAX}, IntCase{"99999999999999999999999", INT_MAX},
                    IntCase{"-2147483648", INT_MIN}, IntCase{"-2147483649", INT_MIN},
                    IntCase{"-99999999999999999999999", INT_MIN}));

TEST(IniFileGetters, MissingKeyOrSectionGivesTheDefault) {
    const CIniFile ini = Holding("list_settings", "frameres", "500");
    EXPECT_EQ(ini.GetInt("list_settings", "frameres", 1000), 500);
    EXPECT_EQ(ini.GetInt("list_settings", "autosize", 1), 1);
    EXPECT_EQ(ini.GetInt("tree_settings", "frameres", -1), -1);
    EXPECT_EQ(ini.GetString("list_settings", "filetypes", ".mp3;"), ".mp3;");
    EXPECT_EQ(ini.GetString("details", "frameres", ""), "");
}

TEST(IniFileGetters, EmptyValueIsPresent) {
    const CIniFile ini = Holding("s", "k", "");
    EXPECT_EQ(ini.GetString("s", "k", "default"), "");
    EXPECT_EQ(ini.GetInt("s", "k", 99), 0);
}

TEST(IniFileGetters, NamesAndKeysMatchExactly) {
    const CIniFile ini = Holding("list_settings", "frameres", "500");
    EXPECT_EQ(ini.GetInt("List_Settings", "frameres", 1), 1);
    EXPECT_EQ(ini.GetInt("list_settings", "FRAMERES", 1), 1);
    EXPECT_EQ(ini.GetInt("list_settings ", "frameres", 1), 1);
    EXPECT_EQ(ini.GetInt("list_settings", "frameres ", 1), 1);
    EXPECT_EQ(ini.GetInt("list_setting", "frameres", 1), 1);
    EXPECT_EQ(ini.GetInt("list_settings", "frame", 1), 1);
}

TEST(IniFileGetters, IndexIsAppendedToTheKey) {
    CIniFile ini;
    ini.SetString("export", "selected_gp3", "group three");
    ini.SetString("export", "selected_gp", "no index");
    ini.SetString("list_settings", "colid2_0", "9");
    ini.SetString("list_settings", "colid2_12", "4");
    ini.SetString("list_settings", "colid2_-2", "5");
    EXPECT_EQ(ini.GetString("export", "selected_gp", "", 3), "group three");
    EXPECT_EQ(ini.GetString("export", "selected_gp", ""), "no index");
    EXPECT_EQ(ini.GetString("export", "selected_gp", "", -1), "no index");
    EXPECT_EQ(ini.GetString("export", "selected_gp", "none", 4), "none");
    EXPECT_EQ(ini.GetInt("list_settings", "colid2_", -7, 0), 9);
    EXPECT_EQ(ini.GetInt("list_settings", "colid2_", -7, 12), 4);
    EXPECT_EQ(ini.GetInt("list_settings", "colid2_", -7, 1), -7);
    EXPECT_EQ(ini.GetInt("list_settings", "colid2_", -7, -2), 5);  // only -1 means none
}

TEST(IniFileGetters, FirstSectionAndFirstKeyWin) {
    // Duplicates only come from files.
    TempFolder folder;
    ASSERT_TRUE(folder.ok());
    WriteBytes(folder / "dup.ini", "a\r\nk\t1\r\nk\t2\r\n\r\na\r\nk\t3\r\nonly_second\t4\r\n\r\n");
    CIniFile ini;
    ini.SetFileName(folder / "dup.ini");
    ASSERT_TRUE(ini.Read());
    EXPECT_EQ(ini.GetInt("a", "k", 0), 1);
    // The key exists in the second "a" only, and only the first "a" is ever looked at.
    EXPECT_EQ(ini.GetInt("a", "only_second", -1), -1);

    ini.SetString("a", "k", "new");
    ini.SetString("a", "only_second", "x");
    EXPECT_EQ(ini.Sections(), (Sections{{"a", {{"k", "new"}, {"k", "2"}, {"only_second", "x"}}},
                                        {"a", {{"k", "3"}, {"only_second", "4"}}}}));
}

TEST(IniFileGetters, LookupLeavesTheOutValueAloneWhenAbsent) {
    const CIniFile ini = Holding("s", "k", "v");
    std::string value = "untouched";
    EXPECT_FALSE(ini.Lookup("s", "other", value));
    EXPECT_EQ(value, "untouched");
    EXPECT_FALSE(ini.Lookup("other", "k", value));
    EXPECT_EQ(value, "untouched");
    EXPECT_TRUE(ini.Lookup("s", "k", value));
    EXPECT_EQ(value, "v");
}

// ---------------------------------------------------------------------------------------------
// Setters

TEST(IniFileSetters, ExistingKeyKeepsItsPlace) {
    CIniFile ini;
    ini.SetInt("s", "a", 1);
    ini.SetInt("s", "b", 2);
    ini.SetInt("s", "c", 3);
    ini.SetInt("s", "a", 10);
    EXPECT_EQ(ini.Sections(), (Sections{{"s", {{"a", "10"}, {"b", "2"}, {"c", "3"}}}}));
}

TEST(IniFileSetters, NewKeysAndSectionsAreAppended) {
    CIniFile ini;
    ini.SetString("second", "x", "1");
    ini.SetString("first", "y", "2");
    ini.SetString("second", "z", "3");
    ini.SetString("First", "y", "4");
    EXPECT_EQ(ini.Sections(), (Sections{{"second", {{"x", "1"}, {"z", "3"}}},
                                        {"first", {{"y", "2"}}},
                                        {"First", {{"y", "4"}}}}));
}

TEST(IniFileSetters, IndexIsAppendedToTheKey) {
    CIniFile ini;
    ini.SetInt("list_settings", "colid2_", 9, 0);
    ini.SetInt("list_settings", "colwidth2_", 120, 0);
    ini.SetString("export", "selected_nm", "Bitrate", 11);
    ini.SetString("export", "template", "t", -1);
    ini.SetInt("list_settings", "colid2_0", 4);  // the same key, built by the caller
    EXPECT_EQ(ini.Sections(),
              (Sections{{"list_settings", {{"colid2_0", "4"}, {"colwidth2_0", "120"}}},
                        {"export", {{"selected_nm11", "Bitrate"}, {"template", "t"}}}}));
}

TEST(IniFileSetters, IntegersAreSignedDecimal) {
    CIniFile ini;
    ini.SetInt("s", "zero", 0);
    ini.SetInt("s", "negative", -5);
    ini.SetInt("s", "min", INT_MIN);
    ini.SetInt("s", "max", INT_MAX);
    ini.SetInt("s", "colour", 0x9696FF);
    EXPECT_EQ(ini.GetString("s", "zero", ""), "0");
    EXPECT_EQ(ini.GetString("s", "negative", ""), "-5");
    EXPECT_EQ(ini.GetString("s", "min", ""), "-2147483648");
    EXPECT_EQ(ini.GetString("s", "max", ""), "2147483647");
    EXPECT_EQ(ini.GetString("s", "colour", ""), "9869055");
    for (const char* key : {"zero", "negative", "min", "max", "colour"}) {
        std::string text;
        ASSERT_TRUE(ini.Lookup("s", key, text));
        EXPECT_EQ(std::to_string(ini.GetInt("s", key, 1)), text);
    }
}

// ---------------------------------------------------------------------------------------------
// Writing

TEST(IniFileSectionStream, WritesOneBlock) {
    std::ostringstream out;
    out << CIniFile::Section{"list_settings", {{"frameres", "1000"}, {"", ""}, {"k", "a\tb"}}};
    EXPECT_EQ(out.str(), "list_settings\r\nframeres\t1000\r\n\t\r\nk\ta\tb\r\n\r\n");
}

TEST(IniFileSectionStream, EmptySectionIsNameAndClosingLine) {
    std::ostringstream out;
    out << CIniFile::Section{"s", {}};
    EXPECT_EQ(out.str(), "s\r\n\r\n");
}

TEST_F(IniFileTest, WritesTheExactBytes) {
    CIniFile ini;
    ini.SetInt("favourites_mru", "count", 1);
    ini.SetString("favourites_mru", "0", "C:\\Music");
    ini.SetInt("list_settings", "frameres", 1000);
    ini.SetInt("list_settings", "color_bad", 0x9696FF);
    ini.SetString("export", "template", "");
    ini.SetString("empty_section_made_by_hand", "k", "v");
    ini.SetFileName(folder_ / "settings.ini");
    ASSERT_TRUE(ini.Write());
    EXPECT_EQ(ReadBytes(folder_ / "settings.ini"),
              "favourites_mru\r\ncount\t1\r\n0\tC:\\Music\r\n\r\n"
              "list_settings\r\nframeres\t1000\r\ncolor_bad\t9869055\r\n\r\n"
              "export\r\ntemplate\t\r\n\r\n"
              "empty_section_made_by_hand\r\nk\tv\r\n\r\n");
    EXPECT_EQ(NamesIn(folder_.path()), (std::set<std::string>{"settings.ini"}));
}

TEST_F(IniFileTest, NothingHeldWritesAnEmptyFile) {
    const std::string path = folder_ / "settings.ini";
    WriteBytes(path, "old\r\nk\tv\r\n\r\n");
    CIniFile ini;
    ini.SetFileName(path);
    ASSERT_TRUE(ini.Write());
    EXPECT_EQ(ReadBytes(path), "");
}

TEST_F(IniFileTest, SaveRebuildsTheFileFromEmpty) {
    const std::string path = folder_ / "settings.ini";
    WriteBytes(path,
               "list_settings\r\nobsolete\t1\r\nframeres\t5\r\n\r\nold_section\r\nk\tv\r\n\r\n");
    CIniFile saved;
    saved.SetFileName(path);
    saved.SetInt("list_settings", "frameres", 1000);
    ASSERT_TRUE(saved.Write());

    CIniFile loaded;
    loaded.SetFileName(path);
    ASSERT_TRUE(loaded.Read());
    EXPECT_EQ(loaded.Sections(), (Sections{{"list_settings", {{"frameres", "1000"}}}}));
}

struct RoundTripCase {
    const char* name;
    Sections sections;
};

void PrintTo(const RoundTripCase& c, std::ostream* out) {
    *out << c.name;
}

class RoundTripTest : public IniFileTest, public testing::WithParamInterface<RoundTripCase> {};

TEST_P(RoundTripTest, ReadGivesBackWhatWasWritten) {
    CIniFile written;
    for (const auto& section : GetParam().sections) {
        for (const auto& [key, value] : section.entries) {
            written.SetString(section.name, key, value);
        }
    }
    ASSERT_EQ(written.Sections(), GetParam().sections);
    written.SetFileName(folder_ / "settings.ini");
    ASSERT_TRUE(written.Write());

    CIniFile read;
    read.SetFileName(folder_ / "settings.ini");
    ASSERT_TRUE(read.Read());
    EXPECT_EQ(read.Sections(), written.Sections());
}

INSTANTIATE_TEST_SUITE_P(
    IniFile, RoundTripTest,
    testing::Values(RoundTripCase{"Plain", {{"mainframe", {{"left", "10"}, {"top", "50"}}}}},
                    RoundTripCase{"ManySections",
                                  {{"a", {{"1", "x"}}}, {"b", {{"2", "y"}}}, {"c", {{"3", "z"}}}}},
                    RoundTripCase{"TabsInValues", {{"s", {{"k", "\ta\t\tb\t"}}}}},
                    RoundTripCase{"Blanks", {{" s ", {{" k ", "  "}}}}},
                    RoundTripCase{"EmptyKeyAndValue", {{"s", {{"", ""}, {"k", ""}}}}},
                    RoundTripCase{"CarriageReturns", {{"s\r", {{"k\r", "\r"}, {"k2", "a\rb\r"}}}}},
                    RoundTripCase{"Utf8",
                                  {{"tree_settings", {{"initdir", "/home/ü/Musik/Ärger"}}}}},
                    RoundTripCase{"LongestLine", {{"s", {{"k", std::string(1021, 'v')}}}}},
                    RoundTripCase{"NulByte", {{"s", {{"k", "a\0b"s}}}}}),
    [](const testing::TestParamInfo<RoundTripCase>& info) { return std::string(info.param.name); });

TEST_F(IniFileTest, WhatCannotBeReadBackIsLeftOutAndTheRestSurvives) {
    CIniFile ini;
    ini.SetString("favourites_mru", "count", "3");
    ini.SetString("favourites_mru", "0", "/music/a\n\nb");  // two line breaks would end reading
    ini.SetString("favourites_mru", "1", "/music/ok");
    ini.SetString("favourites_mru", "2", "/music/" + std::string(1100, 'x'));
    ini.SetString("favourites_mru", "key\twith tab", "v");
    ini.SetString("favourites_mru", "key\nwith break", "v");
    ini.SetString("", "k", "v");  // an empty header line would end reading
    ini.SetString("name\nbroken", "k", "v");
    ini.SetString(std::string(1024, 'n'), "k", "v");
    ini.SetString("list_settings", "frameres", "1000");
    ini.SetFileName(folder_ / "settings.ini");
    ASSERT_TRUE(ini.Write());
    EXPECT_EQ(ReadBytes(folder_ / "settings.ini"),
              "favourites_mru\r\ncount\t3\r\n1\t/music/ok\r\n\r\n"
              "list_settings\r\nframeres\t1000\r\n\r\n");
}

TEST_F(IniFileTest, LineOfExactlyMaxLengthIsWrittenOneByteMoreIsNot) {
    CIniFile ini;
    ini.SetString("s", "k", std::string(1021, 'v'));
    ini.SetString("s", "l", std::string(1022, 'w'));
    ini.SetString(std::string(1023, 'n'), "k", "v");
    ini.SetFileName(folder_ / "settings.ini");
    ASSERT_TRUE(ini.Write());
    EXPECT_EQ(ReadBytes(folder_ / "settings.ini"), "s\r\nk\t" + std::string(1021, 'v') +
                                                       "\r\n\r\n" + std::string(1023, 'n') +
                                                       "\r\nk\tv\r\n\r\n");
}

// ---------------------------------------------------------------------------------------------
// Replacing the file

class IniFileWriteTest : public IniFileTest {
  protected:
    static constexpr const char* kOld = "old\r\nk\told value\r\n\r\n";

    CIniFile NewSettings(const std::string& path) {
        CIniFile ini;
        ini.SetFileName(path);
        for (int i = 0; i < 20; ++i) {
            ini.SetString("new", "key", std::string(40, 'n'), i);
        }
        return ini;
    }
};

TEST_F(IniFileWriteTest, CreatesAMissingFile) {
    const std::string path = folder_ / "settings.ini";
    ASSERT_TRUE(NewSettings(path).Write());
    EXPECT_EQ(ReadBytes(path).substr(0, 5), "new\r\n");
    EXPECT_EQ(NamesIn(folder_.path()), (std::set<std::string>{"settings.ini"}));
}

TEST_F(IniFileWriteTest, NoFileNameIsAFailure) {
    EXPECT_FALSE(NewSettings("").Write());
}

TEST_F(IniFileWriteTest, TargetThatIsAFolderFailsAndIsKept) {
    const fs::path target = folder_.path() / "settings.ini";
    fs::create_directory(target);
    WriteBytes((target / "inside").string(), "x");
    EXPECT_FALSE(NewSettings(target.string()).Write());
    EXPECT_TRUE(fs::is_directory(target));
    EXPECT_EQ(ReadBytes((target / "inside").string()), "x");
    EXPECT_EQ(NamesIn(folder_.path()), (std::set<std::string>{"settings.ini"}));
}

TEST_F(IniFileWriteTest, MissingFolderFails) {
    EXPECT_FALSE(NewSettings(folder_ / "absent/settings.ini").Write());
    EXPECT_EQ(NamesIn(folder_.path()), (std::set<std::string>{}));
}

TEST_F(IniFileWriteTest, ClosedFolderFailsAndKeepsTheOldFile) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "permissions do not bind root";
    }
    const fs::path sub = folder_.path() / "closed";
    fs::create_directory(sub);
    const std::string path = (sub / "settings.ini").string();
    WriteBytes(path, kOld);
    ::chmod(sub.c_str(), 0555);
    EXPECT_FALSE(NewSettings(path).Write());
    ::chmod(sub.c_str(), 0700);
    EXPECT_EQ(ReadBytes(path), kOld);
    EXPECT_EQ(NamesIn(sub), (std::set<std::string>{"settings.ini"}));
}

// A write that the system cuts short (here: the file size limit) is the case that truncating
// the old file in place would lose it.
TEST_F(IniFileWriteTest, WriteCutShortFailsAndKeepsTheOldFile) {
    const std::string path = folder_ / "settings.ini";
    WriteBytes(path, kOld);
    const CIniFile ini = NewSettings(path);

    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 100;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool written = ini.Write();
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_FALSE(written);
    EXPECT_EQ(ReadBytes(path), kOld);
    EXPECT_EQ(NamesIn(folder_.path()), (std::set<std::string>{"settings.ini"}));
}

TEST_F(IniFileWriteTest, ReplacesTheOldFileWhole) {
    const std::string path = folder_ / "settings.ini";
    WriteBytes(path, std::string(5000, 'o'));  // longer than the new contents
    ASSERT_TRUE(NewSettings(path).Write());
    CIniFile read;
    read.SetFileName(path);
    ASSERT_TRUE(read.Read());
    EXPECT_EQ(read.Sections(), NewSettings(path).Sections());
    EXPECT_EQ(NamesIn(folder_.path()), (std::set<std::string>{"settings.ini"}));
}

TEST_F(IniFileWriteTest, KeepsThePermissionsOfTheOldFile) {
    const std::string path = folder_ / "settings.ini";
    WriteBytes(path, kOld);
    ::chmod(path.c_str(), 0640);
    ASSERT_TRUE(NewSettings(path).Write());
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
}

TEST_F(IniFileWriteTest, WritesThroughASymbolicLink) {
    const fs::path real = folder_.path() / "real" / "settings.ini";
    fs::create_directory(real.parent_path());
    WriteBytes(real.string(), kOld);
    const fs::path link = folder_.path() / "link.ini";
    fs::create_symlink("real/settings.ini", link);

    ASSERT_TRUE(NewSettings(link.string()).Write());
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(ReadBytes(real.string()).substr(0, 5), "new\r\n");
    EXPECT_EQ(NamesIn(folder_.path()), (std::set<std::string>{"link.ini", "real"}));
    EXPECT_EQ(NamesIn(real.parent_path()), (std::set<std::string>{"settings.ini"}));
}

TEST_F(IniFileWriteTest, RelativePathIsWrittenInTheCurrentFolder) {
    const fs::path before = fs::current_path();
    fs::current_path(folder_.path());
    const bool written = NewSettings("settings.ini").Write();
    fs::current_path(before);
    EXPECT_TRUE(written);
    EXPECT_EQ(NamesIn(folder_.path()), (std::set<std::string>{"settings.ini"}));
}

}  // namespace
}  // namespace vornik
