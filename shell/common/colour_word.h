// SPDX-License-Identifier: GPL-3.0-or-later
// Settings keep colours as 0x00BBGGRR words, red in the low byte.
#pragma once

#include <QColor>
#include <cstdint>

namespace vornik {

inline QColor ColourFromWord(std::uint32_t word) {
    return QColor(static_cast<int>(word & 0xFF), static_cast<int>((word >> 8) & 0xFF),
                  static_cast<int>((word >> 16) & 0xFF));
}

inline std::uint32_t WordFromColour(const QColor& colour) {
    return static_cast<std::uint32_t>(colour.red()) |
           static_cast<std::uint32_t>(colour.green()) << 8 |
           static_cast<std::uint32_t>(colour.blue()) << 16;
}

}  // namespace vornik
