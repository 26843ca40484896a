// SPDX-License-Identifier: GPL-3.0-or-later
// CRC-16/ARC, the checksum of the Lame tag and of the music it describes.
#pragma once

#include <cstdint>
#include <span>

namespace vornik {

// Reflected polynomial 0xA001, initial value 0, no final XOR; `crc` carries a running value
// across blocks. CRC-16/ARC of "123456789" is 0xBB3D.
std::uint16_t Crc16Arc(std::span<const std::uint8_t> bytes, std::uint16_t crc = 0);

}  // namespace vornik
