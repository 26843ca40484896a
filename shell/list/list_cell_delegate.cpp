// SPDX-License-Identifier: GPL-3.0-or-later
#include "list_cell_delegate.h"

#include <QLineEdit>
#include <QPainter>

#include "file_operations.h"

namespace vornik {

ListCellDelegate::ListCellDelegate(QualityColumnTest qualityColumn, QObject* parent)
    : QStyledItemDelegate(parent), qualityColumn_(std::move(qualityColumn)) {}

void ListCellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const {
    if (!qualityColumn_(index.column())) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    painter->save();
    painter->fillRect(option.rect, index.data(Qt::BackgroundRole).value<QColor>());
    // The word on the colour, for those who cannot tell the colours apart.
    painter->setPen(index.data(Qt::ForegroundRole).value<QColor>());
    painter->setFont(option.font);
    painter->drawText(option.rect.adjusted(4, 0, -4, 0), Qt::AlignCenter | Qt::TextSingleLine,
                      index.data(Qt::DisplayRole).toString());
    if (option.state & QStyle::State_Selected) {
        // The selection shows as a frame, so that the colour stays readable.
        const QPen frame(option.palette.color(QPalette::Highlight), 2);
        painter->setPen(frame);
        painter->drawRect(option.rect.adjusted(1, 1, -1, -1));
    }
    painter->restore();
}

void ListCellDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    QStyledItemDelegate::setEditorData(editor, index);
    if (auto* line = qobject_cast<QLineEdit*>(editor)) {
        // Once the view has opened the editor: it selects the whole text on the way.
        QMetaObject::invokeMethod(
            line, [line] { line->setSelection(0, static_cast<int>(BaseNameLength(line->text()))); },
            Qt::QueuedConnection);
    }
}

}  // namespace vornik
