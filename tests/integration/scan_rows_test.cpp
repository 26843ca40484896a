// Names that are not UTF-8 in the documents: a script must still find the file.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "attribute_catalogue.h"
#include "scan_rows.h"

namespace vornik {
namespace {

TEST(ScanRows, DocumentsKeepTheBytesOfNamesThatAreNotUtf8) {
    std::vector<ScanRow> rows(2);
    rows[0].path = "/m/x\xff.mp3";
    rows[0].texts[kSlotName] = "x\xff.mp3";
    rows[1].path = "/m/\xc3\x84.mp3";
    rows[1].texts[kSlotName] = "\xc3\x84.mp3";
    DocumentOptions options;
    options.columns = {0};

    options.format = "json";
    const nlohmann::json json = nlohmann::json::parse(FormatRows(rows, options));
    EXPECT_EQ(json[0]["path"], "/m/x\xef\xbf\xbd.mp3");  // shown with U+FFFD
    EXPECT_EQ(json[0]["pathBytes"], "/m/x%FF.mp3");      // found with the bytes
    EXPECT_EQ(json[1]["path"], "/m/\xc3\x84.mp3");
    EXPECT_FALSE(json[1].contains("pathBytes"));

    // CSV is bytes: the name is written as it is.
    options.format = "csv";
    EXPECT_NE(FormatRows(rows, options).find("\r\nx\xff.mp3\r\n"), std::string::npos);
}

}  // namespace
}  // namespace vornik
