#include "report_window.h"

#include <QFileInfo>
#include <QFontDatabase>
#include <QKeySequence>
#include <QShortcut>

#include "background_job.h"
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

    RunInBackground(
        this, [file = path.toStdString()] { return CompleteFileReport(file); },
        [this, path](const FileReport& report) {
            setPlainText(report.ok ? QString::fromStdString(report.text).remove('\r')
                                   : path + ": " + QString::fromStdString(report.error));
        });
    // Esc closes it, as it closes a dialog.
    auto* const close = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(close, &QShortcut::activated, this, &QWidget::close);
}

}  // namespace vornik
