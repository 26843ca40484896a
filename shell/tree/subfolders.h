// SPDX-License-Identifier: GPL-3.0-or-later
// The folders inside a folder, as the tree lists them.
#pragma once

#include <QString>
#include <QStringList>

namespace vornik {

// The names of the folders in `folder`, hidden ones and links to folders included, sorted as
// the user's locale sorts names (numbers by value). Empty when it cannot be read. Reads the
// disk: call it away from the GUI thread.
QStringList ListSubfolders(const QString& folder);

}  // namespace vornik
