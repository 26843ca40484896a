// SPDX-License-Identifier: GPL-3.0-or-later
// Which colours a cell of the file list gets.
#pragma once

#include <QColor>
#include <optional>

#include "list_settings.h"

namespace vornik {

// The tint of the even rows on a light desktop.
inline constexpr std::uint32_t kEvenRowWord = 0xFFEBEB;

// The desktop colours the list draws with.
struct ListPalette {
    QColor base;           // window background: the odd rows
    QColor text;           // window text
    QColor alternateBase;  // the palette's own alternate row colour
    QColor disabledText;   // the text of rows whose files hold no audio
};

// A palette whose text is lighter than its background.
bool IsDarkPalette(const ListPalette& palette);

// The background of a cell that is not the Quality cell: the odd rows the window's own, the
// even rows the fixed light tint, or on a dark palette, where light text on that tint could
// not be read, the palette's alternate-base colour.
QColor RowBackground(int displayIndex, const ListPalette& palette);

// The Quality cell's background for the row's quality class; none without an estimate.
std::optional<QColor> QualityCellBackground(const ListSettings& settings, int qualityFigure);

}  // namespace vornik
