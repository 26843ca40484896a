// Reads a byte span as a bit stream, most significant bit first.
#pragma once

#include <cstddef>
#include <cstdint>
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
        // Gather the 8 bytes that hold the field (a field of 32 bits spans at most 5 of them).
        const std::size_t first = bitPosition_ >> 3;
        std::uint64_t window = 0;
        for (std::size_t i = 0; i < 8; ++i) {
            const std::size_t at = first + i;
            window = window << 8 | (at < bytes_.size() ? bytes_[at] : 0u);
        }
        const unsigned used = static_cast<unsigned>(bitPosition_ & 7);
        bitPosition_ += static_cast<std::size_t>(count);
        return static_cast<std::uint32_t>((window << used) >> (64 - count));
    }
    void skip(int count) { bitPosition_ += static_cast<std::size_t>(count); }

private:
    std::span<const std::uint8_t> bytes_;
    std::size_t bitPosition_ = 0;
};

}  // namespace vornik
