// SPDX-License-Identifier: GPL-3.0-or-later
#include "frame_crc.h"

#include <array>

#include "bit_reader.h"

namespace vornik {
namespace {

constexpr std::uint16_t kPolynomial = 0x8005;

// Most significant bit first: the CRC register shifts left and the next message bit enters at
// its top. kTables[0] is the usual byte table; kTables[k] gives what a byte followed by k zero
// bytes adds to the register, so that four bytes fold in at once: the frame walk checks every
// frame, and one table step per byte is a chain of dependent loads.
using CrcTable = std::array<std::uint16_t, 256>;

constexpr std::array<CrcTable, 4> MakeTables() {
    std::array<CrcTable, 4> tables{};
    for (unsigned i = 0; i < 256; ++i) {
        unsigned value = i << 8;
        for (int bit = 0; bit < 8; ++bit) {
            value = (value & 0x8000u) != 0 ? (value << 1) ^ kPolynomial : value << 1;
        }
        tables[0][i] = static_cast<std::uint16_t>(value);
    }
    for (std::size_t k = 1; k < tables.size(); ++k) {
        for (unsigned i = 0; i < 256; ++i) {
            const unsigned previous = tables[k - 1][i];
            tables[k][i] = static_cast<std::uint16_t>((previous << 8) ^ tables[0][previous >> 8]);
        }
    }
    return tables;
}

constexpr std::array<CrcTable, 4> kTables = MakeTables();

std::uint16_t AddByte(std::uint16_t crc, std::uint8_t byte) {
    return static_cast<std::uint16_t>((crc << 8) ^ kTables[0][((crc >> 8) ^ byte) & 0xFFu]);
}

// The register enters the block's first two bytes; the CRC is linear in the rest.
std::uint16_t AddFourBytes(std::uint16_t crc, const std::uint8_t* bytes) {
    return static_cast<std::uint16_t>(kTables[3][(bytes[0] ^ (crc >> 8)) & 0xFFu] ^
                                      kTables[2][(bytes[1] ^ crc) & 0xFFu] ^ kTables[1][bytes[2]] ^
                                      kTables[0][bytes[3]]);
}

// The top `count` bits of `byte`, one at a time.
std::uint16_t AddBits(std::uint16_t crc, std::uint8_t byte, int count) {
    for (int i = 0; i < count; ++i) {
        const bool bit = ((byte >> (7 - i)) & 1u) != 0;
        const bool top = (crc & 0x8000u) != 0;
        crc = static_cast<std::uint16_t>(crc << 1);
        if (bit != top) {
            crc ^= kPolynomial;
        }
    }
    return crc;
}

std::uint8_t ByteAt(std::span<const std::uint8_t> frame, std::size_t index) {
    return index < frame.size() ? frame[index] : 0;
}

int Layer3SideInfoBits(const FrameHeader& h) {
    const bool mono = h.channels == 1;
    if (h.mpeg1 != 0) {
        return mono ? 17 * 8 : 32 * 8;
    }
    return mono ? 9 * 8 : 17 * 8;
}

// Sub-bands whose allocation is coded per channel; above it, joint stereo codes one allocation
// for both channels.
int JointStereoBound(const FrameHeader& h, int subbands) {
    if (h.mode != 1) {
        return subbands;
    }
    const int bound = (h.modeExtension + 1) * 4;
    return bound < subbands ? bound : subbands;
}

int Layer1AllocationBits(const FrameHeader& h) {
    constexpr int kSubbands = 32;
    const int bound = h.channels == 2 ? JointStereoBound(h, kSubbands) : kSubbands;
    return 4 * (bound * h.channels + (kSubbands - bound));
}

// Bits of each sub-band's allocation field in the Layer II tables: ISO/IEC 11172-3 B.2a-d and
// 13818-3 B.1.
struct Layer2Table {
    int subbands = 0;  // sblimit
    std::array<std::uint8_t, 30> allocationBits{};
};

constexpr Layer2Table MakeLayer2Table(int subbands, int fourBitBands, int threeBitBands) {
    Layer2Table table;
    table.subbands = subbands;
    for (int sb = 0; sb < subbands; ++sb) {
        table.allocationBits[static_cast<std::size_t>(sb)] = sb < fourBitBands ? 4
                                                             : sb < fourBitBands + threeBitBands
                                                                 ? 3
                                                                 : 2;
    }
    return table;
}

constexpr Layer2Table kTableB2a = MakeLayer2Table(27, 11, 12);
constexpr Layer2Table kTableB2b = MakeLayer2Table(30, 11, 12);
constexpr Layer2Table kTableB2c = MakeLayer2Table(8, 2, 6);
constexpr Layer2Table kTableB2d = MakeLayer2Table(12, 2, 10);
constexpr Layer2Table kTableLsf = MakeLayer2Table(30, 4, 7);

// ISO/IEC 11172-3 B.2: the table follows from the bitrate per channel and the sample rate;
// MPEG-2's lower sample rates have one table. Null for free format.
const Layer2Table* SelectLayer2Table(const FrameHeader& h) {
    if (h.bitrateIndex == 0) {
        return nullptr;
    }
    if (h.mpeg1 == 0) {
        return &kTableLsf;
    }
    const int perChannel = BitrateKbps(2, true, h.bitrateIndex) / h.channels;
    if ((h.sampleRate == 48000 && perChannel >= 56) || (perChannel >= 56 && perChannel <= 80)) {
        return &kTableB2a;
    }
    if (h.sampleRate != 48000 && perChannel >= 96) {
        return &kTableB2b;
    }
    if (h.sampleRate != 32000 && perChannel <= 48) {
        return &kTableB2c;
    }
    return &kTableB2d;
}

int Layer2ProtectedBits(const FrameHeader& h, std::span<const std::uint8_t> frame) {
    const Layer2Table* table = SelectLayer2Table(h);
    if (table == nullptr) {
        return 0;
    }
    const int bound = h.channels == 2 ? JointStereoBound(h, table->subbands) : table->subbands;
    BitReader bits(frame.subspan(frame.size() < 6 ? frame.size() : 6));
    int allocationBits = 0;
    int scfsiFields = 0;
    for (int sb = 0; sb < table->subbands; ++sb) {
        const int width = table->allocationBits[static_cast<std::size_t>(sb)];
        const int coded = sb < bound ? h.channels : 1;
        for (int ch = 0; ch < coded; ++ch) {
            allocationBits += width;
            if (bits.ReadBits(width) != 0) {
                // A shared allocation above the bound gives each channel its scfsi.
                scfsiFields += sb < bound ? 1 : h.channels;
            }
        }
    }
    return allocationBits + 2 * scfsiFields;
}

}  // namespace

int ProtectedBits(const FrameHeader& h, std::span<const std::uint8_t> frame) {
    if (h.protectionBit != 0) {
        return 0;
    }
    switch (h.layer) {
        case 1:
            return Layer1AllocationBits(h);
        case 2:
            return Layer2ProtectedBits(h, frame);
        case 3:
            return Layer3SideInfoBits(h);
        default:
            return 0;
    }
}

std::uint16_t ComputeFrameCrc(std::span<const std::uint8_t> frame, int protectedBits) {
    std::uint16_t crc = 0xFFFF;
    crc = AddByte(crc, ByteAt(frame, 2));
    crc = AddByte(crc, ByteAt(frame, 3));
    const std::size_t wholeBytes = static_cast<std::size_t>(protectedBits / 8);
    std::size_t i = 0;
    if (frame.size() >= 6 + wholeBytes) {
        for (; i + 4 <= wholeBytes; i += 4) {
            crc = AddFourBytes(crc, frame.data() + 6 + i);
        }
    }
    for (; i < wholeBytes; ++i) {
        crc = AddByte(crc, ByteAt(frame, 6 + i));
    }
    return AddBits(crc, ByteAt(frame, 6 + wholeBytes), protectedBits % 8);
}

std::uint16_t StoredFrameCrc(std::span<const std::uint8_t> frame) {
    return static_cast<std::uint16_t>(ByteAt(frame, 4) << 8 | ByteAt(frame, 5));
}

}  // namespace vornik
