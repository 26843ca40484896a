// SPDX-License-Identifier: GPL-3.0-or-later
#include "list_export.h"

#include <QFileDialog>
#include <QMessageBox>

#include "desktop_open.h"
#include "local_path.h"
#include "replace_file.h"

#include "scan_rows.h"

namespace vornik {

std::optional<std::string> ExportFormatOf(const std::string& path) {
    const std::size_t dot = path.rfind('.');
    const std::string extension = dot == std::string::npos ? std::string() : path.substr(dot);
    for (const char* format : {"txt", "xml", "json", "csv"}) {
        if (extension == std::string(".") + format) {
            return format;
        }
    }
    return std::nullopt;
}

std::string ListDocument(const FileListModel& list, const std::string& format) {
    std::vector<ScanRow> rows;
    rows.reserve(static_cast<std::size_t>(list.DisplayedCount()));
    for (int index = 0; index < list.DisplayedCount(); ++index) {
        const _LVItemData& row = list.Displayed(index);
        rows.push_back({row.fullPath, &row.record, &row.texts});
    }
    DocumentOptions options;
    options.columns = list.Columns().ShownIds();
    options.format = format;
    options.xmlAmpersands = list.Settings().xml;
    return FormatRows(rows, options);
}

void ExportListWithDialog(QWidget* parent, const FileListModel& model) {
    QFileDialog chooser(parent->window(), QObject::tr("Export"));
    chooser.setAcceptMode(QFileDialog::AcceptSave);
    chooser.setNameFilters({QObject::tr("XML Files (*.xml)"), QObject::tr("Text Files (*.txt)"),
                            QObject::tr("JSON Files (*.json)"), QObject::tr("CSV Files (*.csv)")});
    chooser.setDefaultSuffix(QStringLiteral("xml"));
    if (chooser.exec() != QDialog::Accepted || chooser.selectedFiles().isEmpty()) {
        return;
    }
    const std::string path = PathBytes(chooser.selectedFiles().front());
    const std::optional<std::string> format = ExportFormatOf(path);
    if (!format) {
        QMessageBox::information(parent, QString(), QObject::tr("Unrecognized filetype"));
        return;
    }
    // Written beside the old file and renamed over it: a failed write leaves the old file.
    std::error_code error;
    if (!WriteFileReplacing(path, ListDocument(model, *format), error, ReadOnlyFile::kKeep)) {
        QMessageBox box(QMessageBox::Warning, QString(), QObject::tr("Unable to write to file"),
                        QMessageBox::Ok, parent);
        box.setInformativeText(DisplayPath(path) + QStringLiteral(": ") +
                               QString::fromStdString(error.message()));
        box.exec();
        return;
    }
    OpenWithDefaultApplication(path);
}

}  // namespace vornik
