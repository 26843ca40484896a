#include "export_documents.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include <unistd.h>

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
constexpr int kAlbum = 200;

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

TEST(XmlTagName, EveryAttributeOfTheCatalogue) {
    const std::vector<std::pair<int, std::string_view>> tags = {
        {0, "Name"},        {1, "Encoder"},   {2, "Bitrate"},   {3, "Mode"},      {4, "Length"},
        {5, "Size"},        {6, "Frame"},     {7, "Quality"},   {8, "Freq."},     {9, "Frames"},
        {11, "Type"},       {12, "Vbr"},      {13, "Sheet"},    {14, "Errors"},   {16, "Reservoir"},
        {17, "Reservoir"},  {58, "Profile"},  {59, "Stream"},   {100, "tag"},     {101, "Index"},
        {102, "Revision"},  {103, "Method"},  {104, "Filter"},  {105, "Model"},   {106, "Stereo"},
        {107, "nogap"},     {108, "nogap"},   {109, "AthType"}, {110, "Bitrate"}, {111, "Settings"},
        {112, "Frequency"}, {200, "Album"},   {201, "Artist"},  {202, "Title"},   {203, "Year"},
        {204, "Track"},     {205, "Comment"}, {206, "Genre"},
    };
    EXPECT_EQ(tags.size(), BuildAttributeCatalogue().size());
    for (const auto& [id, tag] : tags) {
        const AttributeInfo* info = FindAttribute(id);
        ASSERT_NE(info, nullptr) << id;
        EXPECT_EQ(XmlTagName(info->name), tag) << id;
    }
}

