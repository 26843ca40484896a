// SPDX-License-Identifier: GPL-3.0-or-later
#include "column_table.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

namespace vornik {
namespace {

// Numbers line up on their last digit, texts on their first.
TEST(ColumnTable, EntriesCarryTheCatalogueFacts) {
    const ColumnTable table;
    const ColumnEntry& length = *table.Find(4);
    EXPECT_EQ(std::tie(length.name, length.description, length.group),
              std::make_tuple("Length", "Mp3 duration (h:mm:ss)", "General"));
    EXPECT_EQ(length.textSlot, 3);
    EXPECT_EQ(length.sortField, SortField::Duration);
    EXPECT_TRUE(length.SortsNumerically());
    EXPECT_EQ(length.alignment, ColumnAlignment::Right);
    EXPECT_FALSE(table.Find(202)->SortsNumerically());
    EXPECT_EQ(table.Find(202)->alignment, ColumnAlignment::Left);
    EXPECT_EQ(table.Find(10), nullptr);  // no attribute 10
}

TEST(ColumnTable, UnknownIdsAreSkippedAndWidthsStayWithTheirAttribute) {
    ColumnTable table;
    table.SetWidth(5, 333);
    table.SetWidth(999, 1);  // unknown: ignored
    table.SetShownIds({10, 202, 5, 999, -1});
    EXPECT_EQ(table.ShownIds(), (std::vector<int>{202, 5}));
    EXPECT_EQ(table.Shown(1).width, 333);
    EXPECT_EQ(table.ColumnOf(5), 1);
    EXPECT_EQ(table.ColumnOf(0), -1);
    EXPECT_FALSE(table.AnyShownNeedsWalk());
    table.ShowDefaultColumns();
    EXPECT_EQ(table.Find(5)->width, 100);  // back to the catalogue's width
}

TEST(AutoSize, FirstColumnTakesTheRestOfTheClientWidth) {
    EXPECT_EQ(AutoSizedFirstColumnWidth(1000, {200, 100, 60}), 840);
    EXPECT_EQ(AutoSizedFirstColumnWidth(1000, {500, 100, 60}), 840);
    EXPECT_EQ(AutoSizedFirstColumnWidth(361, {200, 100, 60}), 201);
    EXPECT_EQ(AutoSizedFirstColumnWidth(360, {200, 100, 60}), 200);  // 200 or less gives 200
    EXPECT_EQ(AutoSizedFirstColumnWidth(640, {}), 640);
}

}  // namespace
}  // namespace vornik
