// SPDX-License-Identifier: GPL-3.0-or-later
#include "subfolders.h"

#include <QCollator>
#include <QDir>
#include <algorithm>

namespace vornik {

QStringList ListSubfolders(const QString& folder) {
    QStringList names =
        QDir(folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden, QDir::NoSort);
    QCollator collator;
    collator.setNumericMode(true);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::sort(names.begin(), names.end(), [&collator](const QString& a, const QString& b) {
        return collator.compare(a, b) < 0;
    });
    return names;
}

}  // namespace vornik
