// SPDX-License-Identifier: GPL-3.0-or-later
// The right-button menu of a chart: "Copy Image" and "Save Image...".
#pragma once

class QPoint;
class QWidget;

namespace vornik {

// Shows the menu at `globalPos` and copies `chart`'s picture to the clipboard or saves it as a
// PNG file that the user names (asking before replacing a file).
void ShowChartMenu(QWidget& chart, const QPoint& globalPos);

}  // namespace vornik
