// SPDX-License-Identifier: GPL-3.0-or-later
// First frames that carry a Xing/Info header with a Lame tag, or a VBRI header.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "stream_builder.h"

namespace vornik::test {

struct LameTagShape {
    std::string version = "LAME3.100";  // bytes 0-8; bytes 9 and 10 come from the fields
    std::uint8_t revision = 0;
    std::uint8_t vbrMethod = 4;
    std::uint8_t lowpass = 190;  // units of 100 Hz
    std::array<std::uint8_t, 4> peak{0, 0x80, 0, 0};
    std::array<std::uint8_t, 4> replayGain{0x2C, 0x3F, 0, 0};
    std::uint8_t encFlags = 0;
    std::uint8_t athType = 4;
    std::uint8_t abrBitrate = 32;
    std::array<std::uint8_t, 3> delays{0x24, 0x03, 0x18};
    std::uint8_t misc = 0;
    std::array<std::uint8_t, 2> gainPreset{0, 0x01};
    std::uint8_t presetLow = 0xE0;
    std::uint32_t musicLength = 0;
    std::uint16_t musicCrc = 0;
    bool breakTagCrc = false;  // store a tag CRC that does not match
};

struct XingShape {
    bool info = false;  // "Info", LAME's name for the header of a CBR file
    std::uint32_t flags = 0x0F;
    std::uint32_t frames = 0;
    std::uint32_t bytes = 0;
    std::uint8_t tocFill = 7;  // every table-of-contents byte
    std::uint32_t scale = 50;
    std::string encoderText = "LAME";  // 4 characters after the fields, without a Lame tag
    std::optional<LameTagShape> lame;  // a Lame tag in place of the encoder text
};

struct VbriShape {
    std::uint16_t unknown1 = 1;
    std::uint16_t unknown2 = 0x0A31;
    std::uint16_t scale = 75;
    std::uint32_t bytes = 0;
    std::uint32_t frames = 0;
    std::uint16_t tocSize = 3;
    std::uint16_t unknown3 = 1;
    std::uint16_t unknown4 = 2;
    std::uint16_t framesPerEntry = 1;
    std::vector<std::uint16_t> toc{10, 20, 30};
};

// Offset of the tag from the frame's first byte, by version and channel mode.
std::size_t TagOffset(const FrameShape& frame);
// Position of the Lame tag's first byte in a frame built by BuildXingFrame.
std::size_t LameTagPosition(const FrameShape& frame, const XingShape& xing);

std::vector<std::uint8_t> BuildXingFrame(const FrameShape& frame, const XingShape& xing);
std::vector<std::uint8_t> BuildVbriFrame(const FrameShape& frame, const VbriShape& vbri);

// Rewrites the music length and CRC of the Lame tag of the frame at `frameStart` in `file`,
// and the tag CRC after them.
void PatchLameMusic(std::vector<std::uint8_t>& file, std::size_t frameStart,
                    std::size_t tagPosition, std::uint32_t musicLength, std::uint16_t musicCrc);

}  // namespace vornik::test
