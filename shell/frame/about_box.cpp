// SPDX-License-Identifier: GPL-3.0-or-later
#include "about_box.h"

#include <QFileInfo>
#include <QMessageBox>

#include "version_text.h"

namespace vornik {

QString AboutText() {
    QString text = QString::fromStdString(VersionText());
    const std::string beta = BetaText();
    if (!beta.empty()) {
        text += " " + QString::fromStdString(beta);
    }
    return text + "\n\n" + QObject::tr("What is really in your MPEG audio files.") + "\n\n" +
           QObject::tr("Free software under the GNU General Public License, version 3 or "
                       "later; it comes with no warranty.") +
           "\n\n" +
           QObject::tr("Built with Qt %1, running on Qt %2.").arg(QT_VERSION_STR, qVersion());
}

void ShowAboutBox(QWidget* parent) {
    QMessageBox::about(parent, QObject::tr("About Vornik"), AboutText());
}

QString DocumentationPath(const QString& programFolder) {
    // Installed beside the programs' prefix, or built in the build tree.
    const QString candidates[] = {
        programFolder + "/../share/doc/vornik/guide.html",
        QStringLiteral(VORNIK_BINARY_DIR "/docs/guide.html"),
    };
    for (const QString& candidate : candidates) {
        if (QFileInfo(candidate).isFile()) {
            return QFileInfo(candidate).canonicalFilePath();
        }
    }
    return {};
}

}  // namespace vornik
