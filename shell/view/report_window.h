// A plain window with a file's text report: what the details open on until the details
// dialog takes their place.
#pragma once

#include <QPlainTextEdit>

namespace vornik {

class ReportWindow : public QPlainTextEdit {
  public:
    // Starts the complete scan of `path` on a pool thread; the report shows when it is done.
    explicit ReportWindow(const QString& path, QWidget* parent = nullptr);
};

}  // namespace vornik
