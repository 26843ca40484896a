#include "export_tree_state.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vornik {
namespace {

using Selection = ExportTreeState::Selection;

constexpr std::size_t kGeneral = 0;
constexpr std::size_t kMpegPlus = 1;
constexpr std::size_t kLameTag = 2;
constexpr std::size_t kId3v1 = 3;

const CheckState kEmpty = CheckState::Empty;
const CheckState kChecked = CheckState::Checked;
const CheckState kPartly = CheckState::Partly;

std::vector<CheckState> ChildStates(const ExportTreeState& tree, std::size_t group) {
    std::vector<CheckState> states;
    for (const auto& child : tree.groups()[group].children) {
        states.push_back(child.state);
    }
    return states;
}

std::vector<CheckState> GroupStates(const ExportTreeState& tree) {
    std::vector<CheckState> states;
    for (const auto& group : tree.groups()) {
        states.push_back(group.state);
    }
    return states;
}

std::vector<std::string> ChildNames(const ExportTreeState& tree, std::size_t group) {
    std::vector<std::string> names;
    for (const auto& child : tree.groups()[group].children) {
        names.push_back(child.name);
    }
    return names;
}

Selection Everything() {
    ExportTreeState tree;
    tree.Fill({});
    Selection all;
    for (const auto& group : tree.groups()) {
        for (const auto& child : group.children) {
            all.emplace_back(group.name, child.name);
        }
    }
    return all;
}

TEST(ExportTreeState, StateNumbersAreTheStateImages) {
    EXPECT_EQ(static_cast<int>(CheckState::Empty), 1);
    EXPECT_EQ(static_cast<int>(CheckState::Checked), 2);
    EXPECT_EQ(static_cast<int>(CheckState::Partly), 3);
}

TEST(ExportTreeState, EmptySelectionGivesFourEmptyGroupsInIdOrder) {
    ExportTreeState tree;
    tree.Fill({});
    ASSERT_EQ(tree.groups().size(), 4u);
    EXPECT_EQ(tree.groups()[kGeneral].name, "General");
    EXPECT_EQ(tree.groups()[kMpegPlus].name, "Mpeg Plus");
    EXPECT_EQ(tree.groups()[kLameTag].name, "Lame Tag");
    EXPECT_EQ(tree.groups()[kId3v1].name, "ID3v1");
    EXPECT_EQ(tree.groups()[kGeneral].children.size(), 16u);
    EXPECT_EQ(ChildNames(tree, kMpegPlus),
              (std::vector<std::string>{"Profile", "Mpeg Plus Stream"}));
    EXPECT_EQ(
        ChildNames(tree, kLameTag),
        (std::vector<std::string>{"Lame tag", "Quality Index", "Tag Revision", "VBR Method",
                                  "Lowpass Filter", "Psycho-acoustic Model", "Safe Joint Stereo",
                                  "nogap (continuation)", "nogap (continued)", "AthType",
                                  "ABR Bitrate", "Unwise Settings", "Input Frequency"}));
    // Id order, not the order of the text slots.
    EXPECT_EQ(ChildNames(tree, kId3v1),
              (std::vector<std::string>{"Album", "Artist", "Title", "Year", "Track", "Comment",
                                        "Genre"}));
    EXPECT_EQ(GroupStates(tree), (std::vector<CheckState>(4, kEmpty)));
    for (std::size_t g = 0; g < 4; ++g) {
        EXPECT_EQ(ChildStates(tree, g),
                  std::vector<CheckState>(tree.groups()[g].children.size(), kEmpty));
    }
    EXPECT_TRUE(tree.GetSelection().empty());
}

TEST(ExportTreeState, EverythingSelectedChecksEveryBox) {
    ExportTreeState tree;
    const Selection all = Everything();
    ASSERT_EQ(all.size(), 38u);
    tree.Fill(all);
    EXPECT_EQ(GroupStates(tree), (std::vector<CheckState>(4, kChecked)));
    for (std::size_t g = 0; g < 4; ++g) {
        EXPECT_EQ(ChildStates(tree, g),
                  std::vector<CheckState>(tree.groups()[g].children.size(), kChecked));
    }
    EXPECT_EQ(tree.GetSelection(), all);
}

TEST(ExportTreeState, SelectionComesBackInTreeOrder) {
    ExportTreeState tree;
    tree.Fill({{"ID3v1", "Genre"},
               {"General", "Quality"},
               {"ID3v1", "Album"},
               {"General", "Name"},
               {"Lame Tag", "Lame tag"},
               {"General", "Name"}});
    EXPECT_EQ(tree.GetSelection(), (Selection{{"General", "Name"},
                                              {"General", "Quality"},
                                              {"Lame Tag", "Lame tag"},
                                              {"ID3v1", "Album"},
                                              {"ID3v1", "Genre"}}));
    EXPECT_EQ(GroupStates(tree), (std::vector<CheckState>{kPartly, kEmpty, kPartly, kPartly}));
}

TEST(ExportTreeState, OneLameTagAttributeMakesThePartlyCheckedGroup) {
    ExportTreeState tree;
    tree.Fill({{"Lame Tag", "AthType"}});
    EXPECT_EQ(GroupStates(tree), (std::vector<CheckState>{kEmpty, kEmpty, kPartly, kEmpty}));
    EXPECT_EQ(ChildStates(tree, kLameTag)[9], kChecked);

    // A partly checked box clears on a click, with every child.
    tree.Toggle(kLameTag);
    EXPECT_EQ(tree.groups()[kLameTag].state, kEmpty);
    EXPECT_EQ(ChildStates(tree, kLameTag), std::vector<CheckState>(13, kEmpty));
    EXPECT_TRUE(tree.GetSelection().empty());
}

TEST(ExportTreeState, ClickingACheckedGroupTwice) {
    ExportTreeState tree;
    tree.Fill({{"Mpeg Plus", "Profile"}, {"Mpeg Plus", "Mpeg Plus Stream"}});
    ASSERT_EQ(tree.groups()[kMpegPlus].state, kChecked);

    tree.Toggle(kMpegPlus);
    EXPECT_EQ(tree.groups()[kMpegPlus].state, kEmpty);
    EXPECT_EQ(ChildStates(tree, kMpegPlus), (std::vector<CheckState>{kEmpty, kEmpty}));
    EXPECT_TRUE(tree.GetSelection().empty());

    tree.Toggle(kMpegPlus);
    EXPECT_EQ(tree.groups()[kMpegPlus].state, kChecked);
    EXPECT_EQ(ChildStates(tree, kMpegPlus), (std::vector<CheckState>{kChecked, kChecked}));
    EXPECT_EQ(tree.GetSelection(),
              (Selection{{"Mpeg Plus", "Profile"}, {"Mpeg Plus", "Mpeg Plus Stream"}}));
    // The other groups are untouched.
    EXPECT_EQ(GroupStates(tree), (std::vector<CheckState>{kEmpty, kChecked, kEmpty, kEmpty}));
}

TEST(ExportTreeState, ChildClicksRecomputeTheGroup) {
    ExportTreeState tree;
    tree.Fill({});
    const struct {
        std::size_t child;
        CheckState childAfter;
        CheckState groupAfter;
    } clicks[] = {
        {0, kChecked, kPartly},   // Profile on
        {1, kChecked, kChecked},  // both on
        {0, kEmpty, kPartly},     // Profile off
        {1, kEmpty, kEmpty},      // both off
        {1, kChecked, kPartly},
    };
    for (const auto& click : clicks) {
        tree.Toggle(kMpegPlus, click.child);
        EXPECT_EQ(ChildStates(tree, kMpegPlus)[click.child], click.childAfter) << click.child;
        EXPECT_EQ(tree.groups()[kMpegPlus].state, click.groupAfter) << click.child;
    }
    EXPECT_EQ(tree.GetSelection(), (Selection{{"Mpeg Plus", "Mpeg Plus Stream"}}));
}

TEST(ExportTreeState, UncheckingOneOfAFullGroup) {
    ExportTreeState tree;
    tree.Fill(Everything());
    tree.Toggle(kId3v1, 6);
    EXPECT_EQ(tree.groups()[kId3v1].state, kPartly);
    EXPECT_EQ(tree.GetSelection().size(), 37u);
    // A click on the partly checked group empties it rather than filling it.
    tree.Toggle(kId3v1);
    EXPECT_EQ(ChildStates(tree, kId3v1), std::vector<CheckState>(7, kEmpty));
    EXPECT_EQ(tree.GetSelection().size(), 31u);
}

TEST(ExportTreeState, GroupStateRule) {
    using Children = std::vector<ExportTreeState::Child>;
    EXPECT_EQ(ExportTreeState::GroupState({}), kChecked);
    EXPECT_EQ(ExportTreeState::GroupState(Children{{"a", kChecked}, {"b", kChecked}}), kChecked);
    EXPECT_EQ(ExportTreeState::GroupState(Children{{"a", kEmpty}, {"b", kChecked}}), kPartly);
    EXPECT_EQ(ExportTreeState::GroupState(Children{{"a", kEmpty}, {"b", kEmpty}}), kEmpty);
}

TEST(ExportTreeState, PairsThatNameNoAttributeAreLost) {
    ExportTreeState tree;
    tree.Fill({{"General", "Album"},      // right name, wrong group
               {"ID3V1", "Album"},        // group compared case-sensitively
               {"Lame Tag", "Lame Tag"},  // the attribute is "Lame tag"
               {"General", "Bitrate "},
               {"Other", "Name"},
               {"", ""},
               {"General", "Bitrate"}});
    EXPECT_EQ(tree.GetSelection(), (Selection{{"General", "Bitrate"}}));
    EXPECT_EQ(GroupStates(tree), (std::vector<CheckState>{kPartly, kEmpty, kEmpty, kEmpty}));
}

TEST(ExportTreeState, FillReplacesTheTree) {
    ExportTreeState tree;
    tree.Fill(Everything());
    tree.Fill({{"General", "Name"}});
    EXPECT_EQ(tree.groups().size(), 4u);
    EXPECT_EQ(tree.GetSelection(), (Selection{{"General", "Name"}}));
}

TEST(ExportTreeState, OutOfRangeClicksAreIgnored) {
    ExportTreeState tree;
    tree.Toggle(0);
    tree.Toggle(0, 0);
    EXPECT_TRUE(tree.groups().empty());
    tree.Fill({{"Mpeg Plus", "Profile"}});
    tree.Toggle(4);
    tree.Toggle(kMpegPlus, 2);
    tree.Toggle(7, 0);
    EXPECT_EQ(tree.GetSelection(), (Selection{{"Mpeg Plus", "Profile"}}));
    EXPECT_EQ(GroupStates(tree), (std::vector<CheckState>{kEmpty, kPartly, kEmpty, kEmpty}));
}

}  // namespace
}  // namespace vornik
