// SPDX-License-Identifier: GPL-3.0-or-later
// The working copies that the list's settings pages edit, and the pages' rules that need no
// window: what OK reads from each page and when a page asks for a refill.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "column_table.h"
#include "export_tree_state.h"
#include "list_settings.h"

namespace vornik {

// Filled from the live settings before the settings sheet opens; taken back only after OK.
struct ListPageValues {
    // General
    int frameres = 0;
    bool readAllUnknown = false;
    bool readAllInitial = false;
    bool xml = false;
    // Quality
    std::uint32_t colorGood = 0;
    std::uint32_t colorNotBad = 0;
    std::uint32_t colorBad = 0;
    bool monoQuality = false;
    // Columns: the shown columns left to right, as the attribute tree names them
    bool autosize = false;
    bool tooltips = false;
    ExportTreeState::Selection chosenColumns;
    // File types
    std::string fileTypes;
};

// The pages' copies of `settings`, the chosen columns being the shown ones of `columns`.
ListPageValues PageValuesFrom(const ListSettings& settings, const ColumnTable& columns);
// Puts the pages' copies back into `settings`; every other setting stays.
void TakePageValues(const ListPageValues& values, ListSettings& settings);
// The catalogue ids of `chosen`, in its order; a pair that names no attribute is left out.
std::vector<int> ColumnIdsOf(const ExportTreeState::Selection& chosen);

// The frames edit read as a signed decimal number: leading spaces skipped, then an optional
// "-" and at least one digit up to the end. Anything else, an empty text or a number beyond
// the int range is not a number and reads as 0.
struct FramesEditValue {
    bool isNumber = false;
    int value = 0;
};
FramesEditValue ReadFramesEdit(std::string_view text);

// What the General page's controls hold at OK.
struct GeneralPageInput {
    std::string framesText;
    bool readAllUnknown = false;
    bool readAllInitial = false;
    bool xml = false;
};
struct GeneralPageResult {
    bool isNumber = true;      // false: beep and put the focus into the edit
    bool needsRefill = false;  // the frame budget or a read-all rule changed
};
// Takes the frames value read (0 when it is no number); the check boxes only when the edit
// held a number, so that a mistyped budget does not also take half-noticed box changes.
GeneralPageResult ApplyGeneralPage(const GeneralPageInput& input, ListPageValues& values);

// The entry "Add" makes of the new-extension text: none for an empty text, else the text with
// a "." put in front when it has none. Letter case is kept and duplicates are not looked for.
std::optional<std::string> ExtensionToAdd(std::string_view text);

}  // namespace vornik
