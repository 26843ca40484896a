// SPDX-License-Identifier: GPL-3.0-or-later
// The order of the file list's rows.
#pragma once

#include <string_view>

#include "mp3_info.h"
#include "packed_texts.h"

namespace vornik {

// What the comparison reads of a row.
struct RowKey {
    bool done = false;  // the row's result has arrived
    const Mp3Info* record = nullptr;
    const PackedTexts* texts = nullptr;
};

// True when `a` sorts before `b` by the attribute `sortId`: rows that are done come first;
// then by the attribute's record field (equal values: `a` after `b`), or, for attributes
// without one, by their texts without regard to case. `reverse` turns both comparisons round
// but keeps rows that are not done last. An unknown `sortId` sorts by the name.
bool RowBefore(const RowKey& a, const RowKey& b, int sortId, bool reverse);

// Compares two texts without regard to ASCII case: negative, zero or positive.
int CompareTextsIgnoringCase(std::string_view a, std::string_view b);

}  // namespace vornik
