// SPDX-License-Identifier: GPL-3.0-or-later
#include "cell_colours.h"

#include "colour_word.h"

namespace vornik {

bool IsDarkPalette(const ListPalette& palette) {
    return palette.text.lightnessF() > palette.base.lightnessF();
}

QColor RowBackground(int displayIndex, const ListPalette& palette) {
    if (displayIndex % 2 != 0) {
        return palette.base;
    }
    return IsDarkPalette(palette) ? palette.alternateBase : ColourFromWord(kEvenRowWord);
}

std::optional<QColor> QualityCellBackground(const ListSettings& settings, int qualityFigure) {
    const std::optional<std::uint32_t> word = QualityBackground(settings, qualityFigure);
    if (!word) {
        return std::nullopt;
    }
    return ColourFromWord(*word);
}

}  // namespace vornik
