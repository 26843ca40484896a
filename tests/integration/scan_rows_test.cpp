// SPDX-License-Identifier: GPL-3.0-or-later
// Names that are not UTF-8 in the documents, and names with control characters on a
// terminal: a script must still find the file, and no tag may drive the terminal.
#include <gtest/gtest.h>

#include <fstream>
#include <nlohmann/json.hpp>

#include "attribute_catalogue.h"
#include "encoder_support.h"
#include "scan_rows.h"
#include "stream_builder.h"
#include "terminal_text.h"

namespace vornik {
namespace {

TEST(ScanRows, DocumentsKeepTheBytesOfNamesThatAreNotUtf8) {
    const Mp3Info record{};
    PackedTexts texts[2];
    texts[0].Set(kSlotName, "x\xff.mp3");
    texts[1].Set(kSlotName, "\xc3\x84.mp3");
    const std::vector<ScanRow> rows{{"/m/x\xff.mp3", &record, &texts[0]},
                                    {"/m/\xc3\x84.mp3", &record, &texts[1]}};
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

TEST(TerminalText, ControlCharactersAreShownEscaped) {
    const struct {
        std::string in;
        std::string out;
    } cases[] = {
        {"plain\tline\r\nnext\n", "plain\tline\r\nnext\n"},
        {"\x1b]0;pwned\x07", "\\x1B]0;pwned\\x07"},  // retitles a window
        {"\x1b[2J\rx", "\\x1B[2J\\x0Dx"},            // clears the screen
        {"\xc2\x9b"
         "31m",
         "\\xC2\\x9B31m"},            // C1 CSI as UTF-8
        {"x\xff.mp3", "x\\xFF.mp3"},  // not UTF-8
        {"\xc3\x84 \xe2\x82\xac \x7f", "\xc3\x84 \xe2\x82\xac \\x7F"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TerminalText(c.in), c.out) << c.in;
    }
}

// A name with a terminal's escape sequence: on a terminal (a pseudo-terminal from script) the
// scan shows it escaped; into a pipe the bytes stay as they are.
TEST(TerminalText, ScanOnATerminalEscapesNames) {
    if (test::RunCommand("command -v script") != 0) {
        GTEST_SKIP() << "script (util-linux) is missing: no pseudo-terminal to test with";
    }
    const test::TempDir dir;
    const std::vector<std::uint8_t> stream = test::StreamBuilder().frames({}, 30).data();
    const std::string name = "a\x1b]0;pwned\x07.mp3";
    std::ofstream(dir.file(name), std::ios::binary)
        .write(reinterpret_cast<const char*>(stream.data()),
               static_cast<std::streamsize>(stream.size()));
    const std::string cli =
        std::string(VORNIK_CLI_PATH) + " scan --columns 0 '" + dir.file("") + "' 2>/dev/null";
    std::string shown;
    ASSERT_EQ(test::RunCommand("script -qec \"" + cli + "\" /dev/null", &shown), 0);
    EXPECT_EQ(shown.find('\x1b'), std::string::npos) << shown;
    EXPECT_NE(shown.find("a\\x1B]0;pwned\\x07.mp3"), std::string::npos) << shown;
    std::string piped;
    ASSERT_EQ(test::RunCommand(cli, &piped), 0);
    EXPECT_NE(piped.find(name), std::string::npos);

    // Error lines on a terminal are escaped too: a file without audio under such a name.
    const std::string noAudio = "b\x1b[2J.mp3";
    std::ofstream(dir.file(noAudio)) << "not audio";
    const std::string errors =
        std::string(VORNIK_CLI_PATH) + " scan '" + dir.file("") + "' >/dev/null";
    ASSERT_EQ(test::RunCommand("script -qec \"" + errors + "\" /dev/null", &shown), 0);
    EXPECT_EQ(shown.find("\x1b[2J"), std::string::npos) << shown;  // the progress line's own
                                                                   // "\x1b[K" may be there
    EXPECT_NE(shown.find("b\\x1B[2J.mp3: no MPEG audio"), std::string::npos) << shown;
}

}  // namespace
}  // namespace vornik
