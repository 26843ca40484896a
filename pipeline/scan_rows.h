// SPDX-License-Identifier: GPL-3.0-or-later
// The rows of a list or a scan written out as a document: the desktop's export and the
// command line's scan write the same bytes.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "mp3_info.h"
#include "packed_texts.h"

namespace vornik {

// How a document is written.
struct DocumentOptions {
    std::vector<int> columns{0, 1, 2, 9, 4, 5, 6, 7};  // attribute ids, in order
    std::string format = "txt";                        // txt, xml, json or csv
    bool xmlAmpersands = true;  // the export's "xml" setting: write "&" as "&amp;"
};

// One row of a document: views of a row the caller keeps while the document is written.
struct ScanRow {
    std::string_view path;
    const Mp3Info* record = nullptr;     // never null
    const PackedTexts* texts = nullptr;  // never null
};

// Orders the rows as the file list does for the sort column `sortId`; rows that compare equal
// keep their order.
void SortRows(std::vector<ScanRow>& rows, int sortId, bool reverse);

// The document in `options.format`: "txt" and "xml" as the list's export writes them, "json"
// (an array of objects: "path", then "pathBytes" with the path's bytes percent-encoded when
// the path is not valid UTF-8, each column's name with its text, the numeric record field
// that sorts the column under the field's own name, and "quality"), "csv" (RFC 4180, a header
// of column names).
std::string FormatRows(const std::vector<ScanRow>& rows, const DocumentOptions& options);

// One CSV field: quoted, with its quotes doubled, when it holds a comma, a quote or a line end.
std::string CsvField(const std::string& text);

}  // namespace vornik
