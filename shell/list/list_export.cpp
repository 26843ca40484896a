#include "list_export.h"

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
        rows.push_back({row.fullPath, row.record, row.texts});
    }
    DocumentOptions options;
    options.columns = list.Columns().ShownIds();
    options.format = format;
    options.xmlAmpersands = list.Settings().xml;
    return FormatRows(rows, options);
}

}  // namespace vornik
