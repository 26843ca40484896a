// SPDX-License-Identifier: GPL-3.0-or-later
#include "scan_rows.h"

#include <algorithm>
#include <nlohmann/json.hpp>

#include "attribute_catalogue.h"
#include "export_documents.h"
#include "percent_encoding.h"
#include "row_order.h"

namespace vornik {
namespace {

std::vector<const AttributeInfo*> Columns(const std::vector<int>& ids) {
    std::vector<const AttributeInfo*> columns;
    for (const int id : ids) {
        if (const AttributeInfo* attribute = FindAttribute(id)) {
            columns.push_back(attribute);
        }
    }
    return columns;
}

nlohmann::ordered_json SortFieldValue(const Mp3Info& record, SortField field) {
    if (field == SortField::Duration) {
        return record.duration;
    }
    if (IsFractional(field)) {
        return SortValue(record, field);
    }
    return static_cast<std::int64_t>(SortValue(record, field));
}

bool IsValidUtf8(std::string_view text) {
    try {
        (void)nlohmann::json(text).dump();
        return true;
    } catch (const nlohmann::json::type_error&) {
        return false;
    }
}

std::string Json(const std::vector<ScanRow>& rows, const std::vector<int>& ids) {
    nlohmann::ordered_json document = nlohmann::ordered_json::array();
    for (const ScanRow& row : rows) {
        nlohmann::ordered_json object;
        object["path"] = row.path;
        // JSON text is UTF-8: a name that is not gets its exact bytes beside the shown path.
        if (!IsValidUtf8(row.path)) {
            object["pathBytes"] = PercentEncoded(std::string(row.path), "/");
        }
        for (const AttributeInfo* column : Columns(ids)) {
            object[column->name] = (*row.texts)[column->textSlot];
            if (column->sortField != SortField::Text) {
                object[SortFieldName(column->sortField)] =
                    SortFieldValue(*row.record, column->sortField);
            }
        }
        object["quality"] = row.record->qualityFigure;
        document.push_back(std::move(object));
    }
    return document.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
}

std::string Csv(const std::vector<ScanRow>& rows, const std::vector<int>& ids) {
    const auto columns = Columns(ids);
    std::string document;
    const auto line = [&document](const std::vector<std::string>& fields) {
        for (std::size_t i = 0; i < fields.size(); ++i) {
            document += (i == 0 ? "" : ",") + CsvField(fields[i]);
        }
        document += "\r\n";
    };
    std::vector<std::string> fields;
    for (const AttributeInfo* column : columns) {
        fields.push_back(column->name);
    }
    line(fields);
    for (const ScanRow& row : rows) {
        fields.clear();
        for (const AttributeInfo* column : columns) {
            fields.emplace_back((*row.texts)[column->textSlot]);
        }
        line(fields);
    }
    return document;
}

std::vector<ExportRow> ExportRows(const std::vector<ScanRow>& rows) {
    std::vector<ExportRow> exportRows;
    for (const ScanRow& row : rows) {
        exportRows.push_back({row.texts, row.record->qualityFigure});
    }
    return exportRows;
}

}  // namespace

void SortRows(std::vector<ScanRow>& rows, int sortId, bool reverse) {
    std::stable_sort(
        rows.begin(), rows.end(), [sortId, reverse](const ScanRow& a, const ScanRow& b) {
            return RowBefore({true, a.record, a.texts}, {true, b.record, b.texts}, sortId, reverse);
        });
}

std::string CsvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) {
        return text;
    }
    std::string quoted = "\"";
    for (const char c : text) {
        quoted += c;
        if (c == '"') {
            quoted += '"';
        }
    }
    return quoted + "\"";
}

std::string FormatRows(const std::vector<ScanRow>& rows, const DocumentOptions& options) {
    if (options.format == "json") {
        return Json(rows, options.columns);
    }
    if (options.format == "csv") {
        return Csv(rows, options.columns);
    }
    if (options.format == "xml") {
        return BuildXmlExport(options.columns, ExportRows(rows), options.xmlAmpersands);
    }
    return BuildTextExport(options.columns, ExportRows(rows));
}

}  // namespace vornik
