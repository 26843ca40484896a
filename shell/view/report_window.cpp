#include "report_window.h"

#include <QFileInfo>
#include <QFontDatabase>
#include <QFutureWatcher>
#include <QtConcurrent/QtConcurrentRun>

#include "file_report.h"

namespace vornik {

ReportWindow::ReportWindow(const QString& path, QWidget* parent) : QPlainTextEdit(parent) {
    setWindowFlag(Qt::Window);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QFileInfo(path).fileName());
    setReadOnly(true);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    setPlainText(tr("Scanning %1 ...").arg(path));

    auto* watcher = new QFutureWatcher<FileReport>(this);
    connect(watcher, &QFutureWatcher<FileReport>::finished, this, [this, watcher, path] {
        const FileReport report = watcher->result();
        setPlainText(report.ok ? QString::fromStdString(report.text).remove('\r')
                               : path + ": " + QString::fromStdString(report.error));
        watcher->deleteLater();
    });
    watcher->setFuture(QtConcurrent::run(CompleteFileReport, path.toStdString()));
}

}  // namespace vornik
