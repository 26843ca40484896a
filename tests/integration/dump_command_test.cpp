// SPDX-License-Identifier: GPL-3.0-or-later
// vornik-cli dump as a program: its JSON lines and its exit status.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>

#include "encoder_support.h"
#include "scan_error.h"
#include "stream_builder.h"

namespace vornik {
namespace {

std::vector<nlohmann::json> DumpLines(const std::string& arguments, int* status) {
    std::string output;
    *status = test::RunCommand(std::string(VORNIK_CLI_PATH) + " dump " + arguments + " 2>/dev/null",
                               &output);
    std::vector<nlohmann::json> lines;
    std::istringstream in(output);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(nlohmann::json::parse(line));
    }
    return lines;
}

TEST(DumpCommand, OneLinePerFileWithRecordAndErrors) {
    const test::TempFile good(test::StreamBuilder().frames({}, 20).data());
    const test::TempFile junk(std::vector<std::uint8_t>(3000, 0x41));
    int status = 0;
    const auto lines =
        DumpLines("'" + good.path() + "' '" + junk.path() + "' /nonexistent/file.mp3", &status);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(status, 1);

    EXPECT_EQ(lines[0]["path"], good.path());
    EXPECT_EQ(lines[0]["ok"], true);
    EXPECT_EQ(lines[0]["result"], 1);
    const auto& record = lines[0]["record"];
    EXPECT_EQ(record["frameCount"], 19);
    EXPECT_EQ(record["layer"], 3);
    EXPECT_EQ(record["bitrateHist"][9], 19);
    EXPECT_EQ(record["lastFrameTail"].get<std::string>().size(), 20u);
    EXPECT_EQ(record["id3v1Raw"].get<std::string>().size(), 256u);
    EXPECT_EQ(record["fileName"], good.path());
    EXPECT_FALSE(lines[0].contains("series"));

    EXPECT_EQ(lines[1]["ok"], false);
    EXPECT_EQ(lines[1]["error"], kNoHeaderMessage);
    EXPECT_EQ(lines[1]["record"]["fileSize"], 3000);

    EXPECT_EQ(lines[2]["ok"], false);
    EXPECT_NE(lines[2]["error"].get<std::string>().find("cannot open"), std::string::npos);
}

TEST(DumpCommand, FrameLimitHeadersOnlyAndSeries) {
    const test::TempFile file(test::StreamBuilder().frames({}, 50).data());
    int status = 0;
    auto lines = DumpLines("--frames 10 --series '" + file.path() + "'", &status);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(lines[0]["record"]["frameCount"], 10);
    EXPECT_EQ(lines[0]["record"]["scanComplete"], false);
    EXPECT_EQ(lines[0]["series"]["bitrateIndices"].size(), 10u);

    lines = DumpLines("--no-walk '" + file.path() + "'", &status);
    EXPECT_EQ(lines[0]["record"]["frameCount"], 0);
    EXPECT_EQ(lines[0]["record"]["avgBitrate"], 128);
}

}  // namespace
}  // namespace vornik
