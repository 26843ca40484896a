#include "list_settings.h"

#include <gtest/gtest.h>

#include <chrono>

namespace vornik {
namespace {

using Entries = std::vector<std::pair<std::string, std::string>>;

TEST(ListSettings, DefaultsWhenTheFileHasNoKeys) {
    ListSettings settings;
    settings.frameres = 5;
    settings.fileTypes = "junk";
    settings.exportSettings.selected = {{"a", "b"}};
    ColumnTable columns;
    columns.SetShownIds({202});
    columns.SetWidth(0, 17);
    LoadListSettings(CIniFile(), settings, columns);

    EXPECT_EQ(settings.frameres, 1000);
    EXPECT_TRUE(settings.readAllUnknown);
    EXPECT_FALSE(settings.readAllInitial);
    EXPECT_EQ(settings.sortColumnId, 0);
    EXPECT_FALSE(settings.sortReverse);
    EXPECT_FALSE(settings.monoQuality);
    EXPECT_TRUE(settings.xml);
    EXPECT_EQ(settings.colorGood, 0x96FF96u);
    EXPECT_EQ(settings.colorNotBad, 0x96FFFFu);
    EXPECT_EQ(settings.colorBad, 0x9696FFu);
    EXPECT_TRUE(settings.autosize);
    EXPECT_TRUE(settings.tooltips);
    EXPECT_EQ(settings.fileTypes, ".mp3;.mp2;.mp1;.mpc;.mp+;");
    EXPECT_TRUE(settings.exportSettings.recurse);
    EXPECT_TRUE(settings.exportSettings.selected.empty());
    EXPECT_EQ(settings.exportSettings.templateText, "");
    EXPECT_EQ(columns.ShownIds(), (std::vector<int>{0, 1, 2, 9, 4, 5, 6, 7}));
    EXPECT_EQ(columns.Find(0)->width, 200);
}

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
    EXPECT_EQ(ini.Sections()[0].name, "list_settings");
    EXPECT_EQ(ini.Sections()[0].entries, (Entries{{"frameres", "1000"},
                                                  {"readallunknown", "1"},
                                                  {"readallinitial", "0"},
                                                  {"sortcolid", "0"},
                                                  {"sort_reverse", "0"},
                                                  {"monoquality", "0"},
                                                  {"xml", "1"},
                                                  {"color_good", "9895830"},
                                                  {"color_notbad", "9895935"},
                                                  {"color_bad", "9869055"},
                                                  {"num_columns22_", "2"},
                                                  {"autosize", "1"},
                                                  {"tooltips", "1"},
                                                  {"colid2_0", "0"},
                                                  {"colwidth2_0", "200"},
                                                  {"colid2_1", "202"},
                                                  {"colwidth2_1", "321"},
                                                  {"filetypes", ".mp3;.mp2;.mp1;.mpc;.mp+;"}}));
    EXPECT_EQ(ini.Sections()[1].name, "export");
    EXPECT_EQ(ini.Sections()[1].entries, (Entries{{"recurse", "1"},
                                                  {"selnum", "2"},
                                                  {"selected_gp0", "General"},
                                                  {"selected_nm0", "Name"},
                                                  {"selected_gp1", "ID3v1"},
                                                  {"selected_nm1", "Title"},
                                                  {"template", "t"}}));
}

TEST(ListSettings, RoundTrip) {
    ListSettings settings;
    settings.frameres = 0;
    settings.readAllUnknown = false;
    settings.readAllInitial = true;
    settings.sortColumnId = 204;
    settings.sortReverse = true;
    settings.monoQuality = true;
    settings.xml = false;
    settings.colorGood = 0x010203;
    settings.colorNotBad = 0xFFFFFF;
    settings.colorBad = 0;
    settings.autosize = false;
    settings.tooltips = false;
    settings.fileTypes = ".MP3;.ogg";
    settings.exportSettings.recurse = false;
    settings.exportSettings.selected = {{"Lame Tag", "Lowpass Filter"}, {"", ""}};
    settings.exportSettings.templateText = "with\ttab";
    ColumnTable columns;
    columns.SetShownIds({202, 4, 0});
    columns.SetWidth(202, 10);
    columns.SetWidth(4, 400);

    CIniFile ini;
    SaveListSettings(ini, settings, columns);
    ListSettings loaded;
    ColumnTable loadedColumns;
    LoadListSettings(ini, loaded, loadedColumns);

    EXPECT_EQ(loaded.frameres, 0);
    EXPECT_FALSE(loaded.readAllUnknown);
    EXPECT_TRUE(loaded.readAllInitial);
    EXPECT_EQ(loaded.sortColumnId, 204);
    EXPECT_TRUE(loaded.sortReverse);
    EXPECT_TRUE(loaded.monoQuality);
    EXPECT_FALSE(loaded.xml);
    EXPECT_EQ(loaded.colorGood, 0x010203u);
    EXPECT_EQ(loaded.colorNotBad, 0xFFFFFFu);
    EXPECT_EQ(loaded.colorBad, 0u);
    EXPECT_FALSE(loaded.autosize);
    EXPECT_FALSE(loaded.tooltips);
    EXPECT_EQ(loaded.fileTypes, ".MP3;.ogg");
    EXPECT_FALSE(loaded.exportSettings.recurse);
    EXPECT_EQ(loaded.exportSettings.selected, settings.exportSettings.selected);
    EXPECT_EQ(loaded.exportSettings.templateText, "with\ttab");
    EXPECT_EQ(loadedColumns.ShownIds(), (std::vector<int>{202, 4, 0}));
    EXPECT_EQ(loadedColumns.Find(202)->width, 10);
    EXPECT_EQ(loadedColumns.Find(4)->width, 400);
    EXPECT_EQ(loadedColumns.Find(0)->width, 200);

    CIniFile again;
    SaveListSettings(again, loaded, loadedColumns);
    EXPECT_EQ(again.Sections(), ini.Sections());
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
    EXPECT_EQ(columns.Find(202)->width, 150);
    EXPECT_EQ(columns.Find(4)->width, 100);
    EXPECT_EQ(columns.Find(5)->width, 77);
}

TEST(ListSettings, NegativeColumnCountMeansTheDefaultColumns) {
    CIniFile ini;
    ini.SetInt("list_settings", "num_columns22_", -2);
    ListSettings settings;
    ColumnTable columns;
    columns.SetShownIds({202});
    LoadListSettings(ini, settings, columns);
    EXPECT_EQ(columns.ShownIds(), (std::vector<int>{0, 1, 2, 9, 4, 5, 6, 7}));
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
    // Every missing "colid2_i" is i, so the columns are the catalogue's ids in order.
    std::vector<int> ids;
    for (const auto& [id, attribute] : BuildAttributeCatalogue()) {
        ids.push_back(id);
    }
    EXPECT_EQ(columns.ShownIds(), ids);
    EXPECT_EQ(settings.exportSettings.selected.size(), static_cast<std::size_t>(kMaxStoredEntries));
}

TEST(ListSettings, QualityBackgroundPerClass) {
    ListSettings settings;
    EXPECT_EQ(QualityBackground(settings, 0), 0x9696FFu);
    EXPECT_EQ(QualityBackground(settings, 1), 0x96FFFFu);
    EXPECT_EQ(QualityBackground(settings, 2), 0x96FF96u);
    EXPECT_EQ(QualityBackground(settings, -1), std::nullopt);
    EXPECT_EQ(QualityBackground(settings, 3), std::nullopt);
}

}  // namespace
}  // namespace vornik
