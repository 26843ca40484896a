// SPDX-License-Identifier: GPL-3.0-or-later
#include "version_text.h"

#include <gtest/gtest.h>

#include <tuple>

namespace vornik {
namespace {

TEST(VersionText, ThirdNumberIsAppendedWithoutSeparatorWhenNotZero) {
    const std::tuple<int, int, int, const char*> cases[] = {
        {0, 1, 0, "Vornik 0.1"},
        {2, 0, 0, "Vornik 2.0"},
        {2, 0, 1, "Vornik 2.01"},
        {1, 12, 3, "Vornik 1.123"},
    };
    for (const auto& [major, minor, patch, text] : cases) {
        EXPECT_EQ(VersionTextFor(major, minor, patch), text);
    }
    EXPECT_EQ(VersionText(), "Vornik 0.1");
}

TEST(VersionText, BetaTextOnlyForANonZeroBeta) {
    EXPECT_EQ(BetaTextFor(0), "");
    EXPECT_EQ(BetaTextFor(3), "beta 3");
}

}  // namespace
}  // namespace vornik
