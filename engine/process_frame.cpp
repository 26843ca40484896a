// SPDX-License-Identifier: GPL-3.0-or-later
// One walked frame: its header statistics and, for Layer III, its side information.
#include <algorithm>

#include "bit_reader.h"
#include "frame_crc.h"
#include "frame_header.h"
#include "mp3_file.h"

namespace vornik {
namespace {

// Everything a frame's CRC covers, which includes the largest side information (MPEG-1
// stereo, 32 bytes), and 8 bytes more so that the bit reader's 8-byte loads stay inside the
// buffer.
constexpr std::size_t kFrameWindow = kFrameCrcWindow + 8;
static_assert(kFrameCrcWindow >= 4 + 2 + 32);

// What one frame's Layer III side information tells; zero for Layers I and II, whose side
// information has another layout and holds none of these fields.
struct SideInfoStats {
    std::uint32_t mainDataBegin = 0;
    std::uint32_t lastBigValues = 0;
    std::uint32_t blockKind = 0;  // of the last window-switched granule-channel
    bool scalefacScale = false;
};

// ISO/IEC 11172-3 2.4.1.7 and 13818-3 2.4.1.7: side information after header and CRC.
SideInfoStats ReadLayer3SideInfo(BitReader& bits, const FrameHeader& h, Mp3Info& record) {
    SideInfoStats stats;
    const bool mpeg1 = h.mpeg1 != 0;
    const bool mono = h.channels == 1;
    const int channels = h.channels;

    stats.mainDataBegin = bits.ReadBits(mpeg1 ? 9 : 8);
    bits.skip(mpeg1 ? (mono ? 5 : 3) : (mono ? 1 : 2));  // private bits
    if (mpeg1) {
        for (int ch = 0; ch < channels; ++ch) {
            if (bits.ReadBits(4) != 0) {
                record.scfsiUsed = true;
            }
        }
    }
    const int granules = mpeg1 ? 2 : 1;
    for (int gr = 0; gr < granules; ++gr) {
        for (int ch = 0; ch < channels; ++ch) {
            bits.skip(12);  // part2_3_length
            stats.lastBigValues = bits.ReadBits(9);
            bits.skip(8);                 // global_gain
            bits.skip(mpeg1 ? 4 : 9);     // scalefac_compress
            if (bits.ReadBits(1) != 0) {  // window_switching_flag
                const std::uint32_t blockType = bits.ReadBits(2);
                const bool mixed = bits.ReadBits(1) != 0;
                bits.skip(2 * 5 + 3 * 3);  // table_select, subblock_gain
                if (blockType != 2) {
                    ++record.longBlocks;  // start and stop blocks are long
                    stats.blockKind = 0;
                } else if (mixed) {
                    ++record.mixedBlocks;
                    stats.blockKind = 2;
                } else {
                    ++record.shortBlocks;
                    stats.blockKind = 1;
                }
            } else {
                bits.skip(3 * 5 + 4 + 3);  // table_select, region0_count, region1_count
                ++record.longBlocks;
            }
            if (mpeg1) {
                bits.skip(1);  // preflag
            }
            if (bits.ReadBits(1) != 0) {
                stats.scalefacScale = true;
                ++record.scalefacScaleCount;
            }
            bits.skip(1);  // count1table_select
        }
    }
    return stats;
}

// Counts a protected frame whose covered bytes are all in the file; a frame cut short by the end
// of the file is left to the last-frame check.
void CheckFrameCrc(const FrameHeader& h, std::span<const std::uint8_t> frame, Mp3Info& record) {
    const int bits = ProtectedBits(h, frame);
    if (bits == 0 || frame.size() < 6 + static_cast<std::size_t>(bits + 7) / 8) {
        return;
    }
    // frameCount does not count this frame yet, nor ever the first frame, which comes before it.
    const std::uint64_t frameIndex = static_cast<std::uint64_t>(record.frameCount) + 1;
    ++record.crcFrames;
    if (ComputeFrameCrc(frame, bits) == StoredFrameCrc(frame)) {
        return;
    }
    ++record.crcErrors;
    if (record.crcErrors <= CMp3File::kRecordedCrcErrors) {
        record.crcErrorTimes.Edit()[static_cast<std::size_t>(record.crcErrors - 1)] =
            static_cast<std::uint32_t>(
                frameIndex * static_cast<std::uint64_t>(SamplesPerFrame(h.layer, h.mpeg1 != 0)) *
                1000u / static_cast<std::uint64_t>(h.sampleRate));
    }
}

}  // namespace

std::int64_t CMp3File::ProcessFrame(Mp3Info& record, FrameSeries* series) {
    const std::int64_t start = reader_.tell();
    std::uint8_t bytes[kFrameWindow] = {};
    // Bytes past the end of the file count as zero in the side information and as all ones
    // in the header.
    const std::size_t got = reader_.readAt(start, bytes, sizeof bytes);
    for (std::size_t i = got; i < 4; ++i) {
        bytes[i] = 0xFF;
    }
    const std::uint32_t word = std::uint32_t{bytes[0]} << 24 | std::uint32_t{bytes[1]} << 16 |
                               std::uint32_t{bytes[2]} << 8 | bytes[3];
    reader_.seek(std::min(start + 4, reader_.size()));

    FrameHeader h;
    const std::uint32_t length = FrameLength(word, h, freeFormatLength_);
    if (length == 0 || !CheckFrame(record, h).empty()) {
        return -1;
    }
    if (h.padding != 0) {
        record.paddingUsed = true;
    }
    CheckFrameCrc(h, std::span<const std::uint8_t>(bytes, got), record);

    SideInfoStats stats;
    if (h.layer == 3) {
        BitReader bits(std::span<const std::uint8_t>(bytes + 4, sizeof bytes - 4));
        if (h.protectionBit == 0) {
            bits.skip(16);  // CRC
        }
        stats = ReadLayer3SideInfo(bits, h, record);
        record.maxMainDataBegin =
            std::max(record.maxMainDataBegin, static_cast<std::int32_t>(stats.mainDataBegin));
        record.sumMainDataBegin += stats.mainDataBegin;
        // frameCount does not count this frame yet.
        record.avgMainDataBegin = static_cast<std::uint32_t>(
            record.sumMainDataBegin / (static_cast<std::uint64_t>(record.frameCount) + 1));
    }

    ++record.bitrateHist[static_cast<std::size_t>(h.bitrateIndex)];
    const bool jointStereo = h.mode == 1;
    ++record.stereoModeHist[jointStereo ? static_cast<std::size_t>(h.modeExtension) : 0];

    if (series != nullptr) {
        series->scalefacScaleFlags.push_back(stats.scalefacScale ? 1 : 0);
        series->shortBigValues.push_back(stats.blockKind == 1 ? stats.lastBigValues : 0);
        series->bitrateIndices.push_back(static_cast<std::uint8_t>(h.bitrateIndex));
        series->modeExtensions.push_back(static_cast<std::uint32_t>(h.modeExtension));
        series->blockKinds.push_back(stats.blockKind);
        series->mainDataBegins.push_back(stats.mainDataBegin);
    }
    return start + length;
}

}  // namespace vornik
