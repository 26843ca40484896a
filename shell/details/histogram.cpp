// SPDX-License-Identifier: GPL-3.0-or-later
#include "histogram.h"

#include <QContextMenuEvent>
#include <QPainter>
#include <numeric>

#include "chart_menu.h"
#include "histogram_layout.h"

namespace vornik {

CHistogram::CHistogram(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(200, 120);
}

void CHistogram::SetData(const HistogramData& data) {
    data_ = data;
    setAccessibleName(data_.title);
    setAccessibleDescription(TextAlternative());
    update();
}

void CHistogram::SetColours(std::vector<QColor> colours) {
    colours_ = std::move(colours);
    update();
}

QString CHistogram::TextAlternative() const {
    QStringList parts{data_.title};
    const double total = std::accumulate(data_.values.begin(), data_.values.end(), 0.0);
    for (std::size_t i = 0; i < data_.values.size(); ++i) {
        const QString label = static_cast<int>(i) < data_.labels.size()
                                  ? data_.labels.at(static_cast<int>(i))
                                  : QString::number(i);
        const double share = total > 0 ? data_.values[i] * 100.0 / total : 0.0;
        parts << label + ": " + QString::number(share, 'f', data_.precision < 1 ? 0 : 1) + '%';
    }
    return parts.join(QStringLiteral(", "));
}

void CHistogram::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Base));
    const HistogramLayout layout = LayOutHistogram(
        rect(), data_.values, data_.labels, static_cast<int>(colours_.size()), data_.precision);
    QFont font = this->font();
    font.setPointSizeF(std::max(layout.fontTenthsOfPoint, 10) / 10.0);
    painter.setFont(font);
    painter.setPen(palette().color(QPalette::Text));
    painter.drawText(layout.titleAt, Qt::AlignLeft | Qt::AlignTop, data_.title);
    if (layout.bars.empty()) {
        return;
    }
    painter.drawLine(layout.lineLeft, layout.baselineY, layout.lineRight, layout.baselineY);
    for (const HistogramBar& bar : layout.bars) {
        painter.setPen(palette().color(QPalette::Text));
        painter.setBrush(bar.colourIndex >= 0 ? colours_[static_cast<std::size_t>(bar.colourIndex)]
                                              : QColor(Qt::white));
        // QRect's right and bottom are inclusive; an outline drawn on them covers the bar.
        painter.drawRect(bar.rect.adjusted(0, 0, -1, -1));
        if (!bar.percent.isEmpty()) {
            painter.setPen(Qt::white);
            painter.drawText(bar.rect, Qt::AlignCenter | Qt::TextSingleLine, bar.percent);
        }
        if (!bar.label.isEmpty()) {
            painter.setPen(palette().color(QPalette::Text));
            painter.drawText(bar.labelRect, Qt::AlignHCenter | Qt::AlignTop, bar.label);
        }
    }
}

void CHistogram::contextMenuEvent(QContextMenuEvent* event) {
    ShowChartMenu(*this, event->globalPos());
}

}  // namespace vornik
