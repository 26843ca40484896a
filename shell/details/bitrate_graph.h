// SPDX-License-Identifier: GPL-3.0-or-later
// CBitrateGraph: one per-frame series of the details dialog against play time, with zoom,
// scroll bar and mouse drag.
#pragma once

#include <QColor>
#include <QWidget>
#include <vector>

#include "graph_geometry.h"

class QScrollBar;

namespace vornik {

class CBitrateGraph : public QWidget {
    Q_OBJECT

  public:
    explicit CBitrateGraph(QWidget* parent = nullptr);

    // The values with their value-axis labels (ascending; the last sets the scale) and unit.
    void SetSeries(GraphSeries series, std::vector<int> labelValues, const QString& unit);
    // The file's play time; the whole file comes into view.
    void SetTotal(std::int64_t totalMs);
    void Clear();

    void SetSmoothing(int smoothing);
    void SetMedian(bool median);
    void SetByJointStereo(bool byJointStereo);
    void SetColours(const QColor& base, const QColor& highlight);
    const GraphStyle& Style() const { return style_; }
    QColor BaseColour() const { return base_; }
    QColor HighlightColour() const { return highlight_; }

    // Zooms by `factor` from the window's start (2 zooms in, 0.5 out).
    void ZoomBy(double factor);
    const GraphWindow& Window() const { return window_; }
    const GraphSeries& Series() const { return series_; }
    QScrollBar* ScrollBar() const { return scrollBar_; }

    // The plot's client rectangle: the widget without its scroll bar.
    QRect PlotRect() const;
    QString TextAlternative() const;

  Q_SIGNALS:
    // The visible window changed (zoom, scroll, drag or a new file).
    void WindowChanged();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    void Apply(const GraphScroll& scroll);
    // Moves the window by `twentieths` of its span: a line is one, a page ten.
    void Step(int twentieths);
    static constexpr int kLineStep = 1;
    static constexpr int kPageStep = 10;
    void OnScrollBarAction(int action);

    GraphSeries series_;
    std::vector<int> labelValues_;
    QString unit_;
    GraphStyle style_;
    GraphWindow window_;
    QColor base_{57, 110, 165};
    QColor highlight_{79, 137, 195};
    QScrollBar* scrollBar_;
    bool dragging_ = false;
    int dragX_ = 0;
    std::int64_t dragStart_ = 0;
    bool settingScrollBar_ = false;
};

}  // namespace vornik
