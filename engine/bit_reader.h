// SPDX-License-Identifier: GPL-3.0-or-later
// Reads a byte span as a bit stream, most significant bit first.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>

namespace vornik {

// Bits past the end of the span read as zero, as bytes past the end of a file count as zero
// in the side information: a frame cut short by the end of the file still yields fields.
class BitReader {
  public:
    explicit BitReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    // The next `count` bits (0..32) as an unsigned number.
    std::uint32_t ReadBits(int count) {
        if (count <= 0) {
            return 0;
        }
        const std::uint64_t window = load64(bitPosition_ >> 3);
        const unsigned used = static_cast<unsigned>(bitPosition_ & 7);
        bitPosition_ += static_cast<std::size_t>(count);
        // A field of up to 32 bits starting inside the first byte fits the 8-byte window.
        return static_cast<std::uint32_t>((window << used) >> (64 - count));
    }
    void skip(int count) { bitPosition_ += static_cast<std::size_t>(count); }

  private:
    // The 8 bytes from `first` on as a big-endian number, zeros past the end.
    std::uint64_t load64(std::size_t first) const {
        std::uint64_t value;
        if (first <= bytes_.size() && bytes_.size() - first >= 8) {
            std::memcpy(&value, bytes_.data() + first, 8);
            return __builtin_bswap64(value);
        }
        std::uint8_t raw[8] = {};
        if (first < bytes_.size()) {
            const std::size_t available = bytes_.size() - first;
            std::memcpy(raw, bytes_.data() + first, available < 8 ? available : 8);
        }
        std::memcpy(&value, raw, 8);
        return __builtin_bswap64(value);
    }

    std::span<const std::uint8_t> bytes_;
    std::size_t bitPosition_ = 0;
};

}  // namespace vornik
