// SPDX-License-Identifier: GPL-3.0-or-later
// Widths of UTF-8 text in characters, for the fixed-width report and export.
#pragma once

#include <cstddef>
#include <string_view>

namespace vornik {

// Byte length of the character that starts at `pos` (which must be inside `text`). A lead byte
// takes the continuation bytes it announces, as far as they follow; any other byte stands alone,
// so that a file name that is not valid UTF-8 still has a defined width and a cut never splits
// a well-formed character.
inline std::size_t Utf8CharLength(std::string_view text, std::size_t pos) {
    const auto lead = static_cast<unsigned char>(text[pos]);
    std::size_t announced = 0;
    if (lead >= 0xC0 && lead < 0xE0) {
        announced = 1;
    } else if (lead >= 0xE0 && lead < 0xF0) {
        announced = 2;
    } else if (lead >= 0xF0 && lead < 0xF8) {
        announced = 3;
    }
    std::size_t length = 1;
    while (length <= announced && pos + length < text.size() &&
           (static_cast<unsigned char>(text[pos + length]) & 0xC0) == 0x80) {
        ++length;
    }
    return length;
}

// Characters in `text` by the rule of Utf8CharLength.
inline std::size_t Utf8CharCount(std::string_view text) {
    std::size_t count = 0;
    for (std::size_t pos = 0; pos < text.size(); pos += Utf8CharLength(text, pos)) {
        ++count;
    }
    return count;
}

// The first `count` characters of `text`, or all of it when it is shorter.
inline std::string_view Utf8Prefix(std::string_view text, std::size_t count) {
    std::size_t pos = 0;
    for (; count > 0 && pos < text.size(); --count) {
        pos += Utf8CharLength(text, pos);
    }
    return text.substr(0, pos);
}

}  // namespace vornik
