// SPDX-License-Identifier: GPL-3.0-or-later
// The CRC-16 that protected MPEG audio frames carry in the two bytes after their header.
#pragma once

#include <cstdint>
#include <span>

#include "frame_header.h"

namespace vornik {

// Bytes from the frame's start that hold everything the CRC covers, for any layer: header (4),
// CRC word (2) and the largest protected part, Layer II stereo allocation and scfsi (308 bits).
inline constexpr std::size_t kFrameCrcWindow = 4 + 2 + 39;

// Bits after the CRC word that the CRC protects: the Layer III side information, the Layer I
// bit allocation, or the Layer II bit allocation and scfsi, which `frame` (from the header on)
// is read for. 0 when the frame carries no CRC or its Layer II allocation table cannot be told
// (free format).
int ProtectedBits(const FrameHeader& h, std::span<const std::uint8_t> frame);

// ISO/IEC 11172-3 2.4.3.1: polynomial 0x8005, initial 0xFFFF, over the header's last two bytes
// and `protectedBits` bits from the frame's byte 6 on; bits past `frame`'s end count as zero.
std::uint16_t ComputeFrameCrc(std::span<const std::uint8_t> frame, int protectedBits);

// The CRC word the frame stores, big-endian at bytes 4 and 5.
std::uint16_t StoredFrameCrc(std::span<const std::uint8_t> frame);

}  // namespace vornik
