// SPDX-License-Identifier: GPL-3.0-or-later
// The list written out as a document: a fixed-width text table or a simple XML file.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "packed_texts.h"

namespace vornik {

// One file of an export.
struct ExportRow {
    const PackedTexts* texts = nullptr;  // never null
    // 2 good, 1 fair, 0 bad; any other value means the estimate has not run, and the Quality
    // column then exports the display text.
    int qualityFigure = -1;
};

// The text table of `rows` under `columns` (attribute ids in display order): 30 characters per
// column, values longer than that cut to 27 characters and "...". Ids the catalogue does not
// know are left out. Cannot fail.
std::string BuildTextExport(std::span<const int> columns, std::span<const ExportRow> rows);

// The XML document of `rows` under `columns`, as BuildTextExport. `substituteHtmlCodes` (the
// "xml" setting) writes "&" as "&amp;" unless it already starts "&amp;", and "<" and ">" as
// "&lt;" and "&gt;", and every byte XML cannot hold as U+FFFD (XmlCharacters); off, values are
// written as they are. Cannot fail.
std::string BuildXmlExport(std::span<const int> columns, std::span<const ExportRow> rows,
                           bool substituteHtmlCodes);

// The element name of the attribute called `name`: the name without a blank whole; else the
// word after the last blank when it begins with a letter or digit, else the word before the
// first ("Stereo Mode" gives "Mode", "Freq. (Hz)" gives "Freq."). A view into `name`.
std::string_view XmlTagName(std::string_view name);

// The element of attribute `id` called `name`: XmlTagName's word for the ids up to 206, as
// exports always had them; the name's letters and digits run together for later ids, so that
// no two columns share an element ("CRC Frames" gives "CRCFrames").
std::string XmlElementName(int id, std::string_view name);

// `text` with every byte that XML 1.0 cannot hold (invalid UTF-8, control characters other
// than tab and line ends, U+FFFE and U+FFFF) replaced by U+FFFD.
std::string XmlCharacters(std::string_view text);

}  // namespace vornik
