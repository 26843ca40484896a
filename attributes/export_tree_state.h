// SPDX-License-Identifier: GPL-3.0-or-later
// The check boxes of the category tree through which the user picks attributes, kept apart
// from the tree widget that draws them.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace vornik {

// The numbers are those of the tree's state images.
enum class CheckState : int {
    Empty = 1,
    Checked = 2,
    Partly = 3,  // groups only: some children checked, some not
};

// Root nodes are the catalogue's groups, their children the attribute names. The tree knows
// nothing of ids: the settings hand it (group, name) pairs and read pairs back.
class ExportTreeState {
  public:
    using Selection = std::vector<std::pair<std::string, std::string>>;  // (group, name)

    struct Child {
        std::string name;
        CheckState state = CheckState::Empty;
    };

    struct Group {
        std::string name;
        CheckState state = CheckState::Empty;
        std::vector<Child> children;
    };

    // Replaces the tree with the catalogue's groups and attributes in id order, checking the
    // attributes named in `selection`; pairs that name no attribute are dropped.
    void Fill(const Selection& selection);

    // Checked attributes, group by group in tree order; group nodes are never returned.
    Selection GetSelection() const;

    // A click on a group's box: the group and all its children take the group's new state.
    // Out-of-range indices are ignored.
    void Toggle(std::size_t group);

    // A click on an attribute's box; its group's state follows. Out-of-range indices are
    // ignored.
    void Toggle(std::size_t group, std::size_t child);

    const std::vector<Group>& groups() const { return groups_; }

    // Checked when no child is empty (so also for no children at all), partly checked when
    // some are checked and some empty, else empty.
    static CheckState GroupState(const std::vector<Child>& children);

  private:
    std::vector<Group> groups_;
};

}  // namespace vornik
