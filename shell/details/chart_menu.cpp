// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart_menu.h"

#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QMenu>
#include <QMessageBox>
#include <QPixmap>

namespace vornik {

void ShowChartMenu(QWidget& chart, const QPoint& globalPos) {
    QMenu menu(&chart);
    QAction* copy = menu.addAction(QObject::tr("Copy Image"));
    QAction* save = menu.addAction(QObject::tr("Save Image..."));
    QAction* chosen = menu.exec(globalPos);
    if (chosen == copy) {
        QApplication::clipboard()->setPixmap(chart.grab());
    } else if (chosen == save) {
        // The file dialog asks before an existing file is replaced.
        QString path = QFileDialog::getSaveFileName(&chart, QObject::tr("Save Image"), QString(),
                                                    QObject::tr("PNG images (*.png)"));
        if (path.isEmpty()) {
            return;
        }
        if (!path.endsWith(QLatin1String(".png"), Qt::CaseInsensitive)) {
            path += QLatin1String(".png");
        }
        if (!chart.grab().save(path, "PNG")) {
            QMessageBox::warning(&chart, QString(),
                                 QObject::tr("Cannot write the image %1").arg(path));
        }
    }
}

}  // namespace vornik
