// SPDX-License-Identifier: GPL-3.0-or-later
#include "list_sub_header.h"

#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionHeader>

#include "sort_arrow.h"

namespace vornik {

CListSubHeader::CListSubHeader(QWidget* parent) : QHeaderView(Qt::Horizontal, parent) {
    setSectionsClickable(true);
    setHighlightSections(false);
    setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

void CListSubHeader::SetSortColumn(int column, bool reverse) {
    sortColumn_ = column;
    sortReverse_ = reverse;
    viewport()->update();
}

QMenu* CListSubHeader::CreateCustomizeMenu(QWidget* parent) {
    auto* menu = new QMenu(parent);
    menu->addAction(tr("&Customize"), this, &CListSubHeader::CustomizeRequested);
    return menu;
}

void CListSubHeader::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const {
    if (!rect.isValid() || model() == nullptr) {
        return;
    }
    QStyleOptionHeader option;
    initStyleOption(&option);
    option.rect = rect;
    option.section = logicalIndex;
    option.sortIndicator = QStyleOptionHeader::None;
    option.text.clear();
    style()->drawControl(QStyle::CE_HeaderSection, &option, painter, this);

    const int margin = style()->pixelMetric(QStyle::PM_HeaderMargin, &option, this);
    const QRect textArea = rect.adjusted(margin, 0, -margin, 0);
    const bool sorted = logicalIndex == sortColumn_;
    const int room = sorted ? SortedTextRoom(textArea) : textArea.width();
    const QString text = fontMetrics().elidedText(
        model()->headerData(logicalIndex, Qt::Horizontal).toString(), Qt::ElideRight, room);
    painter->save();
    painter->setPen(palette().color(QPalette::ButtonText));
    painter->drawText(textArea, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text);
    if (sorted) {
        const QRect box = SortArrowRect(rect, textArea.x() + fontMetrics().horizontalAdvance(text));
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setPen(palette().color(QPalette::Dark));
        painter->setBrush(palette().color(QPalette::Mid));
        painter->drawPolygon(SortArrowTriangle(box, sortReverse_));
    }
    painter->restore();
}

void CListSubHeader::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        QMenu* const menu = CreateCustomizeMenu(this);
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->popup(event->globalPosition().toPoint());
        return;
    }
    QHeaderView::mouseReleaseEvent(event);
}

}  // namespace vornik