TEST(XmlTagName, WordChoice) {
    const std::pair<std::string_view, std::string_view> cases[] = {
        {"Single", "Single"},
        {"two words", "words"},
        {"three (x) words", "words"},
        {"first (last)", "first"},
        {"first second (last)", "first"},
        {"digit 9lives", "9lives"},
        {"trailing ", "trailing"},
        {"", ""},
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
    const std::vector<ExportRow> rows = {{&first, 1}, {&second, -1}};

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

TEST(BuildTextExport, NoRowsGiveTheTwoHeaderLines) {
    const std::vector<int> columns = {kName, kTitle};
    EXPECT_EQ(BuildTextExport(columns, {}),
              Cell("Name") + Cell("Title") + "\r\n" + Cell("----") + Cell("-----") + "\r\n");
}

TEST(BuildTextExport, ValuesAreCutAndPaddedByCharacters) {
    const std::string a26(26, 'a');
    const std::string e30 = Repeat("é", 30);
    const std::string e31 = Repeat("é", 31);
    const std::string e27 = Repeat("é", 27);
    const std::string notes31 = Repeat("🎵", 31);
    const std::string notes27 = Repeat("🎵", 27);
    struct Case {
        const char* what;
        std::string value;
        std::string cell;
    };
    const Case cases[] = {
        {"empty", "", std::string(30, ' ')},
        {"29 characters", std::string(29, 'x'), std::string(29, 'x') + " "},
        {"30 characters are written whole", std::string(30, 'x'), std::string(30, 'x')},
        {"31 characters", "abcdefghijklmnopqrstuvwxyz01234", "abcdefghijklmnopqrstuvwxyz0..."},
        {"accented, 5 bytes", "Café", "Café" + std::string(26, ' ')},
        {"30 two-byte characters", e30, e30},
        {"31 two-byte characters", e31, e27 + "..."},
        {"three-byte characters within 30", a26 + "日本語", a26 + "日本語 "},
        // A cut after 27 bytes would split the second of these characters.
        {"three-byte characters across the cut", std::string(25, 'a') + "日本語語語語",
         std::string(25, 'a') + "日本..."},
        {"four-byte characters", notes31, notes27 + "..."},
        // Bytes that are not UTF-8 (a file name from elsewhere) count one each.
        {"stray Latin-1 bytes within 30", std::string(30, '\xE9'), std::string(30, '\xE9')},
        {"stray Latin-1 bytes", std::string(31, '\xE9'), std::string(27, '\xE9') + "..."},
    };
    const std::vector<int> columns = {kTitle, kName};
    for (const Case& c : cases) {
        AttributeTexts t;
        t[kSlotTitle] = c.value;
        t[kSlotName] = "next";
        const ExportRow row{&t, 2};
        const std::string document = BuildTextExport(columns, {&row, 1});
        const std::string headers =
            Cell("Title") + Cell("Name") + "\r\n" + Cell("-----") + Cell("----") + "\r\n";
        EXPECT_EQ(document, headers + c.cell + Cell("next") + "\r\n") << c.what;
    }
}

TEST(ExportDocuments, QualityColumnWritesTheClassAsAWord) {
    struct Case {
        int figure;
        const char* value;
    };
    // A figure outside 0..2 means the estimate has not run: the display text stays.
    const Case cases[] = {{0, "bad"}, {1, "fair"}, {2, "good"}, {-1, "shown"}, {3, "shown"}};
    const std::vector<int> columns = {kQuality};
    for (const Case& c : cases) {
        AttributeTexts t;
        t[kSlotQuality] = "shown";
        const ExportRow row{&t, c.figure};
        EXPECT_EQ(BuildTextExport(columns, {&row, 1}),
                  Cell("Quality") + "\r\n" + Cell("-------") + "\r\n" + Cell(c.value) + "\r\n")
            << c.figure;
        EXPECT_EQ(BuildXmlExport(columns, {&row, 1}, true),
                  std::string("<?xml version=\"1.0\"?>\r\n<vornik>\r\n\t<file>\r\n\t\t<Quality>") +
                      c.value + "</Quality>\r\n\t</file>\r\n</vornik>\r\n")
            << c.figure;
    }
}

TEST(ExportDocuments, OtherColumnsIgnoreTheQualityFigure) {
    AttributeTexts t;
    t[kSlotTitle] = "ok";
    const ExportRow row{&t, 1};
    const std::vector<int> columns = {kTitle};
    EXPECT_NE(BuildXmlExport(columns, {&row, 1}, true).find("<Title>ok</Title>"),
              std::string::npos);
}

TEST(ExportDocuments, UnknownColumnIdsAreLeftOut) {
    const std::vector<int> columns = {kName, 10, -1, 999, kStereoMode};
    const AttributeTexts t = Texts("a.mp3", "mono", "", "", "");
    const ExportRow row{&t, 2};
    EXPECT_EQ(BuildTextExport(columns, {&row, 1}), Cell("Name") + Cell("Stereo Mode") + "\r\n" +
                                                       Cell("----") + Cell("-----------") + "\r\n" +
                                                       Cell("a.mp3") + Cell("mono") + "\r\n");
    EXPECT_EQ(BuildXmlExport(columns, {&row, 1}, false),
              "<?xml version=\"1.0\"?>\r\n<vornik>\r\n\t<file>\r\n\t\t<Name>a.mp3</Name>\r\n"
              "\t\t<Mode>mono</Mode>\r\n\t</file>\r\n</vornik>\r\n");
}

TEST(BuildXmlExport, WholeDocument) {
    const std::vector<int> columns = {kName, kStereoMode, kFrequency, kQuality};
    const AttributeTexts first = Texts("Rock & Roll.mp3", "joint stereo", "44100", "", "");
    const AttributeTexts second = Texts("Café.mp3", "mono", "22050", "", "bad");
    const std::vector<ExportRow> rows = {{&first, 2}, {&second, -1}};
    const std::string expectedOff =
        "<?xml version=\"1.0\"?>\r\n"
        "<vornik>\r\n"
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
}

TEST(BuildXmlExport, NoRowsGiveTheFrame) {
    const std::vector<int> columns = {kName};
    EXPECT_EQ(BuildXmlExport(columns, {}, true),
              "<?xml version=\"1.0\"?>\r\n<vornik>\r\n</vornik>\r\n");
}

std::string TitleElement(std::string_view value, bool substituteHtmlCodes) {
    AttributeTexts t;
    t[kSlotTitle] = value;
    const ExportRow row{&t, 2};
    const std::vector<int> columns = {kTitle};
    const std::string document = BuildXmlExport(columns, {&row, 1}, substituteHtmlCodes);
    const std::size_t begin = document.find("<Title>") + 7;
    return document.substr(begin, document.find("</Title>") - begin);
}

TEST(BuildXmlExport, HtmlCodesInValues) {
    struct Case {
        std::string_view value;
        std::string_view on;
    };
    const Case cases[] = {
        {"Rock & Roll", "Rock &amp; Roll"},
        {"Rock &amp; Roll", "Rock &amp; Roll"},
        {"&", "&amp;"},
        {"&start", "&amp;start"},
        {"end&", "end&amp;"},
        {"&&", "&amp;&amp;"},
        {"&amp", "&amp;amp"},
        {"&amp;amp;", "&amp;amp;"},
        {"&&amp;", "&amp;&amp;"},
        // Only "&amp;" is taken as written already; any other reference is text.
        {"&lt;", "&amp;lt;"},
        {"<b>", "&lt;b&gt;"},
        {"AC/DC <live> & more", "AC/DC &lt;live&gt; &amp; more"},
        {"a&<b", "a&amp;&lt;b"},
        {"&amp<", "&amp;amp&lt;"},
        {"\"quoted\" 'too'", "\"quoted\" 'too'"},
        {"Ünïcode & 日本", "Ünïcode &amp; 日本"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TitleElement(c.value, true), c.on) << c.value;
        EXPECT_EQ(TitleElement(c.value, false), c.value) << c.value;
    }
}

// The ampersand substitution as defined on the whole document: scan from the second
// character; an "&" within four characters of the end stops everything; an "&amp;" is passed;
// any other "&" is replaced and the scan starts again from the beginning.
std::string DocumentAmpersandRule(std::string document) {
    std::size_t p = document.find('&', 1);
    while (p != std::string::npos) {
        if (p + 4 >= document.size()) {
            break;
        }
        if (document.compare(p, 5, "&amp;") == 0) {
            p = document.find('&', p + 1);
            continue;
        }
        document.replace(p, 1, "&amp;");
        p = document.find('&', 1);
    }
    return document;
}

TEST(BuildXmlExport, AmpersandsFollowTheDocumentRule) {
    // Every value of up to five characters made of '&', 'a', 'm', 'p' and ';', in two columns.
    const std::string_view alphabet = "&amp;";
    std::vector<std::string> values = {""};
    for (std::size_t begin = 0, length = 1; length <= 5; ++length) {
        const std::size_t end = values.size();
        for (std::size_t i = begin; i < end; ++i) {
            for (const char c : alphabet) {
                values.push_back(values[i] + c);
            }
        }
        begin = end;
    }
    ASSERT_EQ(values.size(), 1u + 5 + 25 + 125 + 625 + 3125);
    const std::vector<int> columns = {kTitle, kAlbum};
    for (const std::string& value : values) {
        AttributeTexts t;
        t[kSlotTitle] = value;
        t[kSlotAlbum] = std::string(value.rbegin(), value.rend());
        const ExportRow row{&t, 2};
        EXPECT_EQ(BuildXmlExport(columns, {&row, 1}, true),
                  DocumentAmpersandRule(BuildXmlExport(columns, {&row, 1}, false)))
            << value;
    }
}

// Elements nest and close in order under one root, names are XML names, "<" only opens markup
// and "&" only starts a predefined entity.
bool IsWellFormed(std::string_view doc, std::string* why) {
    const std::string_view declaration = "<?xml version=\"1.0\"?>\r\n";
    if (!doc.starts_with(declaration)) {
        *why = "declaration";
        return false;
    }
    const auto isNameStart = [](char c) {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c == ':';
    };
    const auto isNameChar = [&](char c) {
        return isNameStart(c) || (c >= '0' && c <= '9') || c == '.' || c == '-';
    };
    std::vector<std::string_view> open;
    bool rootClosed = false;
    for (std::size_t i = declaration.size(); i < doc.size();) {
        const char c = doc[i];
        if (c == '<') {
            const bool closing = i + 1 < doc.size() && doc[i + 1] == '/';
            const std::size_t nameBegin = i + (closing ? 2 : 1);
            const std::size_t close = doc.find('>', nameBegin);
            if (close == std::string_view::npos) {
                *why = "unclosed markup at " + std::to_string(i);
                return false;
            }
            const std::string_view name = doc.substr(nameBegin, close - nameBegin);
            if (name.empty() || !isNameStart(name[0])) {
                *why = "bad name at " + std::to_string(i);
                return false;
            }
            for (const char n : name) {
                if (!isNameChar(n)) {
                    *why = "bad name at " + std::to_string(i);
                    return false;
                }
            }
            if (closing) {
                if (open.empty() || open.back() != name) {
                    *why = "mismatched end tag at " + std::to_string(i);
                    return false;
                }
                open.pop_back();
                rootClosed = open.empty();
            } else {
                if (rootClosed) {
                    *why = "second root";
                    return false;
                }
                open.push_back(name);
            }
            i = close + 1;
        } else if (c == '&') {
            const std::string_view rest = doc.substr(i);
            bool known = false;
            for (const std::string_view entity : {"&amp;", "&lt;", "&gt;", "&quot;", "&apos;"}) {
                if (rest.starts_with(entity)) {
                    known = true;
                    i += entity.size();
                    break;
                }
            }
            if (!known) {
                *why = "bare & at " + std::to_string(i);
                return false;
            }
        } else {
            if (open.empty() && c != '\r' && c != '\n') {
                *why = "text outside the root";
                return false;
            }
            ++i;
        }
    }
    if (!rootClosed) {
        *why = "root not closed";
        return false;
    }
    return true;
}

std::string NastyDocument(bool substituteHtmlCodes) {
    const std::vector<int> columns = {kName, kStereoMode, kFrequency, 16, 17, 107, 108, kQuality};
    AttributeTexts first = Texts("<Rock> & <Roll>.mp3", "a&b", "x<y", "", "");
    first[kSlotMaxReservoir] = "&amp;";
    first[kSlotAvgReservoir] = "</Reservoir>";
    first[kSlotNogapContinued] = "Ünïcode & 日本 🎵";
    AttributeTexts second = Texts("&lt;&&amp;>", ">", "&", "", "");
    const std::vector<ExportRow> rows = {{&first, 0}, {&second, -1}};
    return BuildXmlExport(columns, rows, substituteHtmlCodes);
}

TEST(BuildXmlExport, WellFormedWithHtmlCodesOn) {
    std::string why;
    EXPECT_TRUE(IsWellFormed(NastyDocument(true), &why)) << why;
    // Off, values go out as they are: the same rows make no XML, and the check sees it.
    EXPECT_FALSE(IsWellFormed(NastyDocument(false), &why));
}

// xmllint's verdict on `document`, or -1 when it cannot be run.
int XmllintStatus(const std::string& document) {
    if (std::system("command -v xmllint >/dev/null 2>&1") != 0) {
        return -1;
    }
    const std::string path =
        ::testing::TempDir() + "vornik_export_" + std::to_string(::getpid()) + ".xml";
    {
        std::ofstream out(path, std::ios::binary);
        out << document;
    }
    const int status = std::system(("xmllint --noout '" + path + "' 2>/dev/null").c_str());
    std::remove(path.c_str());
    return status;
}

TEST(BuildXmlExport, XmllintAcceptsTheDocument) {
    const int on = XmllintStatus(NastyDocument(true));
    if (on == -1) {
        GTEST_SKIP() << "xmllint is not installed";
    }
    EXPECT_EQ(on, 0);
    EXPECT_NE(XmllintStatus(NastyDocument(false)), 0);
}

}  // namespace
}  // namespace vornik
