// SPDX-License-Identifier: GPL-3.0-or-later
// The display texts of one file as a list row keeps them: all slots in one buffer. A row of
// AttributeTexts holds 69 strings (over 2 KB before a single character); packed, the same
// texts take their characters and one offset per slot.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "attribute_texts.h"

namespace vornik {

class PackedTexts {
  public:
    PackedTexts() = default;
    explicit PackedTexts(const AttributeTexts& texts);

    std::string_view operator[](int slot) const;
    // Replaces one slot's text; the others keep theirs.
    void Set(int slot, std::string_view text);
    AttributeTexts Unpacked() const;

  private:
    using Ends = std::array<std::size_t, AttributeTexts::kSlots>;
    std::size_t End(std::size_t slot) const;
    void StoreEnds(const Ends& ends);

    std::string characters_;
    // Where each slot's text ends in characters_; slot s begins where slot s - 1 ends. Two
    // bytes a slot; texts longer than that can count (a tag with a book in its comment) keep
    // their ends in wideEnds_ instead.
    std::array<std::uint16_t, AttributeTexts::kSlots> ends_{};
    std::vector<std::uint32_t> wideEnds_;
};

}  // namespace vornik
