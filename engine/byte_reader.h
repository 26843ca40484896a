// SPDX-License-Identifier: GPL-3.0-or-later
// Bounds-checked reads from a byte span.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace vornik {

// A read past the end yields 0 (or nothing), does not advance, and latches the failure, so a
// run of fields is read first and ok() checked once after it. Numbers name their byte order.
class ByteReader {
  public:
    explicit ByteReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    std::uint8_t u8() { return static_cast<std::uint8_t>(take(1)); }
    std::uint16_t u16be() { return static_cast<std::uint16_t>(take(2)); }
    std::uint32_t u32be() { return static_cast<std::uint32_t>(take(4)); }
    std::uint32_t u32le() {
        const std::uint32_t be = u32be();
        return ok_ ? __builtin_bswap32(be) : 0;
    }
    // `count` bytes as they stand; empty when fewer remain.
    std::span<const std::uint8_t> bytes(std::size_t count) {
        if (!has(count)) {
            return {};
        }
        const auto out = bytes_.subspan(position_, count);
        position_ += count;
        return out;
    }
    std::string text(std::size_t count) {
        const auto raw = bytes(count);
        return std::string(raw.begin(), raw.end());
    }
    void skip(std::size_t count) {
        if (has(count)) {
            position_ += count;
        }
    }
    void seek(std::size_t position) {
        if (position > bytes_.size()) {
            ok_ = false;
            return;
        }
        position_ = position;
    }

    std::size_t position() const { return position_; }
    std::size_t remaining() const { return bytes_.size() - position_; }
    bool ok() const { return ok_; }

  private:
    bool has(std::size_t count) {
        if (count > remaining()) {
            ok_ = false;
            return false;
        }
        return true;
    }
    std::uint64_t take(std::size_t count) {
        if (!has(count)) {
            return 0;
        }
        std::uint64_t value = 0;
        for (std::size_t i = 0; i < count; ++i) {
            value = value << 8 | bytes_[position_ + i];
        }
        position_ += count;
        return value;
    }

    std::span<const std::uint8_t> bytes_;
    std::size_t position_ = 0;
    bool ok_ = true;
};

}  // namespace vornik
