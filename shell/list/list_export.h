// SPDX-License-Identifier: GPL-3.0-or-later
// The list written out as a document, in the formats `vornik-cli scan` writes.
#pragma once

#include <optional>
#include <string>

#include "file_list_model.h"

class QWidget;

namespace vornik {

// The format the chosen file name asks for, by the text from the path's last "." on, compared
// with its letter case: ".txt", ".xml", ".json" or ".csv"; none for anything else (".XML"
// included).
std::optional<std::string> ExportFormatOf(const std::string& path);

// Every shown row in display order under the shown columns, in `format`, byte for byte what
// `vornik-cli scan` writes for the same rows, columns and order; the "xml" setting decides the
// XML's HTML codes.
std::string ListDocument(const FileListModel& list, const std::string& format);

// "&Export": asks for a file, writes the list there (beside the old file, renamed over it)
// and opens it; every question and failure is said in front of `parent`.
void ExportListWithDialog(QWidget* parent, const FileListModel& list);

}  // namespace vornik
