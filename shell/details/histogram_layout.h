// SPDX-License-Identifier: GPL-3.0-or-later
// Where a histogram's bars, percentages and labels go, apart from the window that paints them.
#pragma once

#include <QRect>
#include <QString>
#include <QStringList>
#include <vector>

namespace vornik {

struct HistogramBar {
    QRect rect;       // outline and fill; neighbours share their border column
    int colourIndex;  // into the histogram's colours; -1 when it has none (white)
    QString percent;  // the bar's share of the total, with "%"; empty when not drawn
    QString label;    // empty when the bar has none
    QRect labelRect;  // centred below the baseline
};

struct HistogramLayout {
    std::vector<HistogramBar> bars;  // none: only the background is painted
    int baselineY = 0;
    int lineLeft = 0;
    int lineRight = 0;
    int fontTenthsOfPoint = 80;
    QRect titleAt;  // top left corner of the title
};

// Lays out `values` in `client`: bars as wide as the width between 10-pixel margins allows,
// the tallest reaching 30 pixels below the top, over a baseline 25 pixels above the bottom.
// Percentages are of the sum of the values, whole with `precision` below 1, else with one
// decimal, and drawn only inside bars more than 10 pixels tall. Labels past the values are
// ignored; colours repeat. Equal values all reach the top; all zero, no bar has a height.
HistogramLayout LayOutHistogram(const QRect& client, const std::vector<float>& values,
                                const QStringList& labels, int colourCount, int precision);

}  // namespace vornik
