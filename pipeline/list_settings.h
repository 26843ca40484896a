// SPDX-License-Identifier: GPL-3.0-or-later
// The file list's settings: the "list_settings" and "export" sections of the settings file.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "column_table.h"
#include "ini_file.h"

namespace vornik {

inline constexpr char kListSettingsSection[] = "list_settings";
inline constexpr char kExportSection[] = "export";

// Values the settings file keeps for the export dialog; nothing reads them, they are only
// carried from one run to the next.
struct ExportSettings {
    bool recurse = true;                                        // "recurse"
    std::vector<std::pair<std::string, std::string>> selected;  // "selected_gp"/"selected_nm"
    std::string templateText;                                   // "template"
};

// The list's live settings. Colours are 0x00BBGGRR words (red in the low byte).
struct ListSettings {
    int frameres = 1000;          // frames walked per file in a normal fill; 0 or less: all
    bool readAllUnknown = true;   // rescan without budget when the encoder stayed "Unknown"
    bool readAllInitial = false;  // rescan incompletely scanned rows once a fill is done
    int sortColumnId = 0;         // attribute id of the sort column
    bool sortReverse = false;
    bool monoQuality = false;  // handed to the quality estimate for mono files
    bool xml = true;           // substitute HTML codes in the XML export
    std::uint32_t colorGood = 0x96FF96;
    std::uint32_t colorNotBad = 0x96FFFF;
    std::uint32_t colorBad = 0x9696FF;
    bool autosize = true;  // widen column 0 to fill the window when a fill is complete
    bool tooltips = true;  // header tool tips
    std::string fileTypes = ".mp3;.mp2;.mp1;.mpc;.mp+;";
    ExportSettings exportSettings;
};

// A hand-edited count ("num_columns22_", "selnum") is read up to this many entries, so that a
// huge number cannot stall the start. The program never writes more than the catalogue holds.
inline constexpr int kMaxStoredEntries = 4096;

// Reads every key, a missing one giving its default. With "num_columns22_" 0 or less the
// default columns are shown at their catalogue widths; otherwise column i is "colid2_i"
// (default i), skipped when the catalogue does not know it, and a positive "colwidth2_i"
// (default 100) becomes that column's width.
void LoadListSettings(const CIniFile& ini, ListSettings& settings, ColumnTable& columns);

// Writes every key in the order the program always wrote them: "frameres" ... "color_bad",
// the "export" keys, "num_columns22_", "autosize", "tooltips", a "colid2_"/"colwidth2_" pair
// per shown column with the width its entry holds, and last "filetypes".
void SaveListSettings(CIniFile& ini, const ListSettings& settings, const ColumnTable& columns);

// The quality cell's background for quality class `qualityFigure` (0 bad, 1 not bad,
// 2 good); none for a row without an estimate (-1) or any other value.
std::optional<std::uint32_t> QualityBackground(const ListSettings& settings, int qualityFigure);

}  // namespace vornik
