// SPDX-License-Identifier: GPL-3.0-or-later
#include "export_tree.h"

#include <QHeaderView>

namespace vornik {
namespace {

Qt::CheckState BoxOf(CheckState state) {
    switch (state) {
        case CheckState::Checked:
            return Qt::Checked;
        case CheckState::Partly:
            return Qt::PartiallyChecked;
        case CheckState::Empty:
            break;
    }
    return Qt::Unchecked;
}

}  // namespace

CExportTree::CExportTree(QWidget* parent) : QTreeWidget(parent) {
    setColumnCount(1);
    header()->hide();
    setUniformRowHeights(true);
    connect(this, &QTreeWidget::itemChanged, this, &CExportTree::OnItemChanged);
}

void CExportTree::Fill(const ExportTreeState::Selection& selection) {
    state_.Fill(selection);
    showing_ = true;
    clear();
    // Checkable but not tri-state for the toolkit: a click only asks for a toggle, whose
    // outcome comes from the state.
    const Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable;
    for (const ExportTreeState::Group& group : state_.groups()) {
        auto* groupItem = new QTreeWidgetItem(this, {QString::fromStdString(group.name)});
        groupItem->setFlags(flags);
        for (const ExportTreeState::Child& child : group.children) {
            auto* childItem = new QTreeWidgetItem(groupItem, {QString::fromStdString(child.name)});
            childItem->setFlags(flags);
        }
        groupItem->setExpanded(group.state != CheckState::Empty);
    }
    showing_ = false;
    ShowStates();
}

void CExportTree::ToggleItem(QTreeWidgetItem* item) {
    if (item == nullptr) {
        return;
    }
    if (QTreeWidgetItem* parent = item->parent()) {
        state_.Toggle(static_cast<std::size_t>(indexOfTopLevelItem(parent)),
                      static_cast<std::size_t>(parent->indexOfChild(item)));
    } else {
        state_.Toggle(static_cast<std::size_t>(indexOfTopLevelItem(item)));
    }
    ShowStates();
}

void CExportTree::ShowStates() {
    showing_ = true;
    const std::vector<ExportTreeState::Group>& groups = state_.groups();
    for (int g = 0; g < topLevelItemCount() && g < static_cast<int>(groups.size()); ++g) {
        const ExportTreeState::Group& group = groups[static_cast<std::size_t>(g)];
        QTreeWidgetItem* groupItem = topLevelItem(g);
        groupItem->setCheckState(0, BoxOf(group.state));
        for (int c = 0; c < groupItem->childCount() && c < static_cast<int>(group.children.size());
             ++c) {
            groupItem->child(c)->setCheckState(
                0, BoxOf(group.children[static_cast<std::size_t>(c)].state));
        }
    }
    showing_ = false;
}

void CExportTree::OnItemChanged(QTreeWidgetItem* item, int /*column*/) {
    if (!showing_) {
        ToggleItem(item);
    }
}

}  // namespace vornik
