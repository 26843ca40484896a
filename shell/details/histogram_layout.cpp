// SPDX-License-Identifier: GPL-3.0-or-later
#include "histogram_layout.h"

#include <algorithm>
#include <numeric>

namespace vornik {

HistogramLayout LayOutHistogram(const QRect& client, const std::vector<float>& values,
                                const QStringList& labels, int colourCount, int precision) {
    // The right and bottom edges are exclusive, as a window's client rectangle gives them.
    const int left = client.left();
    const int top = client.top();
    const int right = client.left() + client.width();
    const int bottom = client.top() + client.height();

    HistogramLayout layout;
    layout.baselineY = bottom - 25;
    layout.lineLeft = left + 10;
    layout.lineRight = right - 10;
    layout.titleAt = QRect(2, 2, std::max(client.width() - 4, 0), 20);
    const int n = static_cast<int>(values.size());
    if (n == 0) {
        return layout;
    }
    const int barWidth = (right - 10 - (left + 10)) / n;
    layout.fontTenthsOfPoint = std::min(3 * barWidth, 80);

    const auto maximum = std::max_element(values.begin(), values.end());
    // Equal values still reach the top, unless they are all zero.
    const double scale =
        *maximum > 0 ? static_cast<double>(top + 30 - layout.baselineY) / *maximum : 0.0;
    const double total = std::accumulate(values.begin(), values.end(), 0.0);

    for (int i = 0; i < n; ++i) {
        HistogramBar bar;
        const int barLeft = left + 10 + i * barWidth;
        const int barRight = left + 10 + (i + 1) * barWidth + 1;
        const int barTop = std::min(
            static_cast<int>(scale * values[static_cast<std::size_t>(i)] + layout.baselineY),
            layout.baselineY);
        bar.rect = QRect(QPoint(barLeft, barTop), QPoint(barRight - 1, layout.baselineY));
        bar.colourIndex = colourCount > 0 ? i % colourCount : -1;
        if (total > 0 && layout.baselineY + 1 - barTop > 10) {
            const double share = values[static_cast<std::size_t>(i)] * 100.0 / total;
            bar.percent = QString::number(share, 'f', precision < 1 ? 0 : 1) + QLatin1Char('%');
        }
        if (i < labels.size()) {
            bar.label = labels.at(i);
            bar.labelRect = QRect(QPoint(barLeft, layout.baselineY + 5),
                                  QPoint(barRight - 1, layout.baselineY + 24));
        }
        layout.bars.push_back(bar);
    }
    return layout;
}

}  // namespace vornik
