// SPDX-License-Identifier: GPL-3.0-or-later
// The bitrate graph's computations, apart from the widget: its time window with zoom, scroll
// and drag, the axes' ticks and labels, and the value and colour of every pixel column.
#pragma once

#include <QRect>
#include <QString>
#include <cstdint>
#include <vector>

namespace vornik {

// The visible part of the file's play time, in milliseconds.
struct GraphWindow {
    std::int64_t total = 0;
    std::int64_t start = 0;
    std::int64_t end = 0;

    std::int64_t Span() const { return end - start; }
    friend bool operator==(const GraphWindow&, const GraphWindow&) = default;
};

// The plot inside a client rectangle: 30 pixels left for the value labels, 40 right, 20 on top
// and 25 below for the time labels. `timeWidth` is the width the time axis maps the window on.
struct PlotArea {
    int x0 = 0;      // the value axis
    int x1 = 0;      // the time axis's end
    int bottom = 0;  // the time axis
    int top = 0;
    int height = 0;
    int timeWidth = 0;
};
PlotArea PlotAreaOf(const QRect& client);

// The scroll bar that goes with a window: hidden when (nearly) the whole file is in view.
struct GraphScroll {
    bool visible = false;
    int pageSize = 0;  // thousandths of the file
    int position = 0;
};
inline constexpr int kScrollRange = 1000;

// After every change of the window: when it shows 49/50 of the file or more it becomes the
// whole file; the scroll bar follows.
GraphScroll SettleWindow(GraphWindow& window);
// The window `span / factor` long from the same start (factor 2 zooms in), kept within the
// file, then settled.
GraphScroll Zoom(GraphWindow& window, double factor);
// As Zoom, keeping the time under `anchorX` (a pixel column of `area`) where it is.
GraphScroll ZoomAround(GraphWindow& window, double factor, int anchorX, const PlotArea& area);
// Moves the window by `deltaMs`, kept within the file.
GraphScroll ScrollBy(GraphWindow& window, std::int64_t deltaMs);
// Puts the window's start at scroll position `position` (0..1000), kept within the file.
GraphScroll ScrollTo(GraphWindow& window, int position);
// The window while the mouse drags it: `dragStart` was its start when the button went down and
// `dx` is how far the cursor moved since; nothing moves while the whole file is in view.
GraphScroll Drag(GraphWindow& window, std::int64_t dragStart, int dx, int timeWidth);
// What the zoom field shows: how many windows the file holds, 0 for an empty window.
int ZoomFactorShown(const GraphWindow& window);

// Time axis.
std::int64_t TickInterval(std::int64_t spanMs, int timeWidth);
QString TimeLabel(std::int64_t t, const GraphWindow& window);
QString TimeUnit(const GraphWindow& window);
struct TimeTick {
    int x = 0;
    QString label;
    friend bool operator==(const TimeTick&, const TimeTick&) = default;
};
// The ticks of a window with a non-empty file, left to right; none for an empty window.
std::vector<TimeTick> TimeTicks(const GraphWindow& window, int timeWidth);

// Value axis: the top of the scale is the last label value + 20.
int ScaleTop(const std::vector<int>& labelValues);
struct ValueLabel {
    int y = 0;
    int value = 0;
    friend bool operator==(const ValueLabel&, const ValueLabel&) = default;
};
// The labels that fit without overlapping, bottom up.
std::vector<ValueLabel> ValueLabels(const std::vector<int>& labelValues, const PlotArea& area);

// The series' value at frame `index`, smoothed over `k` frames on each side by the mean or the
// median; neighbours before the first or after the last frame repeat that frame. A median
// over one frame on each side shows the frame itself.
double SmoothedValue(const std::vector<std::int32_t>& series, std::size_t index, int k,
                     bool median);

struct GraphStyle {
    int smoothing = 0;
    bool median = false;
    bool byJointStereo = false;  // colour by mode extension, else by block kind
};
struct GraphColumn {
    int x = 0;
    int top = 0;             // the line runs from the axis up to here
    bool highlight = false;  // drawn in the highlight colour, else the base colour
    friend bool operator==(const GraphColumn&, const GraphColumn&) = default;
};
struct GraphSeries {
    std::vector<std::int32_t> values;
    std::vector<std::uint32_t> modeExtensions;
    std::vector<std::uint32_t> blockKinds;
};
// One column per pixel from the value axis on, for the frame that plays at its time, up to
// the end of the file.
std::vector<GraphColumn> GraphColumns(const GraphSeries& series, const GraphStyle& style,
                                      const GraphWindow& window, const PlotArea& area,
                                      int scaleTop);

}  // namespace vornik
