// SPDX-License-Identifier: GPL-3.0-or-later
// Where the header draws its sort arrow.
#pragma once

#include <QPolygon>
#include <QRect>

namespace vornik {

inline constexpr int kSortArrowGap = 12;          // from the end of the text
inline constexpr int kSortArrowRightMargin = 15;  // from the section's right edge, at most
inline constexpr int kSortArrowWidth = 8;
inline constexpr int kSortArrowHeight = 4;

// The arrow's box in a header section whose text ends at x = `textEnd`: 12 pixels after the
// text, or 15 pixels from the section's right edge when the text leaves no room, and never
// left of the section. Vertically centred.
QRect SortArrowRect(const QRect& section, int textEnd);

// The triangle in `box`: pointing up for an ascending sort, down for a reverse one.
QPolygon SortArrowTriangle(const QRect& box, bool reverse);

// How wide the text of a sorted section may be so that the arrow still fits after it.
int SortedTextRoom(const QRect& textArea);

}  // namespace vornik
