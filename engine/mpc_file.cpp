// SPDX-License-Identifier: GPL-3.0-or-later
#include "mpc_file.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "byte_reader.h"
#include "end_tags.h"

namespace vornik {
namespace {

// Every stream version codes 1152 samples per frame; version 8 counts samples instead, and
// its frame count here is in the same 1152-sample units so that the two kinds compare.
constexpr std::uint64_t kSamplesPerFrame = 1152;

constexpr std::uint32_t kUnnamedProfile = 6;

// Sample frequency index of version 7 (2 bits) and version 8 (3 bits, 4..7 unused) headers.
constexpr std::array<std::int32_t, 4> kSampleRates = {
    44100,  // 0: also the one rate of every stream before version 7
    48000,  // 1
    37800,  // 2: the CD-ROM XA rate
    32000,  // 3
};

// The first four bytes as a little-endian word: "MP+" fills its low three bytes and the
// version byte the top one; "MPCK" fills all four.
constexpr std::uint32_t kSv7Magic = 0x002B504D;
constexpr std::uint32_t kSv8Magic = 0x4B43504D;

// How much of a version-8 file is searched for the header packets. Encoders put them in the
// first few dozen bytes; the window leaves room for chapter and replay gain packets, and
// with the packet limit bounds the work a damaged file can cause.
constexpr std::size_t kSv8HeaderWindow = 64 * 1024;
constexpr int kSv8MaxPackets = 64;
// Nine 7-bit groups hold 63 bits, more than any packet size or sample count needs; a longer
// number is damage.
constexpr int kMaxNumberBytes = 9;

// samples x 1000 / rate rounded to the nearest millisecond, without overflow for any count.
std::uint64_t Milliseconds(std::uint64_t samples, std::int32_t rate) {
    const auto perSecond = static_cast<std::uint64_t>(rate);
    return samples / perSecond * 1000 + (samples % perSecond * 1000 + perSecond / 2) / perSecond;
}

// The 4-bit profile of version 7 (and the profile number of version 8) runs from 8 Thumb to
// 12 Insane and on to 15; numbers below 8 are experimental or below Thumb and get no name.
std::uint32_t ProfileFromNibble(std::uint32_t nibble) {
    return nibble >= 8 ? nibble - 8 : kUnnamedProfile;
}

// Version 7: w1 the frame count; w2 bit 31 intensity stereo (never used), bit 30 mid/side,
// bits 24-29 max band, 20-23 profile, 18-19 link, 16-17 sample frequency, 0-15 max level.
void DecodeSv7(std::uint32_t w1, std::uint32_t w2, MpcHeader& out) {
    out.bitrate = 0;
    out.frameCount = w1;
    out.midSide = (w2 >> 30 & 1) != 0;
    out.profile = ProfileFromNibble(w2 >> 20 & 0xF);
    out.sampleRate = kSampleRates[w2 >> 16 & 0x3];
}

// Versions 4 to 6: w0 bits 23-31 bitrate in kbps, 22 intensity stereo, 21 mid/side, 11-20
// stream version, 6-10 max band, 0-5 block size. Version 4 keeps its frame count in the top
// half of w1; later versions use the whole word. These streams are 44100 Hz only.
void DecodeOldStream(std::uint32_t w0, std::uint32_t w1, MpcHeader& out) {
    out.bitrate = w0 >> 23;
    out.midSide = (w0 >> 21 & 1) != 0;
    out.streamVersion = w0 >> 11 & 0x3FF;
    out.frameCount = out.streamVersion >= 5 ? w1 : w1 >> 16;
    out.profile = kUnnamedProfile;
}

// A version-8 number: 7 bits a byte, most significant group first, the top bit set on every
// byte but the last. Empty when the bytes run out or the number runs on too long.
std::optional<std::uint64_t> ReadNumber(ByteReader& in) {
    std::uint64_t value = 0;
    for (int i = 0; i < kMaxNumberBytes; ++i) {
        const std::uint8_t byte = in.u8();
        if (!in.ok()) {
            return std::nullopt;
        }
        value = value << 7 | (byte & 0x7F);
        if ((byte & 0x80) == 0) {
            return value;
        }
    }
    return std::nullopt;
}

bool IsPacketKey(const std::string& key) {
    return key.size() == 2 &&
           std::all_of(key.begin(), key.end(), [](char c) { return c >= 'A' && c <= 'Z'; });
}

// "SH": CRC-32 of the rest of the payload, stream version, sample count, samples of silence
// at the start, then rate index (top 3 bits) with max band (low 5), then channels - 1 (top
// 4), mid/side (bit 3) and frames per audio packet as a power of 4 (low 3). False, with
// `out` untouched, when a field is missing or the rate index has no rate.
bool ReadStreamHeader(std::span<const std::uint8_t> payload, MpcHeader& out) {
    ByteReader in(payload);
    in.skip(4);  // the CRC: a damaged header still says what it can
    in.skip(1);  // the version byte, 8 for every stream that starts with "MPCK"
    const auto samples = ReadNumber(in);
    const auto silence = ReadNumber(in);
    const std::uint8_t rateAndBands = in.u8();
    const std::uint8_t channelsAndMidSide = in.u8();
    const std::size_t rateIndex = rateAndBands >> 5;
    if (!in.ok() || !samples || !silence || rateIndex >= kSampleRates.size()) {
        return false;
    }
    out.sampleRate = kSampleRates[rateIndex];
    out.midSide = (channelsAndMidSide >> 3 & 1) != 0;
    out.channels = (channelsAndMidSide >> 4) + 1u;
    // The whole sample count, the silence at the start included: the stream as coded.
    const std::uint64_t frames = (*samples + kSamplesPerFrame - 1) / kSamplesPerFrame;
    out.frameCount = static_cast<std::uint32_t>(
        std::min<std::uint64_t>(frames, std::numeric_limits<std::uint32_t>::max()));
    out.durationMs = Milliseconds(*samples, out.sampleRate);
    return true;
}

// "EI": the profile number x 8 in the top 7 bits of the first byte, PNS in the low bit, then
// the encoder's version bytes. The profile number is version 7's nibble, quality + 5 (80 for
// mpcenc --standard), now with fractions; the fraction is dropped, as the decoder's own
// stream info names the profile (--quality 5.5 is still "Standard").
std::optional<std::uint32_t> ReadEncoderInfo(std::span<const std::uint8_t> payload) {
    ByteReader in(payload);
    const std::uint32_t eighths = in.u8() >> 1;
    if (!in.ok()) {
        return std::nullopt;
    }
    return ProfileFromNibble(eighths / 8);
}

// Walks the packets after "MPCK" up to the first audio packet, reading the stream header and
// the encoder info wherever they stand before it. A packet that is cut by the end of
// `bytes`, or whose key or size cannot be right, ends the walk: nothing after it can be
// trusted to start a packet.
void ReadSv8Packets(std::span<const std::uint8_t> bytes, MpcHeader& out) {
    ByteReader in(bytes);
    in.skip(4);
    bool haveStreamHeader = false;
    bool haveEncoderInfo = false;
    for (int packet = 0; packet < kSv8MaxPackets; ++packet) {
        const std::size_t start = in.position();
        const std::string key = in.text(2);
        if (!in.ok() || !IsPacketKey(key) || key == "AP" || key == "SE") {
            return;
        }
        // The size counts the key, the size bytes themselves and the payload.
        const auto size = ReadNumber(in);
        const std::size_t headerLength = in.position() - start;
        if (!size || *size < headerLength || *size - headerLength > in.remaining()) {
            return;
        }
        const auto payload = in.bytes(static_cast<std::size_t>(*size - headerLength));
        if (key == "SH" && !haveStreamHeader) {
            haveStreamHeader = ReadStreamHeader(payload, out);
        } else if (key == "EI" && !haveEncoderInfo) {
            const auto profile = ReadEncoderInfo(payload);
            if (profile) {
                out.profile = *profile;
                haveEncoderInfo = true;
            }
        }
    }
}

}  // namespace

bool MpcFile::Open(const std::string& path) {
    return reader_.open(path);
}

int MpcFile::ReadHeader(MpcHeader& out) {
    out = MpcHeader{};
    out.fileSize = reader_.size();

    std::array<std::uint8_t, 12> first{};
    const std::size_t got = reader_.readAt(0, first.data(), first.size());
    ByteReader in(std::span<const std::uint8_t>(first.data(), got));
    // A word the file does not hold reads as 0, which matches no magic and holds no field.
    const std::uint32_t w0 = in.u32le();
    const std::uint32_t w1 = in.u32le();
    const std::uint32_t w2 = in.u32le();

    if (w0 == kSv8Magic) {
        out.streamVersion = 8;
        std::vector<std::uint8_t> window(
            static_cast<std::size_t>(std::min<std::int64_t>(reader_.size(), kSv8HeaderWindow)));
        window.resize(reader_.readAt(0, window.data(), window.size()));
        ReadSv8Packets(window, out);
        return 0;
    }

    // Encoders write 0x17 for version 7.1: the high nibble is a minor revision.
    if ((w0 & 0x00FFFFFF) == kSv7Magic) {
        out.streamVersion = w0 >> 24 & 0xF;
    }
    if (out.streamVersion >= 7) {
        DecodeSv7(w1, w2, out);
    } else {
        DecodeOldStream(w0, w1, out);
    }
    // Streams before version 6 count one frame more than they hold. A count of 0 stays 0
    // rather than wrapping to four billion frames.
    if (out.streamVersion < 6 && out.frameCount > 0) {
        --out.frameCount;
    }
    out.durationMs = Milliseconds(out.frameCount * kSamplesPerFrame, out.sampleRate);
    return 0;
}

void MpcFile::ReadTags(Mp3Info& record) {
    const std::int64_t size = reader_.size();
    std::int64_t id3v1Start = -1;
    std::array<std::uint8_t, 128> id3v1{};
    if (size >= 128 && reader_.readAt(size - 128, id3v1.data(), id3v1.size()) == id3v1.size() &&
        std::memcmp(id3v1.data(), "TAG", 3) == 0) {
        id3v1Start = size - 128;
        record.hasId3v1 = true;
        record.id3v1Raw = id3v1;
    }
    record.endTagsStart = ReadEndTags(reader_, id3v1Start, record);
}

int MpcFile::FillRecord(Mp3Info& record) {
    MpcHeader header;
    ReadHeader(header);
    constexpr auto kInt32Max = static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max());
    // Whole seconds: the list shows these files' length without fractions.
    record.duration = static_cast<float>(header.durationMs / 1000);
    record.frameCount =
        static_cast<std::int32_t>(std::min<std::uint64_t>(header.frameCount, kInt32Max));
    record.mpcStreamVersion = static_cast<std::int32_t>(header.streamVersion);
    record.mpcProfile = static_cast<std::int32_t>(header.profile);
    record.fileSize = header.fileSize;
    // Joint stereo or stereo; a single-channel version-8 stream says so, although the encoder
    // sets its mid/side bit too.
    record.channelMode = header.channels == 1 ? 3 : (header.midSide ? 1 : 0);
    record.sampleRate = header.sampleRate;
    record.isVbr = true;
    record.scanComplete = true;
    ReadTags(record);
    // Bits per millisecond is kbps, of the stream without its tags. A stream of no frames has
    // no bitrate.
    if (header.durationMs == 0) {
        record.avgBitrate = 0;
    } else {
        const std::uint64_t bits = static_cast<std::uint64_t>(record.endTagsStart) * 8;
        record.avgBitrate =
            static_cast<std::int32_t>(std::min(bits / header.durationMs, kInt32Max));
    }
    return 1;
}

}  // namespace vornik
