// SPDX-License-Identifier: GPL-3.0-or-later
// SIGTERM, SIGINT and SIGHUP close the main window as the user would, so that the settings are
// written when a session ends or the program is stopped from a terminal.
#pragma once

class QWidget;

namespace vornik {

void CloseOnTerminationSignals(QWidget* window);

}  // namespace vornik
