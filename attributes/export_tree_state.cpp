// SPDX-License-Identifier: GPL-3.0-or-later
#include "export_tree_state.h"

#include <algorithm>

#include "attribute_catalogue.h"

namespace vornik {
namespace {

// A partly checked box clears on a click, like a checked one.
CheckState Toggled(CheckState state) {
    return state == CheckState::Empty ? CheckState::Checked : CheckState::Empty;
}

}  // namespace

void ExportTreeState::Fill(const Selection& selection) {
    groups_.clear();
    for (const auto& entry : BuildAttributeCatalogue()) {
        const AttributeInfo& info = entry.second;
        // A group starts wherever the group text changes between neighbouring ids.
        if (groups_.empty() || groups_.back().name != info.group) {
            groups_.push_back({info.group, CheckState::Empty, {}});
        }
        const bool selected =
            std::any_of(selection.begin(), selection.end(), [&info](const auto& pair) {
                return pair.first == info.group && pair.second == info.name;
            });
        groups_.back().children.push_back(
            {info.name, selected ? CheckState::Checked : CheckState::Empty});
    }
    for (Group& group : groups_) {
        group.state = GroupState(group.children);
    }
}

ExportTreeState::Selection ExportTreeState::GetSelection() const {
    Selection selection;
    for (const Group& group : groups_) {
        for (const Child& child : group.children) {
            if (child.state == CheckState::Checked) {
                selection.emplace_back(group.name, child.name);
            }
        }
    }
    return selection;
}

void ExportTreeState::Toggle(std::size_t group) {
    if (group >= groups_.size()) {
        return;
    }
    Group& g = groups_[group];
    g.state = Toggled(g.state);
    for (Child& child : g.children) {
        child.state = g.state;
    }
}

void ExportTreeState::Toggle(std::size_t group, std::size_t child) {
    if (group >= groups_.size() || child >= groups_[group].children.size()) {
        return;
    }
    Group& g = groups_[group];
    g.children[child].state = Toggled(g.children[child].state);
    g.state = GroupState(g.children);
}

CheckState ExportTreeState::GroupState(const std::vector<Child>& children) {
    const auto any = [&children](CheckState state) {
        return std::any_of(children.begin(), children.end(),
                           [state](const Child& c) { return c.state == state; });
    };
    if (!any(CheckState::Empty)) {
        return CheckState::Checked;
    }
    return any(CheckState::Checked) ? CheckState::Partly : CheckState::Empty;
}

}  // namespace vornik
