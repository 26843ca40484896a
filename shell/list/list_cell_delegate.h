// SPDX-License-Identifier: GPL-3.0-or-later
// Paints the Quality cell as a block of its class's colour, in selected rows too, and opens the
// rename editor with the base name selected, as file managers do.
#pragma once

#include <QStyledItemDelegate>
#include <functional>

namespace vornik {

class ListCellDelegate : public QStyledItemDelegate {
  public:
    // `qualityColumn`: answers whether a shown column is the Quality column.
    using QualityColumnTest = std::function<bool(int column)>;
    ListCellDelegate(QualityColumnTest qualityColumn, QObject* parent);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;

  private:
    QualityColumnTest qualityColumn_;
};

}  // namespace vornik
