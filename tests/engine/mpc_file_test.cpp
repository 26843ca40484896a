// SPDX-License-Identifier: GPL-3.0-or-later
// MPEG Plus stream headers of every version, built byte by byte.
#include <gtest/gtest.h>

#include <initializer_list>
#include <optional>
#include <tuple>
#include <vector>

#include "mpc_builder.h"
#include "mpc_file.h"
#include "stream_builder.h"

namespace vornik {
namespace {

using test::Sv8EncoderInfo;
using test::Sv8Number;
using test::Sv8Packet;
using Bytes = std::vector<std::uint8_t>;

// `bytes` followed by zeros up to `size`, so that bitrates come out as chosen numbers.
Bytes Padded(Bytes bytes, std::size_t size) {
    bytes.resize(size, 0);
    return bytes;
}

Bytes Joined(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& part : parts) {
        out.insert(out.end(), part.begin(), part.end());
    }
    return out;
}

Bytes Sv7(std::uint8_t versionByte, std::uint32_t frames, std::uint32_t profileNibble,
          std::uint32_t rateIndex, bool midSide = false) {
    return test::BuildSv7Header({versionByte, frames, profileNibble, midSide, rateIndex});
}

// A stream before version 7 of 128 kbps with mid/side stereo.
Bytes Old(std::uint32_t version, std::uint32_t frames) {
    return test::BuildOldStreamHeader({128, true, version, frames});
}

test::Sv8Fields Sv8Fields(std::uint64_t samples, std::uint32_t rateIndex = 0,
                          std::optional<double> quality = std::nullopt) {
    test::Sv8Fields fields;
    fields.samples = samples;
    fields.rateIndex = rateIndex;
    fields.quality = quality;
    return fields;
}

Bytes Sv8(std::uint64_t samples, std::uint32_t rateIndex = 0,
          std::optional<double> quality = std::nullopt, std::size_t audioBytes = 100) {
    return test::BuildSv8Stream(Sv8Fields(samples, rateIndex, quality), audioBytes);
}

const Bytes kSv8Magic = {'M', 'P', 'C', 'K'};

// The record filled from `bytes` over `record`.
Mp3Info RecordOf(const Bytes& bytes, Mp3Info record = {}) {
    const test::TempFile file(bytes, ".mpc");
    MpcFile mpc;
    EXPECT_TRUE(mpc.Open(file.path()));
    EXPECT_EQ(mpc.FillRecord(record), 1);
    return record;
}

// Stream version, bitrate, frames, mid/side, profile, sample rate and milliseconds.
using Fields = std::tuple<std::uint32_t, std::uint32_t, std::uint32_t, bool, std::uint32_t,
                          std::int32_t, std::uint64_t>;

Fields FieldsOf(const Bytes& bytes) {
    const test::TempFile file(bytes, ".mpc");
    MpcFile mpc;
    EXPECT_TRUE(mpc.Open(file.path()));
    MpcHeader h;
    EXPECT_EQ(mpc.ReadHeader(h), 0);
    return {h.streamVersion, h.bitrate,    h.frameCount, h.midSide,
            h.profile,       h.sampleRate, h.durationMs};
}

struct HeaderCase {
    const char* name;
    Bytes bytes;
    Fields fields;
};

void ExpectHeaders(std::initializer_list<HeaderCase> cases) {
    for (const HeaderCase& c : cases) {
        EXPECT_EQ(FieldsOf(c.bytes), c.fields) << c.name;
    }
}

// Frames x 1152 samples at the rate, to the nearest millisecond.
TEST(MpcFile, HeaderFields) {
    ExpectHeaders({
        {"version 7.1", Sv7(0x17, 2000, 10, 1), {7, 0, 2000, false, 2, 48000, 48000}},
        {"version 8 after MP+", Sv7(0x08, 2000, 10, 1), {8, 0, 2000, false, 2, 48000, 48000}},
        // Below version 7 the first word is read the old way, where "MP+" itself holds version
        // 362, a bitrate and the mid/side bit, and the rate is always 44100.
        {"version 6 after MP+", Sv7(0x06, 2000, 10, 1), {362, 12, 2000, true, 6, 44100, 52245}},
        {"54857.1 ms", Sv7(0x07, 2100, 10, 0), {7, 0, 2100, false, 2, 44100, 54857}},
        {"32000 Hz", Sv7(0x07, 2000, 10, 3), {7, 0, 2000, false, 2, 32000, 72000}},
        // Profile nibbles 8..15 (Thumb, Radio, Standard, Xtreme, Insane and beyond) count from
        // 0; the ones below Thumb have no name.
        {"nibble 7", Sv7(0x07, 10, 7, 0), {7, 0, 10, false, 6, 44100, 261}},
        {"nibble 8", Sv7(0x07, 10, 8, 0), {7, 0, 10, false, 0, 44100, 261}},
        {"nibble 15", Sv7(0x07, 10, 15, 0), {7, 0, 10, false, 7, 44100, 261}},
        // Before version 7, frames count one less below version 6, never below 0.
        {"version 4", Old(4, 2001), {4, 128, 2000, true, 6, 44100, 52245}},
        {"version 4 without frames", Old(4, 0), {4, 128, 0, true, 6, 44100, 0}},
        // More than the 16 bits version 4 has room for.
        {"version 5", Old(5, 70001), {5, 128, 70000, true, 6, 44100, 1828571}},
        {"version 6", Old(6, 2000), {6, 128, 2000, true, 6, 44100, 52245}},
        // Version 8 counts samples; the last frame is partly filled. Mid/side is the builder's.
        {"44100 Hz", Sv8(100000, 0), {8, 0, 87, true, 6, 44100, 2268}},  // 2267.57
        {"48000 Hz", Sv8(100000, 1), {8, 0, 87, true, 6, 48000, 2083}},  // 2083.33
        {"37800 Hz", Sv8(100000, 2), {8, 0, 87, true, 6, 37800, 2646}},  // 2645.50
        {"one frame", Sv8(1152), {8, 0, 1, true, 6, 44100, 26}},
        {"one sample more", Sv8(1153), {8, 0, 2, true, 6, 44100, 26}},
        // More frames than the count holds; the duration still does not overflow.
        {"2^62 samples", Sv8(1ull << 62), {8, 0, 4294967295, true, 6, 44100, 104573379102661857}},
        // Indices 4 to 7 name no rate: the whole stream header is disregarded.
        {"rate index 5", Sv8(100000, 5), {8, 0, 0, false, 6, 44100, 0}},
        // The profile number of the encoder info: quality + 5, fractions dropped.
        {"--thumb", Sv8(44100, 0, 3.0), {8, 0, 39, true, 0, 44100, 1000}},
        {"below Thumb", Sv8(44100, 0, 2.0), {8, 0, 39, true, 6, 44100, 1000}},
        {"fraction", Sv8(44100, 0, 5.875), {8, 0, 39, true, 2, 44100, 1000}},
        {"15.875, the largest", Sv8(44100, 0, 10.875), {8, 0, 39, true, 7, 44100, 1000}},
    });
}

TEST(MpcSv8, PacketWalk) {
    const Bytes sh = test::Sv8StreamHeader(Sv8Fields(132300));
    const Bytes ei = Sv8EncoderInfo(5.0);
    const Bytes audio = Sv8Packet("AP", Bytes(10, 0));
    // A 300-byte packet needs a two-byte size; a size may be padded with 0x80 bytes.
    const Bytes sh48 = test::Sv8StreamHeader(Sv8Fields(132300, 1));
    const Bytes payload(sh48.begin() + 3, sh48.end());
    const Bytes paddedSh = Joined({{'S', 'H'}, Sv8Number(2 + 3 + payload.size(), 3), payload});
    Bytes overlong = Sv8Packet("RG", Bytes(9, 0));
    overlong[2] = 0x7F;  // 127 bytes, more than the file holds
    Bytes tooShort = Sv8Packet("RG", Bytes(9, 0));
    tooShort[2] = 2;  // less than its own key and size
    const Bytes endless = {'R', 'G', 0x81, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x00};
    const Fields standard{8, 0, 115, true, 2, 44100, 3000};
    const Fields sized{8, 0, 115, true, 6, 44100, 3000};
    const Fields none{8, 0, 0, false, 6, 44100, 0};
    ExpectHeaders({
        {"long and padded sizes",
         Joined(
             {kSv8Magic, Sv8Packet("CT", Bytes(300, 0x41)), paddedSh, Sv8EncoderInfo(7.0), audio}),
         {8, 0, 115, true, 4, 48000, 2756}},  // 2756.25 ms
        {"info before header", Joined({kSv8Magic, ei, sh, audio}), standard},
        {"info after audio", Joined({kSv8Magic, sh, audio, ei}), sized},
        {"header after stream end", Joined({kSv8Magic, Sv8Packet("SE", {}), sh}), none},
        {"lower-case key", Joined({kSv8Magic, Sv8Packet("rg", Bytes(9, 0)), sh, ei}), none},
        {"size past the end", Joined({kSv8Magic, sh, overlong, ei, audio}), sized},
        {"size below the header", Joined({kSv8Magic, sh, tooShort, ei, audio}), sized},
        {"size of ten bytes", Joined({kSv8Magic, sh, endless, ei, audio}), sized},
    });
}

TEST(MpcFile, FillsTheRecord) {
    // 653062 x 8 / 52245 = 99.9999: the bitrate is truncated, not rounded.
    const Bytes sv7 = Padded(Sv7(0x07, 2000, 10, 0, true), 653062);
    // Fields of the MPEG audio scan are not the reader's business and must survive it.
    Mp3Info before{};
    before.layer = 3;
    before.fileName = "kept";
    Mp3Info r = RecordOf(sv7, before);
    EXPECT_EQ(std::tuple(r.mpcStreamVersion, r.mpcProfile, r.frameCount, r.fileSize, r.sampleRate),
              std::tuple(7, 2, 2000, std::int64_t{653062}, 44100));
    EXPECT_EQ(std::tuple(r.duration, r.channelMode, r.avgBitrate, r.isVbr, r.scanComplete),
              std::tuple(52.0f, 1, 99, true, true));
    EXPECT_EQ(std::tuple(r.layer, r.fileName, r.channels), std::tuple(3, "kept", 0));

    // Version 8 tells the channels; mpcenc sets the mid/side flag on mono streams too.
    test::Sv8Fields fields = Sv8Fields(44100);
    fields.midSide = false;
    EXPECT_EQ(RecordOf(test::BuildSv8Stream(fields)).channelMode, 0);
    fields.midSide = true;
    fields.channels = 1;
    EXPECT_EQ(RecordOf(test::BuildSv8Stream(fields)).channelMode, 3);
}

TEST(MpcFile, WholeSecondsAndTruncatedBitrate) {
    // 100000 bytes: 800000 bits / durationMs, truncated.
    const std::tuple<Bytes, float, int> cases[] = {
        {Sv7(0x07, 2100, 0, 0), 54, 14},  // 54857 ms shown as 54 s
        // No frames, no bitrate.
        {Sv7(0x07, 0, 0, 0), 0, 0},
        {Old(4, 0), 0, 0},
        {Sv8(0), 0, 0},
    };
    for (const auto& [bytes, seconds, kbps] : cases) {
        const Mp3Info record = RecordOf(Padded(bytes, 100000));
        EXPECT_EQ(record.duration, seconds) << kbps;
        EXPECT_EQ(record.avgBitrate, kbps) << seconds;
    }
}

// Cut at every length: every field the remaining bytes hold is read, every other one keeps
// its default, and nothing is read from beyond the cut.
TEST(MpcFile, CutAtEveryLength) {
    const Bytes sv7 = Sv7(0x07, 2000, 10, 1, true);
    for (std::size_t size = 0; size <= sv7.size(); ++size) {
        const Bytes cut(sv7.begin(), sv7.begin() + size);
        EXPECT_EQ(RecordOf(cut).fileSize, static_cast<std::int64_t>(size));
        const bool frames = size >= 8;
        const bool whole = size == 12;
        EXPECT_EQ(FieldsOf(cut), Fields(size < 4 ? 0 : 7, 0, frames ? 2000 : 0, whole,
                                        whole ? 2 : 6, whole ? 48000 : 44100,
                                        whole    ? 48000
                                        : frames ? 52245
                                                 : 0))
            << "version 7 cut at " << size;
    }
    // "MPCK", then the 14-byte stream header, the 12-byte replay gain and the 7-byte info.
    const Bytes sv8 = Sv8(132300, 0, 5.0, 20);
    const std::size_t headerEnd = 4 + 14;
    const std::size_t infoEnd = headerEnd + 12 + 7;
    for (std::size_t size = 0; size <= sv8.size(); ++size) {
        const Bytes cut(sv8.begin(), sv8.begin() + size);
        const bool header = size >= headerEnd;
        EXPECT_EQ(FieldsOf(cut), Fields(size < 4 ? 0 : 8, 0, header ? 115 : 0, header,
                                        size < infoEnd ? 6 : 2, 44100, header ? 3000 : 0))
            << "version 8 cut at " << size;
        EXPECT_EQ(RecordOf(cut).avgBitrate, header ? static_cast<int>(size * 8 / 3000) : 0) << size;
    }
}

}  // namespace
}  // namespace vornik
