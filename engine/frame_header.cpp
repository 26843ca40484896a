// SPDX-License-Identifier: GPL-3.0-or-later
#include "frame_header.h"

#include <array>

#include "mp3_info.h"

namespace vornik {
namespace {

using BitrateRow = std::array<int, 16>;

// Entry 0 stands in for free format; entry 15 is never used since index 15 is rejected.
constexpr std::array<BitrateRow, 6> kBitrates{{
    {128, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448, 0},  // MPEG-1 L I
    {128, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384, 0},     // MPEG-1 L II
    {128, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0},      // MPEG-1 L III
    {128, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256, 0},     // MPEG-2 L I
    {128, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0},          // MPEG-2 L II
    {128, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0},          // MPEG-2 L III
}};

// Rows by sampling index 0..2: MPEG-1, MPEG-2, MPEG 2.5.
constexpr std::array<std::array<int, 3>, 3> kSampleRates{{
    {44100, 48000, 32000},
    {22050, 24000, 16000},
    {11025, 12000, 8000},
}};

}  // namespace

int BitrateKbps(int layer, bool mpeg1, int index) {
    if (layer < 1 || layer > 3 || index < 0 || index > 15) {
        return 0;
    }
    // MPEG 2.5 has the ID bit clear and so shares the MPEG-2 rows.
    return kBitrates[static_cast<std::size_t>((mpeg1 ? 0 : 3) + layer - 1)]
                    [static_cast<std::size_t>(index)];
}

int SamplesPerFrame(int layer, bool mpeg1) {
    if (layer == 1) {
        return 384;
    }
    if (layer == 2 || mpeg1) {
        return 1152;
    }
    return 576;
}

std::uint32_t DecodeHeader(std::uint32_t header, FrameHeader& out) {
    const auto field = [header](int shift, std::uint32_t mask) {
        return static_cast<int>((header >> shift) & mask);
    };
    if ((header >> 21) != 0x7FF) {
        return 0;
    }
    const int layerCode = field(17, 3);
    const int bitrateIndex = field(12, 15);
    const int samplingIndex = field(10, 3);
    if (layerCode == 0 || bitrateIndex == 15 || samplingIndex == 3) {
        return 0;
    }
    FrameHeader h;
    h.notMpeg25 = field(20, 1);
    h.mpeg1 = field(19, 1);
    h.layer = 4 - layerCode;
    h.protectionBit = field(16, 1);
    h.bitrateIndex = bitrateIndex;
    h.padding = field(9, 1);
    h.mode = field(6, 3);
    h.modeExtension = field(4, 3);
    h.copyright = field(3, 1);
    h.original = field(2, 1);
    h.emphasis = field(0, 3);
    h.channels = h.mode < 3 ? 2 : 1;
    // Version bit 2 clear selects the MPEG 2.5 rates whatever the ID bit says.
    const int rateRow = h.notMpeg25 == 0 ? 2 : (h.mpeg1 ? 0 : 1);
    h.sampleRate =
        kSampleRates[static_cast<std::size_t>(rateRow)][static_cast<std::size_t>(samplingIndex)];

    const int bitsPerSecond = BitrateKbps(h.layer, h.mpeg1 != 0, bitrateIndex) * 1000;
    int length = 0;
    if (h.layer == 1) {
        // 384 samples in slots of 4 bytes.
        length = (12 * bitsPerSecond / h.sampleRate + h.padding) * 4;
    } else if (h.layer == 2 || h.mpeg1) {
        // 1152 samples: 144 = 1152 / 8.
        length = 144 * bitsPerSecond / h.sampleRate + h.padding;
    } else {
        // MPEG-2 and 2.5 Layer III carry 576 samples.
        length = 72 * bitsPerSecond / h.sampleRate + h.padding;
    }
    out = h;
    return static_cast<std::uint32_t>(length);
}

std::uint32_t FrameLength(std::uint32_t header, FrameHeader& out, std::uint32_t freeFormatLength) {
    FrameHeader decoded;
    const std::uint32_t length = DecodeHeader(header, decoded);
    if (length == 0) {
        return 0;
    }
    if (decoded.bitrateIndex != 0) {
        out = decoded;
        return length;
    }
    if (freeFormatLength == 0) {
        return 0;
    }
    out = decoded;
    return freeFormatLength +
           static_cast<std::uint32_t>(decoded.padding * (decoded.layer == 1 ? 4 : 1));
}

double FreeFormatKbps(const FrameHeader& h, std::uint32_t length) {
    return static_cast<double>(length) * 8.0 * h.sampleRate /
           (SamplesPerFrame(h.layer, h.mpeg1 != 0) * 1000.0);
}

std::string_view CheckFrame(Mp3Info& record, const FrameHeader& h) {
    if (h.layer != record.layer) {
        return kLayerError;
    }
    if (h.channels != record.channels) {
        record.channels = h.channels;
        return kChannelModeError;
    }
    if (h.sampleRate != record.sampleRate) {
        record.sampleRate = h.sampleRate;
        return kFrequencyError;
    }
    if (h.bitrateIndex == 0 && record.freeFormatLength == 0) {
        return kFreeFormatFrame;
    }
    return {};
}

}  // namespace vornik
