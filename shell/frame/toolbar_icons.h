// SPDX-License-Identifier: GPL-3.0-or-later
// The toolbar's icons: the desktop theme's where it has them, else drawn here.
#pragma once

#include <QIcon>
#include <QString>

namespace vornik {

// The theme icon name of a toolbar command.
QString ThemeIconName(int command);

// The theme's icon for `command`, or a plain drawn one.
QIcon ToolbarIcon(int command);

// The drawn icon alone, 16 pixels square (and 32 for dense screens).
QIcon DrawnIcon(int command);

// The tool tip text of a toolbar command.
QString ToolbarTip(int command);

}  // namespace vornik
