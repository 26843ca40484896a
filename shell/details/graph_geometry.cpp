// SPDX-License-Identifier: GPL-3.0-or-later
#include "graph_geometry.h"

#include <algorithm>
#include <cmath>

namespace vornik {
namespace {

// The latest start that keeps the window inside the file.
std::int64_t ClampStart(std::int64_t start, const GraphWindow& window) {
    return std::clamp<std::int64_t>(start, 0,
                                    std::max<std::int64_t>(window.total - window.Span(), 0));
}

void MoveStart(GraphWindow& window, std::int64_t start) {
    const std::int64_t span = window.Span();
    window.start = ClampStart(start, window);
    window.end = window.start + span;
}

QString Padded(std::int64_t value, int digits) {
    return QStringLiteral("%1").arg(value, digits, 10, QLatin1Char('0'));
}

}  // namespace

PlotArea PlotAreaOf(const QRect& client) {
    const int left = client.left();
    const int top = client.top();
    const int right = client.left() + client.width();
    const int bottom = client.top() + client.height();
    PlotArea area;
    area.x0 = left + 30;
    area.x1 = right - 40;
    area.bottom = bottom - 25;
    area.top = top + 20;
    area.height = area.bottom - area.top;
    area.timeWidth = right - 70;
    return area;
}

GraphScroll SettleWindow(GraphWindow& window) {
    GraphScroll scroll;
    if (window.total <= 0 || window.Span() >= window.total * 49 / 50) {
        window.start = 0;
        window.end = window.total;
        return scroll;
    }
    scroll.visible = true;
    scroll.pageSize = static_cast<int>(window.Span() * kScrollRange / window.total);
    scroll.position = static_cast<int>(window.start * kScrollRange / window.total);
    return scroll;
}

GraphScroll Zoom(GraphWindow& window, double factor) {
    if (factor > 0) {
        const auto span = static_cast<std::int64_t>(static_cast<double>(window.Span()) / factor);
        window.end = window.start + std::min(span, window.total);
        MoveStart(window, window.start);  // a window grown past the file's end moves back
    }
    return SettleWindow(window);
}

GraphScroll ZoomAround(GraphWindow& window, double factor, int anchorX, const PlotArea& area) {
    const int width = std::max(area.x1 - area.x0, 1);
    const double at = std::clamp(static_cast<double>(anchorX - area.x0) / width, 0.0, 1.0);
    const double anchor =
        static_cast<double>(window.start) + at * static_cast<double>(window.Span());
    if (factor > 0) {
        const auto span = std::min(
            static_cast<std::int64_t>(static_cast<double>(window.Span()) / factor), window.total);
        window.start = static_cast<std::int64_t>(anchor - at * static_cast<double>(span));
        window.end = window.start + span;
        MoveStart(window, window.start);
    }
    return SettleWindow(window);
}

GraphScroll ScrollBy(GraphWindow& window, std::int64_t deltaMs) {
    MoveStart(window, window.start + deltaMs);
    return SettleWindow(window);
}

GraphScroll ScrollTo(GraphWindow& window, int position) {
    MoveStart(window, static_cast<std::int64_t>(position) * window.total / kScrollRange);
    return SettleWindow(window);
}

GraphScroll Drag(GraphWindow& window, std::int64_t dragStart, int dx, int timeWidth) {
    const std::int64_t span = window.Span();
    if (timeWidth > 0 && span < window.total * 49 / 50) {
        const std::int64_t start = dragStart - static_cast<std::int64_t>(dx) * span / timeWidth;
        // As far as the window can go and still show the last frames.
        window.start = std::clamp<std::int64_t>(start, 0, window.total - span * 49 / 50);
        window.end = window.start + span;
    }
    return SettleWindow(window);
}

int ZoomFactorShown(const GraphWindow& window) {
    return window.Span() > 0 ? static_cast<int>(window.total / window.Span()) : 0;
}

std::int64_t TickInterval(std::int64_t spanMs, int timeWidth) {
    const std::int64_t w = timeWidth;
    std::int64_t interval = 100;
    const std::pair<std::int64_t, std::int64_t> steps[] = {
        {1, 500}, {10, 1000}, {30, 2000}, {60, 10000}, {300, 30000}, {600, 60000}, {3600, 300000}};
    for (const auto& [widths, step] : steps) {
        if (spanMs > widths * w) {
            interval = step;
        }
    }
    return interval;
}

QString TimeLabel(std::int64_t t, const GraphWindow& window) {
    const std::int64_t minutes = t / 60000;
    const std::int64_t seconds = (t % 60000) / 1000;
    const std::int64_t millis = t % 1000;
    QString text = window.end >= 60000 ? QString::number(minutes) + ':' + Padded(seconds, 2)
                                       : QString::number(seconds);
    if (window.Span() < 500) {
        text += '.' + Padded(millis, 3);
    } else if (window.Span() < 10000) {
        text += '.' + QString::number(millis / 100);
    }
    return text;
}

QString TimeUnit(const GraphWindow& window) {
    return window.Span() < 60000 ? QStringLiteral("s") : QStringLiteral("m:s");
}

std::vector<TimeTick> TimeTicks(const GraphWindow& window, int timeWidth) {
    std::vector<TimeTick> ticks;
    const std::int64_t span = window.Span();
    if (window.total <= 0 || span <= 0 || timeWidth <= 0) {
        return ticks;
    }
    const std::int64_t interval = TickInterval(span, timeWidth);
    for (std::int64_t t = window.start / interval * interval; t < window.end + interval;
         t += interval) {
        const std::int64_t x = (t - window.start) * timeWidth / span + 30;
        if (x >= 30 && x < timeWidth + 32) {
            ticks.push_back({static_cast<int>(x), TimeLabel(t, window)});
        }
    }
    return ticks;
}

int ScaleTop(const std::vector<int>& labelValues) {
    return (labelValues.empty() ? 0 : labelValues.back()) + 20;
}

std::vector<ValueLabel> ValueLabels(const std::vector<int>& labelValues, const PlotArea& area) {
    std::vector<ValueLabel> labels;
    const double top = ScaleTop(labelValues);
    int limit = area.bottom + 10;
    for (const int value : labelValues) {
        const int y = static_cast<int>(area.bottom - value / top * area.height);
        if (y + 6 <= limit) {
            labels.push_back({y, value});
            limit = y - 6;
        }
    }
    return labels;
}

double SmoothedValue(const std::vector<std::int32_t>& series, std::size_t index, int k,
                     bool median) {
    if (series.empty()) {
        return 0;
    }
    const auto last = static_cast<std::int64_t>(series.size()) - 1;
    const auto at = [&series, last](std::int64_t i) {
        return series[static_cast<std::size_t>(std::clamp<std::int64_t>(i, 0, last))];
    };
    const auto i = static_cast<std::int64_t>(index);
    if (k <= 0 || (median && k == 1)) {
        return at(i);
    }
    if (!median) {
        double sum = 0;
        for (std::int64_t j = -k; j <= k; ++j) {
            sum += at(i + j);
        }
        return sum / (2 * k + 1);
    }
    std::vector<std::int32_t> window;
    window.reserve(static_cast<std::size_t>(2 * k + 1));
    for (std::int64_t j = -k; j <= k; ++j) {
        window.push_back(at(i + j));
    }
    const auto middle = window.begin() + k;
    std::nth_element(window.begin(), middle, window.end());
    return *middle;
}

std::vector<GraphColumn> GraphColumns(const GraphSeries& series, const GraphStyle& style,
                                      const GraphWindow& window, const PlotArea& area,
                                      int scaleTop) {
    std::vector<GraphColumn> columns;
    const std::size_t count = series.values.size();
    if (count == 0 || window.total <= 0 || area.x1 <= area.x0 || scaleTop <= 0) {
        return columns;
    }
    const bool flagged = !series.modeExtensions.empty() && !series.blockKinds.empty();
    const double span = static_cast<double>(window.Span());
    for (int px = area.x0 + 1; px <= area.x1; ++px) {
        const double f = static_cast<double>(px - area.x0 - 1) / (area.x1 - area.x0);
        const double t = static_cast<double>(window.start) + f * span;
        const double p = static_cast<double>(count) * t / static_cast<double>(window.total);
        if (p >= static_cast<double>(count)) {
            break;  // the window runs past the file's end
        }
        const auto i = static_cast<std::size_t>(std::max(p, 0.0));
        const double v = SmoothedValue(series.values, i, style.smoothing, style.median);
        bool highlight = true;
        if (flagged) {
            const std::vector<std::uint32_t>& flags =
                style.byJointStereo ? series.modeExtensions : series.blockKinds;
            // Mid/side or intensity stereo, or long blocks, take the base colour.
            highlight = i >= flags.size() || (style.byJointStereo ? flags[i] == 0 : flags[i] != 0);
        }
        columns.push_back(
            {px, static_cast<int>(area.bottom - v / scaleTop * area.height), highlight});
    }
    return columns;
}

}  // namespace vornik
