// SPDX-License-Identifier: GPL-3.0-or-later
#include "export_documents.h"
#include "packed_texts.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "attribute_catalogue.h"
#include "attribute_texts.h"

namespace vornik {
namespace {

constexpr int kName = 0;
constexpr int kStereoMode = 3;
constexpr int kQuality = 7;
constexpr int kFrequency = 8;
constexpr int kPsychoacoustics = 105;
constexpr int kTitle = 202;

// ASCII text padded to a 30-character column.
std::string Cell(std::string_view text) {
    std::string cell(text);
    cell.resize(30, ' ');
    return cell;
}

std::string Repeat(std::string_view text, int times) {
    std::string out;
    for (int i = 0; i < times; ++i) {
        out += text;
    }
    return out;
}

AttributeTexts Texts(std::string_view name, std::string_view mode, std::string_view freq,
                     std::string_view psy, std::string_view quality) {
    AttributeTexts t;
    t[kSlotName] = name;
    t[kSlotStereoMode] = mode;
    t[kSlotFrequency] = freq;
    t[kSlotPsychoacoustics] = psy;
    t[kSlotQuality] = quality;
    return t;
}

const std::string kXmlStart = "<?xml version=\"1.0\"?>\r\n<vornik>\r\n";

// The ids up to 206 keep the names exports always had (some of them shared); every later
// column has an element of its own.
TEST(XmlElementName, UniqueForEveryLaterColumn) {
    std::set<std::string> seen;
    for (const auto& [id, info] : BuildAttributeCatalogue()) {
        if (id <= 206) {
            EXPECT_EQ(XmlElementName(id, info.name), XmlTagName(info.name)) << id;
            seen.insert(XmlElementName(id, info.name));
        }
    }
    for (const auto& [id, info] : BuildAttributeCatalogue()) {
        if (id > 206) {
            const std::string element = XmlElementName(id, info.name);
            EXPECT_TRUE(seen.insert(element).second) << id << " " << element;
        }
    }
    EXPECT_EQ(XmlElementName(301, "CRC Errors"), "CRCErrors");
    EXPECT_EQ(XmlElementName(350, "Title (APE)"), "TitleAPE");
}

TEST(XmlCharacters, WhatXmlCannotHoldBecomesTheReplacementCharacter) {
    const std::string replacement = "\xEF\xBF\xBD";
    const struct {
        std::string in;
        std::string out;
    } cases[] = {
        {"plain, tab\tand\r\nlines", "plain, tab\tand\r\nlines"},
        {"\xc3\x84rger \xe2\x82\xac \xf0\x9f\x8e\xb5",
         "\xc3\x84rger \xe2\x82\xac \xf0\x9f\x8e\xb5"},
        {"x\xff.mp3", "x" + replacement + ".mp3"},                     // not UTF-8
        {"\x1b]0;title\x07", replacement + "]0;title" + replacement},  // ESC and BEL
        {std::string("a\0b", 3), "a" + replacement + "b"},             // NUL
        {"\xc0\xaf", replacement + replacement},                       // overlong "/"
        {"\xed\xa0\x80", replacement + replacement + replacement},     // a surrogate
        {"\xef\xbf\xbe", replacement + replacement + replacement},     // U+FFFE
        {"cut \xe2\x82", "cut " + replacement + replacement},          // cut short
    };
    for (const auto& c : cases) {
        EXPECT_EQ(XmlCharacters(c.in), c.out) << c.in;
    }
}

TEST(XmlTagName, WordChoice) {
    const std::pair<std::string_view, std::string_view> cases[] = {
        {"Single", "Single"},       {"two words", "words"},    {"first second (last)", "first"},
        {"digit 9lives", "9lives"}, {"trailing ", "trailing"}, {"", ""},
    };
    for (const auto& [name, tag] : cases) {
        EXPECT_EQ(XmlTagName(name), tag) << name;
    }
}

TEST(BuildTextExport, WholeDocument) {
    const std::vector<int> columns = {kName, kStereoMode, kFrequency, kPsychoacoustics, kQuality};
    const AttributeTexts first = Texts("cbr 128.mp3", "joint stereo", "44100", "gpsycho", "ok");
    const AttributeTexts second =
        Texts("exactly thirty characters.mp3!", "mono", "22050", "nspsytune", "");
    const PackedTexts packedFirst(first), packedSecond(second);
    const std::vector<ExportRow> rows = {{&packedFirst, 1}, {&packedSecond, -1}};

    const std::string expected = Cell("Name") + Cell("Stereo Mode") + Cell("Freq. (Hz)") +
                                 "Psycho-acoustic Model" + std::string(9, ' ') + Cell("Quality") +
                                 "\r\n" +  //
                                 Cell("----") + Cell("-----------") + Cell("----------") +
                                 Cell("---------------------") + Cell("-------") + "\r\n" +  //
                                 Cell("cbr 128.mp3") + Cell("joint stereo") + Cell("44100") +
                                 Cell("gpsycho") + Cell("fair") + "\r\n" +  //
                                 "exactly thirty characters.mp3!" + Cell("mono") + Cell("22050") +
                                 Cell("nspsytune") + Cell("") + "\r\n";
    EXPECT_EQ(BuildTextExport(columns, rows), expected);
}

TEST(BuildTextExport, ValuesAreCutAndPaddedByCharacters) {
    const struct {
        const char* what;
        std::string value;
        std::string cell;
    } cases[] = {
        {"31 characters", "abcdefghijklmnopqrstuvwxyz01234", "abcdefghijklmnopqrstuvwxyz0..."},
        {"accented, 5 bytes", "Café", "Café" + std::string(26, ' ')},
        {"30 two-byte characters", Repeat("é", 30), Repeat("é", 30)},
        {"31 two-byte characters", Repeat("é", 31), Repeat("é", 27) + "..."},
        // A cut after 27 bytes would split the second of these characters.
        {"three-byte characters across the cut", std::string(25, 'a') + "日本語語語語",
         std::string(25, 'a') + "日本..."},
        {"four-byte characters", Repeat("🎵", 31), Repeat("🎵", 27) + "..."},
        // Bytes that are not UTF-8 (a file name from elsewhere) count one each.
        {"stray Latin-1 bytes", std::string(31, '\xE9'), std::string(27, '\xE9') + "..."},
    };
    const std::vector<int> columns = {kTitle, kName};
    const std::string headers =
        Cell("Title") + Cell("Name") + "\r\n" + Cell("-----") + Cell("----") + "\r\n";
    for (const auto& c : cases) {
        AttributeTexts t;
        t[kSlotTitle] = c.value;
        t[kSlotName] = "next";
        const PackedTexts packed(t);
        const ExportRow row{&packed, 2};
        EXPECT_EQ(BuildTextExport(columns, {&row, 1}), headers + c.cell + Cell("next") + "\r\n")
            << c.what;
    }
}

TEST(BuildTextExport, QualityColumnWritesTheClassAsAWord) {
    // A figure outside 0..2 means the estimate has not run: the display text stays.
    const std::pair<int, const char*> cases[] = {
        {0, "bad"}, {1, "fair"}, {2, "good"}, {-1, "shown"}, {3, "shown"}};
    const std::vector<int> columns = {kQuality};
    for (const auto& [figure, value] : cases) {
        AttributeTexts t;
        t[kSlotQuality] = "shown";
        const PackedTexts packed(t);
        const ExportRow row{&packed, figure};
        EXPECT_EQ(BuildTextExport(columns, {&row, 1}),
                  Cell("Quality") + "\r\n" + Cell("-------") + "\r\n" + Cell(value) + "\r\n")
            << figure;
    }
}

TEST(ExportDocuments, UnknownColumnIdsAreLeftOut) {
    const std::vector<int> columns = {kName, 10, -1, 999, kStereoMode};
    const AttributeTexts t = Texts("a.mp3", "mono", "", "", "");
    const PackedTexts packed(t);
    const ExportRow row{&packed, 2};
    EXPECT_EQ(BuildTextExport(columns, {&row, 1}), Cell("Name") + Cell("Stereo Mode") + "\r\n" +
                                                       Cell("----") + Cell("-----------") + "\r\n" +
                                                       Cell("a.mp3") + Cell("mono") + "\r\n");
    EXPECT_EQ(BuildXmlExport(columns, {&row, 1}, false),
              kXmlStart +
                  "\t<file>\r\n\t\t<Name>a.mp3</Name>\r\n\t\t<Mode>mono</Mode>\r\n"
                  "\t</file>\r\n</vornik>\r\n");
}

TEST(BuildXmlExport, WholeDocument) {
    const std::vector<int> columns = {kName, kStereoMode, kFrequency, kQuality};
    const AttributeTexts first = Texts("Rock & Roll.mp3", "joint stereo", "44100", "", "");
    const AttributeTexts second = Texts("Café.mp3", "mono", "22050", "", "bad");
    const PackedTexts packedFirst(first), packedSecond(second);
    const std::vector<ExportRow> rows = {{&packedFirst, 2}, {&packedSecond, -1}};
    const std::string expectedOff = kXmlStart +
                                    "\t<file>\r\n"
                                    "\t\t<Name>Rock & Roll.mp3</Name>\r\n"
                                    "\t\t<Mode>joint stereo</Mode>\r\n"
                                    "\t\t<Freq.>44100</Freq.>\r\n"
                                    "\t\t<Quality>good</Quality>\r\n"
                                    "\t</file>\r\n"
                                    "\t<file>\r\n"
                                    "\t\t<Name>Café.mp3</Name>\r\n"
                                    "\t\t<Mode>mono</Mode>\r\n"
                                    "\t\t<Freq.>22050</Freq.>\r\n"
                                    "\t\t<Quality>bad</Quality>\r\n"
                                    "\t</file>\r\n"
                                    "</vornik>\r\n";
    EXPECT_EQ(BuildXmlExport(columns, rows, false), expectedOff);
    std::string expectedOn = expectedOff;
    expectedOn.replace(expectedOn.find("& Roll"), 1, "&amp;");
    EXPECT_EQ(BuildXmlExport(columns, rows, true), expectedOn);
    EXPECT_EQ(BuildXmlExport(columns, {}, true), kXmlStart + "</vornik>\r\n");
}

TEST(BuildXmlExport, HtmlCodesInValues) {
    const std::pair<std::string_view, std::string_view> cases[] = {
        {"Rock &amp; Roll", "Rock &amp; Roll"},
        {"end&", "end&amp;"},
        {"&amp", "&amp;amp"},
        {"&&amp;", "&amp;&amp;"},
        // Only "&amp;" is taken as written already; any other reference is text.
        {"&lt;", "&amp;lt;"},
        {"AC/DC <live> & more", "AC/DC &lt;live&gt; &amp; more"},
        {"\"quoted\" 'too'", "\"quoted\" 'too'"},
    };
    const std::vector<int> columns = {kTitle};
    for (const auto& [value, on] : cases) {
        AttributeTexts t;
        t[kSlotTitle] = value;
        const PackedTexts packed(t);
        const ExportRow row{&packed, 2};
        const std::string tail = "</Title>\r\n\t</file>\r\n</vornik>\r\n";
        const std::string start = kXmlStart + "\t<file>\r\n\t\t<Title>";
        EXPECT_EQ(BuildXmlExport(columns, {&row, 1}, true), start + std::string(on) + tail);
        EXPECT_EQ(BuildXmlExport(columns, {&row, 1}, false), start + std::string(value) + tail);
    }
}

// xmllint's verdict on `document`, or -1 when it cannot be run.
int XmllintStatus(const std::string& document) {
    if (std::system("command -v xmllint >/dev/null 2>&1") != 0) {
        return -1;
    }
    const std::string path =
        ::testing::TempDir() + "vornik_export_" + std::to_string(::getpid()) + ".xml";
    std::ofstream(path, std::ios::binary) << document;
    const int status = std::system(("xmllint --noout '" + path + "' 2>/dev/null").c_str());
    std::remove(path.c_str());
    return status;
}

// Every column, with values that are markup, references and text beyond ASCII.
TEST(BuildXmlExport, XmllintAcceptsTheDocument) {
    std::vector<int> columns = {kName, kStereoMode, kFrequency, 16, 17, 107, 108, kQuality};
    for (const auto& [id, info] : BuildAttributeCatalogue()) {
        if (id > 206) {
            columns.push_back(id);  // the later columns, each with an element of its own
        }
    }
    AttributeTexts first = Texts("<Rock> & <Roll>.mp3", "a&b", "x<y", "", "");
    first[kSlotMaxReservoir] = "&amp;";
    first[kSlotAvgReservoir] = "</Reservoir>";
    first[kSlotNogapContinued] = "Ünïcode & 日本 🎵";
    // A name from a Latin-1 era collection and a tag with terminal control sequences.
    const AttributeTexts second =
        Texts("x\xff&lt;&&amp;>.mp3", ">\x1b]0;title\x07", "&\x01", "", "");
    const PackedTexts packedFirst(first), packedSecond(second);
    const std::vector<ExportRow> rows = {{&packedFirst, 0}, {&packedSecond, -1}};
    const int on = XmllintStatus(BuildXmlExport(columns, rows, true));
    if (on == -1) {
        GTEST_SKIP() << "xmllint is not installed";
    }
    EXPECT_EQ(on, 0);
    // Off, values go out as they are: the same rows make no XML.
    EXPECT_NE(XmllintStatus(BuildXmlExport(columns, rows, false)), 0);
}

}  // namespace
}  // namespace vornik
