// SPDX-License-Identifier: GPL-3.0-or-later
#include "list_settings.h"

#include <gtest/gtest.h>

#include <chrono>
#include <tuple>

namespace vornik {
namespace {

// "[name] key=value key=value ...".
std::string Text(const CIniFile::Section& section) {
    std::string text = "[" + section.name + "]";
    for (const auto& [key, value] : section.entries) {
        text += " " + key + "=" + value;
    }
    return text;
}

// Every field, to compare settings whole.
auto Fields(const ListSettings& s) {
    return std::make_tuple(s.frameres, s.readAllUnknown, s.readAllInitial, s.sortColumnId,
                           s.sortReverse, s.monoQuality, s.xml, s.colorGood, s.colorNotBad,
                           s.colorBad, s.autosize, s.tooltips, s.fileTypes,
                           s.exportSettings.recurse, s.exportSettings.selected,
                           s.exportSettings.templateText);
}

// Missing keys, or a column count of 0 or less, give the defaults, whatever was loaded before.
TEST(ListSettings, DefaultsWhenTheFileHasNoKeys) {
    CIniFile negative;
    negative.SetInt("list_settings", "num_columns22_", -2);
    for (const CIniFile& ini : {CIniFile(), negative}) {
        ListSettings settings;
        settings.frameres = 5;
        settings.fileTypes = "junk";
        settings.exportSettings.selected = {{"a", "b"}};
        ColumnTable columns;
        columns.SetShownIds({202});
        columns.SetWidth(0, 17);
        LoadListSettings(ini, settings, columns);
        EXPECT_EQ(Fields(settings), Fields(ListSettings{}));
        EXPECT_EQ(columns.ShownIds(), (std::vector<int>{0, 1, 2, 9, 4, 5, 6, 7}));
        EXPECT_EQ(columns.Find(0)->width, 200);
    }
}

// The default values, in the order the program always wrote them.
TEST(ListSettings, SavedInTheirOrder) {
    CIniFile ini;
    ListSettings settings;
    settings.exportSettings.selected = {{"General", "Name"}, {"ID3v1", "Title"}};
    settings.exportSettings.templateText = "t";
    ColumnTable columns;
    columns.SetShownIds({0, 202});
    columns.SetWidth(202, 321);
    SaveListSettings(ini, settings, columns);

    ASSERT_EQ(ini.Sections().size(), 2u);
    EXPECT_EQ(Text(ini.Sections()[0]),
              "[list_settings] frameres=1000 readallunknown=1 readallinitial=0 sortcolid=0 "
              "sort_reverse=0 monoquality=0 xml=1 color_good=9895830 color_notbad=9895935 "
              "color_bad=9869055 num_columns22_=2 autosize=1 tooltips=1 colid2_0=0 "
              "colwidth2_0=200 colid2_1=202 colwidth2_1=321 filetypes=.mp3;.mp2;.mp1;.mpc;.mp+;");
    EXPECT_EQ(Text(ini.Sections()[1]),
              "[export] recurse=1 selnum=2 selected_gp0=General selected_nm0=Name "
              "selected_gp1=ID3v1 selected_nm1=Title template=t");
}

// Every field away from its default survives a save and a load.
TEST(ListSettings, RoundTrip) {
    const ListSettings settings{
        .frameres = 0,
        .readAllUnknown = false,
        .readAllInitial = true,
        .sortColumnId = 204,
        .sortReverse = true,
        .monoQuality = true,
        .xml = false,
        .colorGood = 0x010203,
        .colorNotBad = 0xFFFFFF,
        .colorBad = 0,
        .autosize = false,
        .tooltips = false,
        .fileTypes = ".MP3;.ogg",
        .exportSettings = {false, {{"Lame Tag", "Lowpass Filter"}, {"", ""}}, "with\ttab"}};
    ColumnTable columns;
    columns.SetShownIds({202, 4, 0});
    columns.SetWidth(202, 10);
    columns.SetWidth(4, 400);

    CIniFile ini;
    SaveListSettings(ini, settings, columns);
    ListSettings loaded;
    ColumnTable loadedColumns;
    LoadListSettings(ini, loaded, loadedColumns);
    EXPECT_EQ(Fields(loaded), Fields(settings));
    EXPECT_EQ(loadedColumns.ShownIds(), (std::vector<int>{202, 4, 0}));
    EXPECT_EQ(std::make_tuple(loadedColumns.Find(202)->width, loadedColumns.Find(4)->width,
                              loadedColumns.Find(0)->width),
              std::make_tuple(10, 400, 200));
}

TEST(ListSettings, StoredColumnsSkipUnknownIdsAndKeepCatalogueWidthForZero) {
    CIniFile ini;
    ini.SetInt("list_settings", "num_columns22_", 5);
    ini.SetInt("list_settings", "colid2_", 202, 0);
    ini.SetInt("list_settings", "colwidth2_", 0, 0);  // 0: the catalogue's 150
    ini.SetInt("list_settings", "colid2_", 999, 1);   // unknown: skipped
    ini.SetInt("list_settings", "colwidth2_", 50, 1);
    ini.SetInt("list_settings", "colid2_", 4, 2);  // no width stored: 100
    ini.SetInt("list_settings", "colid2_", 5, 3);
    ini.SetInt("list_settings", "colwidth2_", 77, 3);
    // Column 4 has no keys at all: its id defaults to 4, which is already shown.
    ListSettings settings;
    ColumnTable columns;
    columns.SetWidth(4, 1);
    LoadListSettings(ini, settings, columns);
    EXPECT_EQ(columns.ShownIds(), (std::vector<int>{202, 4, 5, 4}));
    EXPECT_EQ(
        std::make_tuple(columns.Find(202)->width, columns.Find(4)->width, columns.Find(5)->width),
        std::make_tuple(150, 100, 77));
}

TEST(ListSettings, HugeHandEditedCountsAreBounded) {
    CIniFile ini;
    ini.SetInt("list_settings", "num_columns22_", 2000000000);
    ini.SetInt("export", "selnum", 2000000000);
    ListSettings settings;
    ColumnTable columns;
    const auto start = std::chrono::steady_clock::now();
    LoadListSettings(ini, settings, columns);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    // Every missing "colid2_i" is i: the catalogue's ids are shown once each.
    EXPECT_EQ(columns.ShownCount(), static_cast<int>(BuildAttributeCatalogue().size()));
    EXPECT_EQ(settings.exportSettings.selected.size(), static_cast<std::size_t>(kMaxStoredEntries));
}

TEST(ListSettings, QualityBackgroundPerClass) {
    const ListSettings settings;
    EXPECT_EQ(QualityBackground(settings, 0), 0x9696FFu);
    EXPECT_EQ(QualityBackground(settings, 1), 0x96FFFFu);
    EXPECT_EQ(QualityBackground(settings, 2), 0x96FF96u);
    EXPECT_EQ(QualityBackground(settings, -1), std::nullopt);
    EXPECT_EQ(QualityBackground(settings, 3), std::nullopt);
}

}  // namespace
}  // namespace vornik
