// SPDX-License-Identifier: GPL-3.0-or-later
#include "mpc_builder.h"

#include <cmath>
#include <stdexcept>

namespace vornik::test {
namespace {

void PutU32Le(std::vector<std::uint8_t>& out, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
}

void Append(std::vector<std::uint8_t>& out, const std::vector<std::uint8_t>& more) {
    out.insert(out.end(), more.begin(), more.end());
}

}  // namespace

std::vector<std::uint8_t> BuildSv7Header(const Sv7Fields& fields) {
    std::vector<std::uint8_t> out = {'M', 'P', '+', fields.versionByte};
    PutU32Le(out, fields.frames);
    // Max band 31 and a nonzero max level, as a real encoder leaves them, so that a reader
    // taking the wrong bits sees something other than 0.
    const std::uint32_t w2 = (fields.midSide ? 1u : 0u) << 30 | 31u << 24 |
                             (fields.profileNibble & 0xF) << 20 | (fields.rateIndex & 0x3) << 16 |
                             0x7FFF;
    PutU32Le(out, w2);
    return out;
}

std::vector<std::uint8_t> BuildOldStreamHeader(const OldStreamFields& fields) {
    std::vector<std::uint8_t> out;
    // Max band 31 and block size 1 below the version field.
    const std::uint32_t w0 = (fields.bitrate & 0x1FF) << 23 | (fields.midSide ? 1u : 0u) << 21 |
                             (fields.version & 0x3FF) << 11 | 31u << 6 | 1u;
    PutU32Le(out, w0);
    // Below version 5 the low half of the second word is not the frame count; fill it so
    // that a reader taking the whole word is caught.
    PutU32Le(out, fields.version >= 5 ? fields.frames : (fields.frames & 0xFFFF) << 16 | 0x1234);
    return out;
}

std::vector<std::uint8_t> Sv8Number(std::uint64_t value, std::size_t minBytes) {
    std::vector<std::uint8_t> groups;
    do {
        groups.insert(groups.begin(), static_cast<std::uint8_t>(value & 0x7F));
        value >>= 7;
    } while (value != 0);
    while (groups.size() < minBytes) {
        groups.insert(groups.begin(), 0);
    }
    for (std::size_t i = 0; i + 1 < groups.size(); ++i) {
        groups[i] |= 0x80;
    }
    return groups;
}

std::vector<std::uint8_t> Sv8Packet(const std::string& key,
                                    const std::vector<std::uint8_t>& payload) {
    if (key.size() != 2) {
        throw std::invalid_argument("packet keys have two letters");
    }
    // The size counts its own bytes, so it may need one more byte once they are added.
    std::size_t sizeBytes = 1;
    while (Sv8Number(2 + sizeBytes + payload.size()).size() > sizeBytes) {
        ++sizeBytes;
    }
    std::vector<std::uint8_t> out(key.begin(), key.end());
    Append(out, Sv8Number(2 + sizeBytes + payload.size()));
    Append(out, payload);
    return out;
}

std::vector<std::uint8_t> Sv8StreamHeader(const Sv8Fields& fields) {
    std::vector<std::uint8_t> payload = {0, 0, 0, 0, 8};  // CRC, stream version
    Append(payload, Sv8Number(fields.samples));
    Append(payload, Sv8Number(fields.beginSilence));
    payload.push_back(static_cast<std::uint8_t>((fields.rateIndex & 0x7) << 5 | 27));  // 27 bands
    payload.push_back(static_cast<std::uint8_t>(((fields.channels - 1) & 0xF) << 4 |
                                                (fields.midSide ? 1 : 0) << 3 | 3));
    return Sv8Packet("SH", payload);
}

std::vector<std::uint8_t> Sv8EncoderInfo(double quality) {
    const auto eighths = static_cast<std::uint8_t>(std::lround((quality + 5) * 8) & 0x7F);
    return Sv8Packet("EI", {static_cast<std::uint8_t>(eighths << 1), 1, 30, 1});
}

std::vector<std::uint8_t> BuildSv8Stream(const Sv8Fields& fields, std::size_t audioBytes) {
    std::vector<std::uint8_t> out = {'M', 'P', 'C', 'K'};
    Append(out, Sv8StreamHeader(fields));
    // Replay gain: version 1, then four 16-bit gains and peaks, all zero.
    std::vector<std::uint8_t> replayGain(9, 0);
    replayGain[0] = 1;
    Append(out, Sv8Packet("RG", replayGain));
    if (fields.quality) {
        Append(out, Sv8EncoderInfo(*fields.quality));
    }
    Append(out, Sv8Packet("AP", std::vector<std::uint8_t>(audioBytes, 0)));
    Append(out, Sv8Packet("SE", {}));
    return out;
}

}  // namespace vornik::test
