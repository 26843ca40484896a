// SPDX-License-Identifier: GPL-3.0-or-later
// The settings pages' rules that need no window.
#include "list_page_values.h"

#include <gtest/gtest.h>

#include "file_type_filter.h"

namespace vornik {
namespace {

TEST(ListPageValues, FramesEditReadsAsASignedNumberOrNotAtAll) {
    const std::vector<std::pair<std::string, FramesEditValue>> cases = {
        {"1000", {true, 1000}},     {"0", {true, 0}},         {"  42", {true, 42}},
        {"-7", {true, -7}},         {"70000", {true, 70000}}, {"2147483647", {true, 2147483647}},
        {"", {false, 0}},           {"-", {false, 0}},        {"12a", {false, 0}},
        {"12 ", {false, 0}},        {"+5", {false, 0}},       {"2147483648", {false, 0}},
        {"99999999999", {false, 0}}};
    for (const auto& [text, expected] : cases) {
        const FramesEditValue read = ReadFramesEdit(text);
        EXPECT_EQ(read.isNumber, expected.isNumber) << text;
        EXPECT_EQ(read.value, expected.value) << text;
    }
}

// Each case starts from frames 1000, read-all-unknown on, read-all-initial off, xml on.
TEST(ListPageValues, GeneralPageTakesItsValuesAndSaysWhenARefillIsDue) {
    struct Case {
        GeneralPageInput input;
        GeneralPageResult expected;
        int frames;
        bool unknown, initial, xml;
    };
    const std::vector<Case> cases = {
        {{"1000", true, false, true}, {true, false}, 1000, true, false, true},
        {{"1000", true, false, false}, {true, false}, 1000, true, false, false},  // export only
        {{"500", true, false, true}, {true, true}, 500, true, false, true},
        {{"1000", false, false, true}, {true, true}, 1000, false, false, true},
        {{"1000", true, true, true}, {true, true}, 1000, true, true, true},
        {{"70000", true, false, true}, {true, true}, 70000, true, false, true},
        // Not a number: 0 is taken, the boxes are not.
        {{"", false, true, false}, {false, true}, 0, true, false, true},
        {{"12a", false, false, false}, {false, true}, 0, true, false, true},
    };
    for (const Case& c : cases) {
        ListPageValues values;
        values.frameres = 1000;
        values.readAllUnknown = true;
        values.xml = true;
        const GeneralPageResult result = ApplyGeneralPage(c.input, values);
        EXPECT_EQ(result.isNumber, c.expected.isNumber) << c.input.framesText;
        EXPECT_EQ(result.needsRefill, c.expected.needsRefill) << c.input.framesText;
        EXPECT_EQ(values.frameres, c.frames);
        EXPECT_EQ(values.readAllUnknown, c.unknown);
        EXPECT_EQ(values.readAllInitial, c.initial);
        EXPECT_EQ(values.xml, c.xml);
    }
}

TEST(ListPageValues, AddedExtensionGetsItsDotAndKeepsItsCase) {
    EXPECT_EQ(ExtensionToAdd(""), std::nullopt);
    EXPECT_EQ(ExtensionToAdd("MP3"), ".MP3");
    EXPECT_EQ(ExtensionToAdd(".ogg"), ".ogg");
    EXPECT_EQ(ExtensionToAdd(".."), "..");
    // Saved as added, it still matches files in any letter case.
    EXPECT_TRUE(FileTypeFilter(JoinFileTypes({".MP3"})).Wants("song.mp3"));
}

TEST(ListPageValues, FileTypesSplitAndJoinKeepCaseAndOrder) {
    EXPECT_EQ(SplitFileTypes(";.MP3;;.mp+;.ogg"),
              (std::vector<std::string>{".MP3", ".mp+", ".ogg"}));
    EXPECT_EQ(JoinFileTypes({".mp3", ".MPC"}), ".mp3;.MPC;");
    EXPECT_EQ(JoinFileTypes({}), "");
    EXPECT_TRUE(FileTypeFilter(JoinFileTypes({})).Extensions().empty());
}

TEST(ListPageValues, ChosenColumnsAreTheShownOnesAndComeBackAsIds) {
    ColumnTable columns;
    columns.SetShownIds({0, 102, 7});
    ListSettings settings;
    const ListPageValues values = PageValuesFrom(settings, columns);
    const ExportTreeState::Selection expected = {
        {"General", "Name"}, {"Lame Tag", "Tag Revision"}, {"General", "Quality"}};
    EXPECT_EQ(values.chosenColumns, expected);
    EXPECT_EQ(ColumnIdsOf(values.chosenColumns), (std::vector<int>{0, 102, 7}));
    // A pair that names no attribute is dropped; a name under the wrong group too.
    EXPECT_EQ(ColumnIdsOf({{"General", "Nope"}, {"ID3v1", "Name"}, {"ID3v1", "Genre"}}),
              (std::vector<int>{206}));
    EXPECT_TRUE(ColumnIdsOf({}).empty());
}

TEST(ListPageValues, TakingTheCopiesBackLeavesOtherSettingsAlone) {
    ListSettings settings;
    settings.sortColumnId = 4;
    settings.sortReverse = true;
    ListPageValues values = PageValuesFrom(settings, ColumnTable());
    values.frameres = 0;
    values.colorBad = 0x123456;
    values.monoQuality = true;
    values.tooltips = false;
    values.fileTypes = "";
    TakePageValues(values, settings);
    EXPECT_EQ(settings.frameres, 0);
    EXPECT_EQ(settings.colorBad, 0x123456u);
    EXPECT_TRUE(settings.monoQuality);
    EXPECT_FALSE(settings.tooltips);
    EXPECT_EQ(settings.fileTypes, "");
    EXPECT_EQ(settings.sortColumnId, 4);
    EXPECT_TRUE(settings.sortReverse);
}

}  // namespace
}  // namespace vornik
