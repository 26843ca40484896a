// SPDX-License-Identifier: GPL-3.0-or-later
// The user guide names and explains every column the catalogue has.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "attribute_catalogue.h"

namespace vornik {
namespace {

TEST(UserGuide, ExplainsEveryColumn) {
    std::ifstream in(VORNIK_GUIDE_PATH);
    ASSERT_TRUE(in) << VORNIK_GUIDE_PATH;
    const std::string guide(std::istreambuf_iterator<char>(in), {});
    for (const auto& [id, attribute] : BuildAttributeCatalogue()) {
        // A row of the columns' tables: "| id | **Name** | what it tells |".
        const std::string row = "| " + std::to_string(id) + " | **" + attribute.name + "** | ";
        EXPECT_NE(guide.find(row), std::string::npos) << id << " " << attribute.name;
        EXPECT_NE(guide.find("### " + attribute.group), std::string::npos) << attribute.group;
    }
}

}  // namespace
}  // namespace vornik
