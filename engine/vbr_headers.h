// SPDX-License-Identifier: GPL-3.0-or-later
// The VBR headers of a stream's first frame: Xing (its CBR form "Info"), the Lame tag that
// follows it, and VBRI.
#pragma once

#include <cstdint>
#include <span>

#include "mp3_info.h"

namespace vornik {

// Offset of a Xing or VBRI header from the frame's first byte: after the header and the side
// information, which is shorter for MPEG-2/2.5 and for single channel.
std::size_t VbrTagOffset(std::span<const std::uint8_t> frame);

// Reads a Xing/Info header at the tag offset of `frame` (the bytes read from the frame's first
// byte on); 1 when one was read, else 0. Sets `audioStart` to `framePosition` either way.
// Fields that lie beyond the bytes read stay absent.
int ParseXing(Mp3Info& record, std::span<const std::uint8_t> frame, std::int64_t framePosition);

// Reads a VBRI header at the tag offset of `frame`; 1 when one was read, else 0.
int ParseVbri(Mp3Info& record, std::span<const std::uint8_t> frame);

// Reads the Lame tag that begins at `tagPosition` in `frame` and checks its CRC, which covers
// the frame from its first byte to the tag's byte 34.
void ReadLameTag(Mp3Info& record, std::span<const std::uint8_t> frame, std::size_t tagPosition);

}  // namespace vornik
