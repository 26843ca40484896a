// SPDX-License-Identifier: GPL-3.0-or-later
// The about box and the documentation the Help menu opens.
#pragma once

#include <QString>

class QWidget;

namespace vornik {

// The about box's text: the version, the beta text when there is one, and the Qt version.
QString AboutText();
void ShowAboutBox(QWidget* parent);

// The user guide: README.md of the installed tree (share/doc/vornik beside the program's
// folder) or of the source tree the program was built from; empty when neither exists.
QString DocumentationPath(const QString& programFolder);

}  // namespace vornik
