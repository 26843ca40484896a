// SPDX-License-Identifier: GPL-3.0-or-later
#include "sort_arrow.h"

#include <algorithm>

namespace vornik {

QRect SortArrowRect(const QRect& section, int textEnd) {
    const int latest = section.x() + section.width() - kSortArrowRightMargin;
    const int left = std::max(section.x(), std::min(textEnd + kSortArrowGap, latest));
    const int top = section.y() + (section.height() - kSortArrowHeight) / 2;
    return {left, top, kSortArrowWidth, kSortArrowHeight};
}

QPolygon SortArrowTriangle(const QRect& box, bool reverse) {
    const int left = box.x();
    const int right = box.x() + box.width();
    const int middle = box.x() + box.width() / 2;
    const int top = box.y();
    const int bottom = box.y() + box.height();
    if (reverse) {
        return QPolygon({QPoint(left, top), QPoint(right, top), QPoint(middle, bottom)});
    }
    return QPolygon({QPoint(left, bottom), QPoint(right, bottom), QPoint(middle, top)});
}

int SortedTextRoom(const QRect& textArea) {
    return std::max(0, textArea.width() - kSortArrowGap - kSortArrowWidth);
}

}  // namespace vornik
