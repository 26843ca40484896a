// SPDX-License-Identifier: GPL-3.0-or-later
#include "crc16.h"

#include <array>

namespace vornik {
namespace {

constexpr std::array<std::uint16_t, 256> MakeTable() {
    std::array<std::uint16_t, 256> table{};
    for (unsigned i = 0; i < 256; ++i) {
        unsigned value = i;
        for (int bit = 0; bit < 8; ++bit) {
            value = (value & 1u) != 0 ? (value >> 1) ^ 0xA001u : value >> 1;
        }
        table[i] = static_cast<std::uint16_t>(value);
    }
    return table;
}

constexpr std::array<std::uint16_t, 256> kTable = MakeTable();
static_assert(kTable[1] == 0xC0C1);

}  // namespace

std::uint16_t Crc16Arc(std::span<const std::uint8_t> bytes, std::uint16_t crc) {
    for (const std::uint8_t byte : bytes) {
        crc = static_cast<std::uint16_t>(kTable[(crc ^ byte) & 0xFFu] ^ (crc >> 8));
    }
    return crc;
}

}  // namespace vornik
