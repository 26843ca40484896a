// SPDX-License-Identifier: GPL-3.0-or-later
#include "bitrate_graph.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>

#include "chart_menu.h"
#include "log.h"

namespace vornik {

CBitrateGraph::CBitrateGraph(QWidget* parent)
    : QWidget(parent), scrollBar_(new QScrollBar(Qt::Horizontal, this)) {
    Log("CBitrateGraph::OnCreate");
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(240, 140);
    scrollBar_->setRange(0, kScrollRange);
    scrollBar_->hide();
    connect(scrollBar_, &QScrollBar::actionTriggered, this, &CBitrateGraph::OnScrollBarAction);
    connect(scrollBar_, &QScrollBar::valueChanged, this, [this](int position) {
        if (!settingScrollBar_) {
            Apply(ScrollTo(window_, position));
        }
    });
}

void CBitrateGraph::SetSeries(GraphSeries series, std::vector<int> labelValues,
                              const QString& unit) {
    series_ = std::move(series);
    labelValues_ = std::move(labelValues);
    unit_ = unit;
    setAccessibleDescription(TextAlternative());
    update();
}

void CBitrateGraph::SetTotal(std::int64_t totalMs) {
    window_ = {totalMs, 0, totalMs};
    Apply(SettleWindow(window_));
}

void CBitrateGraph::Clear() {
    series_ = {};
    SetTotal(0);
}

void CBitrateGraph::SetSmoothing(int smoothing) {
    style_.smoothing = std::clamp(smoothing, 0, 25);
    update();
}

void CBitrateGraph::SetMedian(bool median) {
    style_.median = median;
    update();
}

void CBitrateGraph::SetByJointStereo(bool byJointStereo) {
    style_.byJointStereo = byJointStereo;
    update();
}

void CBitrateGraph::SetColours(const QColor& base, const QColor& highlight) {
    base_ = base;
    highlight_ = highlight;
    update();
}

void CBitrateGraph::ZoomBy(double factor) {
    Apply(Zoom(window_, factor));
}

QRect CBitrateGraph::PlotRect() const {
    return QRect(0, 0, width(), height() - scrollBar_->sizeHint().height());
}

QString CBitrateGraph::TextAlternative() const {
    if (series_.values.empty()) {
        return tr("No frames");
    }
    const auto [low, high] = std::minmax_element(series_.values.begin(), series_.values.end());
    const QString unit = unit_.isEmpty() ? QString() : QLatin1Char(' ') + unit_;
    return tr("%1 frames, from %2%4 to %3%4, showing %5 to %6")
        .arg(series_.values.size())
        .arg(*low)
        .arg(*high)
        .arg(unit, TimeLabel(window_.start, window_), TimeLabel(window_.end, window_));
}

void CBitrateGraph::Apply(const GraphScroll& scroll) {
    settingScrollBar_ = true;
    scrollBar_->setVisible(scroll.visible);
    scrollBar_->setPageStep(std::max(scroll.pageSize, 1));
    scrollBar_->setRange(0, std::max(kScrollRange - scroll.pageSize, 0));
    scrollBar_->setSingleStep(std::max(scroll.pageSize / 20, 1));
    scrollBar_->setValue(scroll.position);
    settingScrollBar_ = false;
    setAccessibleDescription(TextAlternative());
    update();
    Q_EMIT WindowChanged();
}

void CBitrateGraph::Step(int twentieths) {
    Apply(ScrollBy(window_, twentieths * window_.Span() / 20));
}

void CBitrateGraph::OnScrollBarAction(int action) {
    switch (action) {
        case QAbstractSlider::SliderSingleStepAdd:
            Step(kLineStep);
            break;
        case QAbstractSlider::SliderSingleStepSub:
            Step(-kLineStep);
            break;
        case QAbstractSlider::SliderPageStepAdd:
            Step(kPageStep);
            break;
        case QAbstractSlider::SliderPageStepSub:
            Step(-kPageStep);
            break;
        default:
            return;  // the thumb: valueChanged follows
    }
    // The slider would step once more by its own steps after this; it takes our position.
    scrollBar_->setSliderPosition(scrollBar_->value());
}

void CBitrateGraph::resizeEvent(QResizeEvent* event) {
    Log("CBitrateGraph::OnSize");
    const int barHeight = scrollBar_->sizeHint().height();
    scrollBar_->setGeometry(0, height() - barHeight, width(), barHeight);
    QWidget::resizeEvent(event);
}

void CBitrateGraph::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    const QRect client = PlotRect();
    painter.fillRect(rect(), palette().color(QPalette::Base));
    const PlotArea area = PlotAreaOf(client);
    QFont font = this->font();
    font.setPointSize(8);
    painter.setFont(font);
    const QColor ink = palette().color(QPalette::Text);

