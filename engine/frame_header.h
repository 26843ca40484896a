// SPDX-License-Identifier: GPL-3.0-or-later
// MPEG audio frame headers (ISO/IEC 11172-3, 13818-3 and the MPEG 2.5 extension).
#pragma once

#include <cstdint>
#include <string_view>

namespace vornik {

struct Mp3Info;

// A decoded 32-bit frame header; bits are numbered 31 (first byte's top bit) down to 0.
struct FrameHeader {
    int mpeg1 = 0;          // bit 19, the ID bit
    int notMpeg25 = 0;      // bit 20
    int bitrateIndex = 0;   // bits 15-12; 0 is free format
    int mode = 0;           // bits 7-6
    int modeExtension = 0;  // bits 5-4
    int padding = 0;        // bit 9
    int sampleRate = 0;     // Hz
    int channels = 0;       // 1 for single channel, else 2
    int layer = 0;          // 1..3
    int protectionBit = 0;  // 0 means a 16-bit CRC follows the header
    int copyright = 0;
    int emphasis = 0;
    int original = 0;
};

// Validates `header` and returns the frame's length in bytes, or 0 when it is no valid header
// (then `out` is unchanged). The reserved version 01 is accepted, as are free format and
// emphasis 2.
std::uint32_t DecodeHeader(std::uint32_t header, FrameHeader& out);

// As DecodeHeader, with free-format frames `freeFormatLength` bytes long (plus padding): 0
// for a free-format header while that length is unknown (0).
std::uint32_t FrameLength(std::uint32_t header, FrameHeader& out, std::uint32_t freeFormatLength);

// The bitrate in kbps of free-format frames of `length` bytes without padding.
double FreeFormatKbps(const FrameHeader& h, std::uint32_t length);

// Bitrate in kbps of `index` for the layer and ID bit; index 0 (free format) gives 128 so
// that a free-format header still has a length, index 15 gives 0.
int BitrateKbps(int layer, bool mpeg1, int index);

// Samples one frame carries: 384 for Layer I, 1152 for Layer II, 1152 for MPEG-1 Layer III and
// 576 for MPEG-2 and 2.5 Layer III.
int SamplesPerFrame(int layer, bool mpeg1);

// Empty when a walked frame fits the stream's first frame in `record`, else why not. A change of
// channel count or sample rate is taken over into the record, so that it is rejected only once.
std::string_view CheckFrame(Mp3Info& record, const FrameHeader& h);

inline constexpr std::string_view kLayerError = "Layer error";
inline constexpr std::string_view kChannelModeError = "Channel mode error";
inline constexpr std::string_view kFrequencyError = "Frequency error";
inline constexpr std::string_view kFreeFormatFrame = "Freeformat frame";

}  // namespace vornik
