// SPDX-License-Identifier: GPL-3.0-or-later
// CExportTree: the catalogue's attributes by group, each with a box that is empty, checked or
// (for a group) partly checked.
#pragma once

#include <QTreeWidget>

#include "export_tree_state.h"

namespace vornik {

// The boxes follow ExportTreeState's rules rather than the toolkit's own tri-state logic: a
// click on a partly checked group empties it, and a group takes its state from its children.
// A click on a box, or Space on the current node, toggles that node.
class CExportTree : public QTreeWidget {
    Q_OBJECT

  public:
    explicit CExportTree(QWidget* parent = nullptr);

    // Every catalogue attribute under its group, the pairs of `selection` checked; groups
    // start expanded when some of their attributes are checked.
    void Fill(const ExportTreeState::Selection& selection);
    // The checked attributes, group by group in tree order.
    ExportTreeState::Selection GetSelection() const { return state_.GetSelection(); }
    const ExportTreeState& State() const { return state_; }

    // Toggles node `item` as a click on its box does.
    void ToggleItem(QTreeWidgetItem* item);

  private:
    void ShowStates();
    void OnItemChanged(QTreeWidgetItem* item, int column);

    ExportTreeState state_;
    bool showing_ = false;  // the boxes are being set from the state, not by the user
};

}  // namespace vornik
