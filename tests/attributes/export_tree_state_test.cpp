// SPDX-License-Identifier: GPL-3.0-or-later
#include "export_tree_state.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "attribute_catalogue.h"

namespace vornik {
namespace {

using Selection = ExportTreeState::Selection;
using States = std::vector<CheckState>;

constexpr std::size_t kMpegPlus = 1;
constexpr std::size_t kId3v1 = 3;
// The groups of ids below 300; the later ones follow them.
constexpr std::size_t kFirstGroups = 4;

const CheckState kEmpty = CheckState::Empty;
const CheckState kChecked = CheckState::Checked;
const CheckState kPartly = CheckState::Partly;

// The states or names of groups or of attributes.
template <typename Nodes>
States StatesOf(const Nodes& nodes) {
    States states;
    for (const auto& node : nodes) {
        states.push_back(node.state);
    }
    return states;
}
template <typename Nodes>
std::vector<std::string> NamesOf(const Nodes& nodes) {
    std::vector<std::string> names;
    for (const auto& node : nodes) {
        names.push_back(node.name);
    }
    return names;
}

// The states of the first four groups.
States FirstGroupStates(const ExportTreeState& tree) {
    States states = StatesOf(tree.groups());
    states.resize(kFirstGroups);
    return states;
}

TEST(ExportTreeState, GroupsAndAttributesInIdOrder) {
    ExportTreeState tree;
    tree.Fill({});
    std::vector<std::string> groups = NamesOf(tree.groups());
    groups.resize(kFirstGroups + 1);
    EXPECT_EQ(groups,
              (std::vector<std::string>{"General", "Mpeg Plus", "Lame Tag", "ID3v1", "Integrity"}));
    // Id order, not the order of the text slots.
    EXPECT_EQ(NamesOf(tree.groups()[kId3v1].children),
              (std::vector<std::string>{"Album", "Artist", "Title", "Year", "Track", "Comment",
                                        "Genre"}));
    EXPECT_EQ(StatesOf(tree.groups()), States(tree.groups().size(), kEmpty));
    EXPECT_TRUE(tree.GetSelection().empty());

    for (std::size_t group = 0; group < tree.groups().size(); ++group) {
        tree.Toggle(group);
    }
    const Selection all = tree.GetSelection();
    ASSERT_EQ(all.size(), BuildAttributeCatalogue().size());
    tree.Fill(all);
    EXPECT_EQ(StatesOf(tree.groups()), States(tree.groups().size(), kChecked));
    EXPECT_EQ(StatesOf(tree.groups()[kId3v1].children), States(7, kChecked));
    EXPECT_EQ(tree.GetSelection(), all);

    // Unchecking one leaves the group partly checked; a click on it then empties it.
    tree.Toggle(kId3v1, 6);
    EXPECT_EQ(tree.groups()[kId3v1].state, kPartly);
    tree.Toggle(kId3v1);
    EXPECT_EQ(StatesOf(tree.groups()[kId3v1].children), States(7, kEmpty));
    EXPECT_EQ(tree.GetSelection().size(), all.size() - 7);

    // Filling again replaces the tree.
    tree.Fill({{"General", "Name"}});
    EXPECT_EQ(tree.GetSelection(), (Selection{{"General", "Name"}}));
}

TEST(ExportTreeState, SelectionComesBackInTreeOrderWithoutPairsThatNameNoAttribute) {
    ExportTreeState tree;
    tree.Fill({{"ID3v1", "Genre"},
               {"General", "Quality"},
               {"General", "Artist"},  // right name, wrong group
               {"ID3V1", "Year"},      // group compared case-sensitively
               {"ID3v1", "Album"},
               {"General", "Name"},
               {"Lame Tag", "Lame tag"},
               {"Lame Tag", "Lame Tag"},
               {"General", "Name"}});
    EXPECT_EQ(tree.GetSelection(), (Selection{{"General", "Name"},
                                              {"General", "Quality"},
                                              {"Lame Tag", "Lame tag"},
                                              {"ID3v1", "Album"},
                                              {"ID3v1", "Genre"}}));
    EXPECT_EQ(FirstGroupStates(tree), (States{kPartly, kEmpty, kPartly, kPartly}));
}

TEST(ExportTreeState, ClicksOnAGroupAndItsChildren) {
    ExportTreeState tree;
    tree.Fill({});
    const std::tuple<std::size_t, CheckState, CheckState> clicks[] = {
        {0, kChecked, kPartly},   // Profile on
        {1, kChecked, kChecked},  // both on
        {0, kEmpty, kPartly},     // Profile off
        {1, kEmpty, kEmpty},      // both off
        {1, kChecked, kPartly},
    };
    for (const auto& [child, childAfter, groupAfter] : clicks) {
        tree.Toggle(kMpegPlus, child);
        EXPECT_EQ(tree.groups()[kMpegPlus].children[child].state, childAfter) << child;
        EXPECT_EQ(tree.groups()[kMpegPlus].state, groupAfter) << child;
    }
    EXPECT_EQ(tree.GetSelection(), (Selection{{"Mpeg Plus", "Mpeg Plus Stream"}}));

    // A partly checked box clears on a click, with every child; the next click checks all.
    tree.Toggle(kMpegPlus);
    EXPECT_EQ(StatesOf(tree.groups()[kMpegPlus].children), (States{kEmpty, kEmpty}));
    tree.Toggle(kMpegPlus);
    EXPECT_EQ(StatesOf(tree.groups()[kMpegPlus].children), (States{kChecked, kChecked}));
    EXPECT_EQ(FirstGroupStates(tree), (States{kEmpty, kChecked, kEmpty, kEmpty}));

    // Out-of-range clicks are ignored.
    tree.Toggle(4);
    tree.Toggle(kMpegPlus, 2);
    tree.Toggle(7, 0);
    EXPECT_EQ(FirstGroupStates(tree), (States{kEmpty, kChecked, kEmpty, kEmpty}));
    // A group without children counts as checked.
    EXPECT_EQ(ExportTreeState::GroupState({}), kChecked);
}

}  // namespace
}  // namespace vornik
