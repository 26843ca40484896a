// SPDX-License-Identifier: GPL-3.0-or-later
#include "export_documents.h"

#include <cstdint>

#include "attribute_catalogue.h"
#include "utf8_text.h"

namespace vornik {
namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::size_t kColumnWidth = 30;
constexpr std::size_t kCutWidth = 27;  // what is left of a long value before the "..."
constexpr int kQualityAttribute = 7;

// The export writes "fair" where the list shows "ok".
std::string_view CellValue(int id, const AttributeInfo& info, const ExportRow& row) {
    if (id == kQualityAttribute) {
        switch (row.qualityFigure) {
            case 0:
                return "bad";
            case 1:
                return "fair";
            case 2:
                return "good";
            default:
                break;
        }
    }
    return (*row.texts)[info.textSlot];
}

void AppendPadded(std::string& out, std::string_view text, std::size_t width) {
    out += text;
    if (const std::size_t used = Utf8CharCount(text); used < width) {
        out.append(width - used, ' ');
    }
}

// Each "&" becomes "&amp;" unless it starts "&amp;" already. The substitution is defined on the
// finished document: rescan from its second character after every replacement, stop at an "&"
// within four characters of the end. The document begins with "<" and ends with
// "</vornik>\r\n", so value by value that comes to exactly this, and "<" and ">" can be
// escaped in the same pass without their "&lt;" and "&gt;" being substituted again.
void AppendXmlValue(std::string& out, std::string_view given, bool substituteHtmlCodes) {
    if (!substituteHtmlCodes) {
        out += given;
        return;
    }
    const std::string held = XmlCharacters(given);
    const std::string_view value = held;
    for (std::size_t i = 0; i < value.size(); ++i) {
        switch (value[i]) {
            case '&':
                out += value.substr(i, 5) == "&amp;" ? "&" : "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            default:
                out += value[i];
        }
    }
}

bool IsAsciiLetterOrDigit(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

// The ids whose element names stay as they always were; later ones get names of their own.
constexpr int kLastClassicId = 206;

// The length of the well-formed UTF-8 sequence at `text[pos]` that XML 1.0 may hold, or 0.
std::size_t XmlCharLength(std::string_view text, std::size_t pos) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[pos + i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80) {
        return lead >= 0x20 || lead == '\t' || lead == '\n' || lead == '\r' ? 1 : 0;
    }
    std::size_t length = 0;
    std::uint32_t code = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2;
        code = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        code = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        code = lead & 0x07;
    } else {
        return 0;
    }
    if (pos + length > text.size()) {
        return 0;
    }
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80) {
            return 0;
        }
        code = code << 6 | (byte(i) & 0x3F);
    }
    constexpr std::uint32_t kShortest[] = {0, 0, 0x80, 0x800, 0x10000};
    const bool usable = code >= kShortest[length] && code <= 0x10FFFF &&
                        !(code >= 0xD800 && code <= 0xDFFF) && code != 0xFFFE && code != 0xFFFF;
    return usable ? length : 0;
}

}  // namespace

std::string XmlCharacters(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size();) {
        if (const std::size_t length = XmlCharLength(text, pos); length > 0) {
            out += text.substr(pos, length);
            pos += length;
        } else {
            out += "\xEF\xBF\xBD";  // U+FFFD for each byte XML cannot hold
            ++pos;
        }
    }
    return out;
}

std::string XmlElementName(int id, std::string_view name) {
    if (id <= kLastClassicId) {
        return std::string(XmlTagName(name));
    }
    // "CRC Frames" gives "CRCFrames", "Title (ID3v2)" gives "TitleID3v2": unique as the names.
    std::string element;
    for (const char c : name) {
        if (IsAsciiLetterOrDigit(c)) {
            element += c;
        }
    }
    if (element.empty() || !(element[0] < '0' || element[0] > '9')) {
        element.insert(0, "_");
    }
    return element;
}

std::string_view XmlTagName(std::string_view name) {
    const std::size_t lastBlank = name.rfind(' ');
    if (lastBlank == std::string_view::npos) {
        return name;
    }
    if (lastBlank + 1 < name.size() && IsAsciiLetterOrDigit(name[lastBlank + 1])) {
        return name.substr(lastBlank + 1);
    }
    return name.substr(0, name.find(' '));
}

std::string BuildTextExport(std::span<const int> columns, std::span<const ExportRow> rows) {
    std::string out;
    for (const int id : columns) {
        if (const AttributeInfo* info = FindAttribute(id)) {
            AppendPadded(out, info->name, kColumnWidth);
        }
    }
    out += kLineEnd;
    for (const int id : columns) {
        if (const AttributeInfo* info = FindAttribute(id)) {
            AppendPadded(out, std::string(Utf8CharCount(info->name), '-'), kColumnWidth);
        }
    }
    out += kLineEnd;
    for (const ExportRow& row : rows) {
        for (const int id : columns) {
            const AttributeInfo* info = FindAttribute(id);
            if (info == nullptr) {
                continue;
            }
            const std::string_view value = CellValue(id, *info, row);
            if (Utf8CharCount(value) > kColumnWidth) {
                out += Utf8Prefix(value, kCutWidth);
                out += "...";
            } else {
                AppendPadded(out, value, kColumnWidth);
            }
        }
        out += kLineEnd;
    }
    return out;
}

std::string BuildXmlExport(std::span<const int> columns, std::span<const ExportRow> rows,
                           bool substituteHtmlCodes) {
    std::string out = "<?xml version=\"1.0\"?>\r\n<vornik>\r\n";
    for (const ExportRow& row : rows) {
        out += "\t<file>";
        out += kLineEnd;
        for (const int id : columns) {
            const AttributeInfo* info = FindAttribute(id);
            if (info == nullptr) {
                continue;
            }
            const std::string tag = XmlElementName(id, info->name);
            out += "\t\t<";
            out += tag;
            out += '>';
            AppendXmlValue(out, CellValue(id, *info, row), substituteHtmlCodes);
            out += "</";
            out += tag;
            out += '>';
            out += kLineEnd;
        }
        out += "\t</file>";
        out += kLineEnd;
    }
    out += "</vornik>";
    out += kLineEnd;
    return out;
}

}  // namespace vornik