    // Columns first, so that the axes stay on top.
    const int top = ScaleTop(labelValues_);
    const std::vector<GraphColumn> columns = GraphColumns(series_, style_, window_, area, top);
    std::vector<QLine> baseLines;
    std::vector<QLine> highlightLines;
    for (const GraphColumn& column : columns) {
        (column.highlight ? highlightLines : baseLines)
            .emplace_back(column.x, area.bottom - 1, column.x, column.top);
    }
    painter.setPen(base_);
    painter.drawLines(baseLines.data(), static_cast<int>(baseLines.size()));
    painter.setPen(highlight_);
    painter.drawLines(highlightLines.data(), static_cast<int>(highlightLines.size()));

    painter.setPen(ink);
    painter.drawLine(area.x0, area.top, area.x0, area.bottom);
    painter.drawLine(area.x0, area.bottom, area.x1, area.bottom);
    int highestLabel = area.bottom;
    for (const ValueLabel& label : ValueLabels(labelValues_, area)) {
        painter.drawText(QRect(QPoint(0, label.y - 6), QPoint(area.x0 - 5, label.y + 6)),
                         Qt::AlignRight | Qt::AlignVCenter, QString::number(label.value));
        painter.drawLine(area.x0, label.y, area.x0 - 2, label.y);
        highestLabel = label.y;
    }
    if (!unit_.isEmpty()) {
        painter.drawText(
            // Over the plot's corner too: a unit longer than "kbps" ("big_values") is not cut.
            QRect(QPoint(0, highestLabel - 22), QPoint(area.x0 + 100, highestLabel - 7)),
            Qt::AlignLeft | Qt::AlignBottom, unit_);
    }
    if (window_.total <= 0) {
        return;
    }
    for (const TimeTick& tick : TimeTicks(window_, area.timeWidth)) {
        painter.drawLine(tick.x, area.bottom, tick.x, area.bottom + 3);
        painter.drawText(
            QRect(QPoint(tick.x - 50, area.bottom + 3), QPoint(tick.x + 50, area.bottom + 20)),
            Qt::AlignHCenter | Qt::AlignTop, tick.label);
    }
    painter.drawText(
        QRect(QPoint(area.x1 + 4, area.bottom - 8), QPoint(client.right(), area.bottom + 8)),
        Qt::AlignLeft | Qt::AlignVCenter, TimeUnit(window_));
}

void CBitrateGraph::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && scrollBar_->isVisible()) {
        dragging_ = true;
        dragX_ = qRound(event->position().x());
        dragStart_ = window_.start;
        setCursor(Qt::ClosedHandCursor);
        return;
    }
    QWidget::mousePressEvent(event);
}

void CBitrateGraph::mouseMoveEvent(QMouseEvent* event) {
    if (dragging_) {
        Apply(Drag(window_, dragStart_, qRound(event->position().x()) - dragX_,
                   PlotAreaOf(PlotRect()).timeWidth));
    }
}

void CBitrateGraph::mouseReleaseEvent(QMouseEvent* event) {
    if (dragging_ && event->button() == Qt::LeftButton) {
        dragging_ = false;
        unsetCursor();
    }
}

void CBitrateGraph::wheelEvent(QWheelEvent* event) {
    const int notches = event->angleDelta().y() / 120;
    if (notches == 0) {
        return;
    }
    if (event->modifiers() & Qt::ControlModifier) {
        const double factor = notches > 0 ? 2.0 : 0.5;
        for (int i = 0; i < std::abs(notches); ++i) {
            Apply(
                ZoomAround(window_, factor, qRound(event->position().x()), PlotAreaOf(PlotRect())));
        }
    } else {
        Step(-notches * kLineStep);
    }
    event->accept();
}

void CBitrateGraph::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Left:
            Step(-kLineStep);
            break;
        case Qt::Key_Right:
            Step(kLineStep);
            break;
        case Qt::Key_PageUp:
            Step(-kPageStep);
            break;
        case Qt::Key_PageDown:
            Step(kPageStep);
            break;
        case Qt::Key_Home:
            Apply(ScrollTo(window_, 0));
            break;
        case Qt::Key_End:
            Apply(ScrollBy(window_, window_.total));
            break;
        default:
            QWidget::keyPressEvent(event);
            return;
    }
}

void CBitrateGraph::contextMenuEvent(QContextMenuEvent* event) {
    ShowChartMenu(*this, event->globalPos());
}

}  // namespace vornik
