// SPDX-License-Identifier: GPL-3.0-or-later
#include "row_order.h"

#include <gtest/gtest.h>

namespace vornik {
namespace {

struct Row {
    Mp3Info record{};
    PackedTexts texts;
    bool done = true;
    RowKey key() const { return {done, &record, &texts}; }
};

Row Make(const std::string& name, float duration, bool done = true) {
    Row row;
    row.texts.Set(kSlotName, name);
    row.texts.Set(kSlotTitle, name);
    row.record.duration = duration;
    row.done = done;
    return row;
}

TEST(RowOrder, NumericFieldAndDirection) {
    const Row a = Make("a", 59);
    const Row b = Make("b", 60);
    constexpr int kLength = 4;
    EXPECT_TRUE(RowBefore(a.key(), b.key(), kLength, false));
    EXPECT_FALSE(RowBefore(b.key(), a.key(), kLength, false));
    EXPECT_TRUE(RowBefore(b.key(), a.key(), kLength, true));
    // Equal values: neither comes first, so an inserted row goes after its equals.
    EXPECT_FALSE(RowBefore(a.key(), a.key(), kLength, false));
    EXPECT_FALSE(RowBefore(a.key(), a.key(), kLength, true));
}

TEST(RowOrder, TextsIgnoreCase) {
    const Row lower = Make("apple", 0);
    const Row upper = Make("Banana", 0);
    constexpr int kTitle = 202;
    EXPECT_TRUE(RowBefore(lower.key(), upper.key(), kTitle, false));
    EXPECT_FALSE(RowBefore(upper.key(), lower.key(), kTitle, false));
    EXPECT_TRUE(RowBefore(upper.key(), lower.key(), kTitle, true));
    EXPECT_EQ(CompareTextsIgnoringCase("ABC", "abc"), 0);
    EXPECT_LT(CompareTextsIgnoringCase("ab", "abc"), 0);
}

TEST(RowOrder, RowsNotDoneStayLastWhateverTheDirection) {
    const Row done = Make("z", 100);
    const Row waiting = Make("a", 1, false);
    for (const bool reverse : {false, true}) {
        EXPECT_TRUE(RowBefore(done.key(), waiting.key(), 0, reverse));
        EXPECT_FALSE(RowBefore(waiting.key(), done.key(), 0, reverse));
        EXPECT_FALSE(RowBefore(waiting.key(), waiting.key(), 0, reverse));
    }
}

TEST(RowOrder, UnknownSortIdSortsByName) {
    const Row a = Make("a", 9);
    const Row b = Make("b", 1);
    EXPECT_TRUE(RowBefore(a.key(), b.key(), 999, false));
}

}  // namespace
}  // namespace vornik
