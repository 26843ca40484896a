// SPDX-License-Identifier: GPL-3.0-or-later
#include "tag_page.h"

#include <QHeaderView>
#include <QProgressBar>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace vornik {

CTagPage::CTagPage(TagPageKind kind, QWidget* parent)
    : QWidget(parent), kind_(kind), list_(new QTreeWidget) {
    list_->setHeaderLabels({tr("Field"), tr("Value")});
    list_->setRootIsDecorated(false);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    // The longest field name stays whole; the values take the rest.
    list_->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    list_->header()->setSectionResizeMode(1, QHeaderView::Stretch);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_, 1);
    if (kind == TagPageKind::Lame) {
        progress_ = new QProgressBar;
        progress_->setRange(0, 100);
        progress_->setValue(0);
        layout->addWidget(progress_);
    }
}

void CTagPage::SetRows(const TagRows& rows) {
    list_->clear();
    for (const auto& [field, value] : rows) {
        auto* item = new QTreeWidgetItem(list_, {field, value});
        item->setToolTip(1, value);  // a long value (a reason, say) is cut at the dialog's edge
    }
}

TagRows CTagPage::Rows() const {
    TagRows rows;
    for (int row = 0; row < list_->topLevelItemCount(); ++row) {
        rows.emplace_back(list_->topLevelItem(row)->text(0), list_->topLevelItem(row)->text(1));
    }
    return rows;
}

}  // namespace vornik
