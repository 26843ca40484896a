// The rows of a scan, in list order, written in the formats the scan command offers.
#pragma once

#include <string>
#include <vector>

#include "attribute_texts.h"
#include "mp3_info.h"
#include "scan_command.h"

namespace vornik {

struct ScanRow {
    std::string path;
    Mp3Info record;
    AttributeTexts texts;
};

// Orders the rows as the file list does for the sort column `sortId`; rows that compare equal
// keep their order.
void SortRows(std::vector<ScanRow>& rows, int sortId, bool reverse);

// The document in `options.format`: "txt" and "xml" as the list's export writes them, "json"
// (an array of objects: "path", then "pathBytes" with the path's bytes percent-encoded when
// the path is not valid UTF-8, each column's name with its text, the numeric record field
// that sorts the column under the field's own name, and "quality"), "csv" (RFC 4180, a header
// of column names).
std::string FormatRows(const std::vector<ScanRow>& rows, const ScanOptions& options);

// One CSV field: quoted, with its quotes doubled, when it holds a comma, a quote or a line end.
std::string CsvField(const std::string& text);

}  // namespace vornik
