// SPDX-License-Identifier: GPL-3.0-or-later
#include "packed_texts.h"

#include <limits>

namespace vornik {

PackedTexts::PackedTexts(const AttributeTexts& texts) {
    std::size_t size = 0;
    for (const std::string& text : texts.slots) {
        size += text.size();
    }
    characters_.reserve(size);
    Ends ends{};
    for (int slot = 0; slot < AttributeTexts::kSlots; ++slot) {
        characters_ += texts[slot];
        ends[static_cast<std::size_t>(slot)] = characters_.size();
    }
    StoreEnds(ends);
}

std::size_t PackedTexts::End(std::size_t slot) const {
    return wideEnds_.empty() ? ends_[slot] : wideEnds_[slot];
}

void PackedTexts::StoreEnds(const Ends& ends) {
    if (ends.back() > std::numeric_limits<std::uint16_t>::max()) {
        wideEnds_.assign(ends.begin(), ends.end());
        return;
    }
    wideEnds_ = {};
    for (std::size_t slot = 0; slot < ends.size(); ++slot) {
        ends_[slot] = static_cast<std::uint16_t>(ends[slot]);
    }
}

std::string_view PackedTexts::operator[](int slot) const {
    const auto index = static_cast<std::size_t>(slot);
    const std::size_t begin = index == 0 ? 0 : End(index - 1);
    return std::string_view(characters_).substr(begin, End(index) - begin);
}

void PackedTexts::Set(int slot, std::string_view text) {
    const auto index = static_cast<std::size_t>(slot);
    const std::size_t begin = index == 0 ? 0 : End(index - 1);
    const std::size_t oldEnd = End(index);
    characters_.replace(begin, oldEnd - begin, text);
    Ends ends{};
    for (std::size_t i = 0; i < ends.size(); ++i) {
        ends[i] = i < index ? End(i) : End(i) - oldEnd + begin + text.size();
    }
    StoreEnds(ends);
}

AttributeTexts PackedTexts::Unpacked() const {
    AttributeTexts texts;
    for (int slot = 0; slot < AttributeTexts::kSlots; ++slot) {
        texts[slot] = std::string((*this)[slot]);
    }
    return texts;
}

}  // namespace vornik
