// SPDX-License-Identifier: GPL-3.0-or-later
// Builds MPEG Plus (Musepack) stream headers for tests: version 7 ("MP+"), the older streams
// without a magic, and version 8 ("MPCK") packet streams.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vornik::test {

// A version-7 header: "MP+", the version byte, then two little-endian words.
struct Sv7Fields {
    std::uint8_t versionByte = 0x07;  // 0x17 is what encoders of version 7.1 write
    std::uint32_t frames = 0;
    std::uint32_t profileNibble = 0;  // 8 Thumb .. 12 Insane
    bool midSide = false;
    std::uint32_t rateIndex = 0;  // 0 44100, 1 48000, 2 37800, 3 32000 Hz
};
// The 12 header bytes.
std::vector<std::uint8_t> BuildSv7Header(const Sv7Fields& fields);

// A header of a stream before version 7: two little-endian words, no magic.
struct OldStreamFields {
    std::uint32_t bitrate = 0;  // kbps, 9 bits
    bool midSide = false;
    std::uint32_t version = 4;  // 10 bits
    std::uint32_t frames = 0;   // stored in the top half of the second word below version 5
};
// The 8 header bytes.
std::vector<std::uint8_t> BuildOldStreamHeader(const OldStreamFields& fields);

// A version-8 number: 7-bit groups, most significant first, the top bit set on all but the
// last byte. `minBytes` pads with leading 0x80 bytes, which readers must accept.
std::vector<std::uint8_t> Sv8Number(std::uint64_t value, std::size_t minBytes = 1);
// A packet: the two-letter key, the size (key, size bytes and payload) and the payload.
std::vector<std::uint8_t> Sv8Packet(const std::string& key,
                                    const std::vector<std::uint8_t>& payload);

struct Sv8Fields {
    std::uint64_t samples = 0;
    std::uint64_t beginSilence = 0;
    std::uint32_t rateIndex = 0;  // 0 44100, 1 48000, 2 37800, 3 32000 Hz; 3 bits
    int channels = 2;
    bool midSide = true;
    // mpcenc's --quality (5.0 for --standard). The "EI" packet stores quality + 5, the
    // profile number of version 7, times 8 in 7 bits. No "EI" packet when empty.
    std::optional<double> quality;
};
// The "SH" packet alone; its CRC field is left 0.
std::vector<std::uint8_t> Sv8StreamHeader(const Sv8Fields& fields);
// The "EI" packet alone, with PNS off and encoder version 1.30.1.
std::vector<std::uint8_t> Sv8EncoderInfo(double quality);
// "MPCK", "SH", an "RG" packet as mpcenc writes it, "EI" when asked for, one "AP" packet of
// `audioBytes` zero bytes and "SE".
std::vector<std::uint8_t> BuildSv8Stream(const Sv8Fields& fields, std::size_t audioBytes = 100);

}  // namespace vornik::test
