// MPEG Plus stream headers of every version, built byte by byte.
#include <gtest/gtest.h>

#include <initializer_list>
#include <optional>
#include <vector>

#include "mpc_builder.h"
#include "mpc_file.h"
#include "stream_builder.h"

namespace vornik {
namespace {

using test::BuildOldStreamHeader;
using test::BuildSv7Header;
using test::BuildSv8Stream;
using test::OldStreamFields;
using test::Sv7Fields;
using test::Sv8EncoderInfo;
using test::Sv8Fields;
using test::Sv8Number;
using test::Sv8Packet;
using test::Sv8StreamHeader;

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

const Bytes kSv8Magic = {'M', 'P', 'C', 'K'};

MpcHeader HeaderOf(const Bytes& bytes) {
    const test::TempFile file(bytes, ".mpc");
    MpcFile mpc;
    EXPECT_TRUE(mpc.Open(file.path()));
    MpcHeader header;
    EXPECT_EQ(mpc.ReadHeader(header), 0);
    return header;
}

Mp3Info RecordOf(const Bytes& bytes) {
    const test::TempFile file(bytes, ".mpc");
    MpcFile mpc;
    EXPECT_TRUE(mpc.Open(file.path()));
    Mp3Info record{};
    EXPECT_EQ(mpc.FillRecord(record), 1);
    return record;
}

TEST(MpcSv7, TwoThousandFramesFillTheRecord) {
    Sv7Fields fields;
    fields.frames = 2000;
    fields.profileNibble = 10;
    fields.midSide = true;
    // 653062 x 8 / 52245 = 99.9999: the bitrate is truncated, not rounded.
    const Bytes bytes = Padded(BuildSv7Header(fields), 653062);

    const MpcHeader header = HeaderOf(bytes);
    EXPECT_EQ(header.streamVersion, 7u);
    EXPECT_EQ(header.bitrate, 0u);
    EXPECT_EQ(header.durationMs, 52245u);

    const test::TempFile file(bytes, ".mpc");
    MpcFile mpc;
    ASSERT_TRUE(mpc.Open(file.path()));
    Mp3Info record{};
    // Fields of the MPEG audio scan are not the reader's business and must survive it.
    record.layer = 3;
    record.hasId3v1 = true;
    record.fileName = "kept";
    ASSERT_EQ(mpc.FillRecord(record), 1);
    EXPECT_EQ(record.mpcStreamVersion, 7);
    EXPECT_EQ(record.mpcProfile, 2);
    EXPECT_EQ(record.frameCount, 2000);
    EXPECT_EQ(record.duration, 52.0f);
    EXPECT_EQ(record.fileSize, 653062);
    EXPECT_EQ(record.sampleRate, 44100);
    EXPECT_EQ(record.channelMode, 1);
    EXPECT_EQ(record.avgBitrate, 99);
    EXPECT_TRUE(record.isVbr);
    EXPECT_TRUE(record.scanComplete);
    EXPECT_EQ(record.layer, 3);
    EXPECT_TRUE(record.hasId3v1);
    EXPECT_EQ(record.fileName, "kept");
    EXPECT_EQ(record.channels, 0);
    EXPECT_FALSE(record.mpeg1);
}

TEST(MpcSv7, ProfileNibble) {
    // Nibbles 8..15 (Thumb, Radio, Standard, Xtreme, Insane and beyond) count from 0; the
    // ones below Thumb have no name.
    const std::uint32_t expected[16] = {6, 6, 6, 6, 6, 6, 6, 6, 0, 1, 2, 3, 4, 5, 6, 7};
    for (std::uint32_t nibble = 0; nibble < 16; ++nibble) {
        Sv7Fields fields;
        fields.frames = 10;
        fields.profileNibble = nibble;
        EXPECT_EQ(HeaderOf(BuildSv7Header(fields)).profile, expected[nibble]) << nibble;
    }
}

TEST(MpcSv7, VersionByte) {
    struct Row {
        std::uint8_t versionByte;
        std::uint32_t version;
        std::uint32_t bitrate;
        bool midSide;
        std::uint32_t profile;
        std::int32_t sampleRate;
    };
    // The header says 2000 frames, no mid/side, profile nibble 10, 48000 Hz. Below version 7
    // the first word is read the old way, where "MP+" itself holds version 362, a bitrate
    // and the mid/side bit, and the rate is always 44100.
    const Row rows[] = {
        {0x07, 7, 0, false, 2, 48000},   {0x17, 7, 0, false, 2, 48000},
        {0xF7, 7, 0, false, 2, 48000},   {0x08, 8, 0, false, 2, 48000},
        {0x06, 362, 12, true, 6, 44100}, {0x16, 362, 44, true, 6, 44100},
    };
    for (const Row& row : rows) {
        Sv7Fields fields;
        fields.versionByte = row.versionByte;
        fields.frames = 2000;
        fields.profileNibble = 10;
        fields.rateIndex = 1;
        const MpcHeader header = HeaderOf(BuildSv7Header(fields));
        SCOPED_TRACE(testing::Message() << "version byte " << int{row.versionByte});
        EXPECT_EQ(header.streamVersion, row.version);
        EXPECT_EQ(header.frameCount, 2000u);
        EXPECT_EQ(header.bitrate, row.bitrate);
        EXPECT_EQ(header.midSide, row.midSide);
        EXPECT_EQ(header.profile, row.profile);
        EXPECT_EQ(header.sampleRate, row.sampleRate);
    }
}

TEST(MpcSv7, SampleRateSetsDurationAndBitrate) {
    struct Row {
        std::uint32_t frames;
        std::uint32_t rateIndex;
        std::int32_t sampleRate;
        std::uint64_t durationMs;  // frames x 1152 / rate, to the nearest millisecond
        float seconds;             // whole seconds, truncated
        std::int32_t kbps;         // 800000 bits / durationMs, truncated
    };
    const Row rows[] = {
        {2000, 0, 44100, 52245, 52, 15},  // 52244.9 rounds up
        {2100, 0, 44100, 54857, 54, 14},  // 54.857 s is shown as 54
        {2000, 1, 48000, 48000, 48, 16}, {2000, 2, 37800, 60952, 60, 13},
        {2000, 3, 32000, 72000, 72, 11},
    };
    for (const Row& row : rows) {
        Sv7Fields fields;
        fields.frames = row.frames;
        fields.rateIndex = row.rateIndex;
        const Bytes bytes = Padded(BuildSv7Header(fields), 100000);
        SCOPED_TRACE(testing::Message() << row.sampleRate << " Hz, " << row.frames << " frames");
        EXPECT_EQ(HeaderOf(bytes).durationMs, row.durationMs);
        const Mp3Info record = RecordOf(bytes);
        EXPECT_EQ(record.sampleRate, row.sampleRate);
        EXPECT_EQ(record.duration, row.seconds);
        EXPECT_EQ(record.avgBitrate, row.kbps);
    }
}

TEST(MpcOldStream, FieldsByVersion) {
    struct Row {
        std::uint32_t version;
        std::uint32_t storedFrames;
        std::uint32_t frames;  // one less below version 6, never below 0
        std::uint64_t durationMs;
    };
    const Row rows[] = {
        {4, 2001, 2000, 52245},     {4, 0, 0, 0}, {5, 2001, 2000, 52245},
        {5, 70001, 70000, 1828571},  // more than the 16 bits version 4 has room for
        {6, 2000, 2000, 52245},
    };
    for (const Row& row : rows) {
        OldStreamFields fields;
        fields.bitrate = 128;
        fields.midSide = true;
        fields.version = row.version;
        fields.frames = row.storedFrames;
        const MpcHeader header = HeaderOf(BuildOldStreamHeader(fields));
        SCOPED_TRACE(testing::Message()
                     << "version " << row.version << ", " << row.storedFrames << " frames stored");
        EXPECT_EQ(header.streamVersion, row.version);
        EXPECT_EQ(header.bitrate, 128u);
        EXPECT_TRUE(header.midSide);
        EXPECT_EQ(header.frameCount, row.frames);
        EXPECT_EQ(header.durationMs, row.durationMs);
        EXPECT_EQ(header.profile, 6u);
        EXPECT_EQ(header.sampleRate, 44100);
    }
}

TEST(MpcFile, NoFramesMeansNoBitrate) {
    Sv8Fields sv8;
    sv8.samples = 0;
    const Bytes streams[] = {
        Padded(BuildSv7Header({}), 5000),
        Padded(BuildOldStreamHeader({}), 5000),
        BuildSv8Stream(sv8, 5000),
    };
    for (const Bytes& bytes : streams) {
        const Mp3Info record = RecordOf(bytes);
        EXPECT_EQ(record.frameCount, 0);
        EXPECT_EQ(record.duration, 0.0f);
        EXPECT_EQ(record.avgBitrate, 0);
        EXPECT_GE(record.fileSize, 5000);
    }
}

TEST(MpcSv8, StandardStreamFillsTheRecord) {
    Sv8Fields fields;
    fields.samples = 132300;  // 3 s at 44100 Hz, 114.8 frames of 1152 samples
    fields.quality = 5.0;
    const Bytes bytes = BuildSv8Stream(fields, 52000);
    ASSERT_EQ(bytes.size(), 52045u);

    const MpcHeader header = HeaderOf(bytes);
    EXPECT_EQ(header.streamVersion, 8u);
    EXPECT_EQ(header.bitrate, 0u);
    EXPECT_EQ(header.durationMs, 3000u);

    const Mp3Info record = RecordOf(bytes);
    EXPECT_EQ(record.mpcStreamVersion, 8);
    EXPECT_EQ(record.mpcProfile, 2);
    EXPECT_EQ(record.frameCount, 115);
    EXPECT_EQ(record.duration, 3.0f);
    EXPECT_EQ(record.sampleRate, 44100);
    EXPECT_EQ(record.channelMode, 1);
    EXPECT_EQ(record.avgBitrate, 138);  // 416360 bits / 3000 ms
    EXPECT_TRUE(record.isVbr);
    EXPECT_TRUE(record.scanComplete);
}

TEST(MpcSv8, QualityToProfile) {
    struct Row {
        std::optional<double> quality;
        std::uint32_t profile;
    };
    const Row rows[] = {
        {std::nullopt, 6},               // no encoder info packet
        {3.0, 0},                        // --thumb
        {4.0, 1},                        // --radio
        {5.0, 2},                        // --standard
        {6.0, 3},                        // --extreme
        {7.0, 4},                        // --insane
        {8.0, 5},          {2.0, 6},     // below Thumb
        {0.0, 6},          {5.375, 2},   // fractions count down
        {5.875, 2},        {10.875, 7},  // the largest 7-bit value, 15.875
    };
    for (const Row& row : rows) {
        Sv8Fields fields;
        fields.samples = 44100;
        fields.quality = row.quality;
        EXPECT_EQ(HeaderOf(BuildSv8Stream(fields)).profile, row.profile)
            << (row.quality ? *row.quality : -1.0);
    }
}

TEST(MpcSv8, SampleRateAndSampleCount) {
    struct Row {
        std::uint32_t rateIndex;
        std::uint64_t samples;
        std::int32_t sampleRate;
        std::uint32_t frames;  // 1152-sample frames, the last one partly filled
        std::uint64_t durationMs;
    };
    const Row rows[] = {
        {0, 100000, 44100, 87, 2268},  // 2267.57
        {1, 100000, 48000, 87, 2083},  // 2083.33
        {2, 100000, 37800, 87, 2646},  // 2645.50
        {3, 100000, 32000, 87, 3125},
        {0, 1152, 44100, 1, 26},
        {0, 1153, 44100, 2, 26},
        {0, 44122, 44100, 39, 1000},  // 1000.499
        {0, 44123, 44100, 39, 1001},  // 1000.52
        {0, 1ull << 40, 44100, 954437177, 24932236458},
        // More frames than the count holds; the duration still does not overflow.
        {0, 1ull << 62, 44100, 4294967295, 104573379102661857},
        // Indices 4 to 7 name no rate: the whole stream header is disregarded.
        {5, 100000, 44100, 0, 0},
    };
    for (const Row& row : rows) {
        Sv8Fields fields;
        fields.rateIndex = row.rateIndex;
        fields.samples = row.samples;
        const MpcHeader header = HeaderOf(BuildSv8Stream(fields));
        SCOPED_TRACE(testing::Message() << "index " << row.rateIndex << ", " << row.samples);
        EXPECT_EQ(header.sampleRate, row.sampleRate);
        EXPECT_EQ(header.frameCount, row.frames);
        EXPECT_EQ(header.durationMs, row.durationMs);
    }
}

TEST(MpcSv8, MidSideSetsJointStereoAndOneChannelSingleChannel) {
    Sv8Fields fields;
    fields.samples = 44100;
    fields.midSide = false;
    EXPECT_EQ(RecordOf(BuildSv8Stream(fields)).channelMode, 0);
    fields.midSide = true;
    EXPECT_EQ(RecordOf(BuildSv8Stream(fields)).channelMode, 1);
    fields.channels = 1;  // mpcenc sets the flag on mono streams too
    EXPECT_EQ(RecordOf(BuildSv8Stream(fields)).channelMode, 3);
}

TEST(MpcSv8, PacketsAfterLongAndPaddedSizes) {
    Sv8Fields fields;
    fields.samples = 132300;
    fields.rateIndex = 1;
    // A 300-byte packet needs a two-byte size; the stream header's size is written in three
    // bytes where one would do.
    Bytes streamHeader = Sv8StreamHeader(fields);
    const Bytes payload(streamHeader.begin() + 3, streamHeader.end());
    const Bytes paddedHeader = Joined({{'S', 'H'}, Sv8Number(2 + 3 + payload.size(), 3), payload});
    const Bytes bytes = Joined({kSv8Magic, Sv8Packet("CT", Bytes(300, 0x41)), paddedHeader,
                                Sv8EncoderInfo(7.0), Sv8Packet("AP", Bytes(10, 0))});
    const MpcHeader header = HeaderOf(bytes);
    EXPECT_EQ(header.sampleRate, 48000);
    EXPECT_EQ(header.frameCount, 115u);
    EXPECT_EQ(header.durationMs, 2756u);  // 2756.25
    EXPECT_EQ(header.profile, 4u);
}

TEST(MpcSv8, WalkEndsAtAudioOrAtADamagedPacket) {
    Sv8Fields fields;
    fields.samples = 132300;
    const Bytes sh = Sv8StreamHeader(fields);
    const Bytes ei = Sv8EncoderInfo(5.0);
    const Bytes audio = Sv8Packet("AP", Bytes(10, 0));
    Bytes overlong = Sv8Packet("RG", Bytes(9, 0));
    overlong[2] = 0x7F;  // 127 bytes, more than the file holds
    Bytes tooShort = Sv8Packet("RG", Bytes(9, 0));
    tooShort[2] = 2;  // less than its own key and size
    const Bytes endless = {'R', 'G', 0x81, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x00};

    struct Row {
        const char* name;
        Bytes bytes;
        std::uint32_t frames;
        std::uint32_t profile;
    };
    const Row rows[] = {
        {"header then info", Joined({kSv8Magic, sh, ei, audio}), 115, 2},
        {"info before header", Joined({kSv8Magic, ei, sh, audio}), 115, 2},
        {"info after audio", Joined({kSv8Magic, sh, audio, ei}), 115, 6},
        {"header after audio", Joined({kSv8Magic, audio, sh, ei}), 0, 6},
        {"header after stream end", Joined({kSv8Magic, Sv8Packet("SE", {}), sh}), 0, 6},
        {"lower-case key", Joined({kSv8Magic, Sv8Packet("rg", Bytes(9, 0)), sh, ei}), 0, 6},
        {"size past the end", Joined({kSv8Magic, sh, overlong, ei, audio}), 115, 6},
        {"size below the header", Joined({kSv8Magic, sh, tooShort, ei, audio}), 115, 6},
        {"size of ten bytes", Joined({kSv8Magic, sh, endless, ei, audio}), 115, 6},
    };
    for (const Row& row : rows) {
        const MpcHeader header = HeaderOf(row.bytes);
        EXPECT_EQ(header.streamVersion, 8u) << row.name;
        EXPECT_EQ(header.frameCount, row.frames) << row.name;
        EXPECT_EQ(header.profile, row.profile) << row.name;
    }
}

// Cut at every length: every field the remaining bytes hold is read, every other one keeps
// its default, and nothing is read from beyond the cut.
TEST(MpcFile, CutAtEveryLength) {
    Sv7Fields sv7;
    sv7.frames = 2000;
    sv7.profileNibble = 10;
    sv7.rateIndex = 1;
    sv7.midSide = true;
    const Bytes sv7Bytes = BuildSv7Header(sv7);
    for (std::size_t size = 0; size <= sv7Bytes.size(); ++size) {
        const MpcHeader h = HeaderOf(Bytes(sv7Bytes.begin(), sv7Bytes.begin() + size));
        SCOPED_TRACE(testing::Message() << "version 7 cut at " << size);
        EXPECT_EQ(h.fileSize, static_cast<std::int64_t>(size));
        EXPECT_EQ(h.streamVersion, size < 4 ? 0u : 7u);
        EXPECT_EQ(h.frameCount, size < 8 ? 0u : 2000u);
        EXPECT_EQ(h.profile, size < 12 ? 6u : 2u);
        EXPECT_EQ(h.sampleRate, size < 12 ? 44100 : 48000);
        EXPECT_EQ(h.midSide, size == 12);
        EXPECT_EQ(h.durationMs, size < 8 ? 0u : size < 12 ? 52245u : 48000u);
    }

    OldStreamFields old;
    old.version = 5;
    old.bitrate = 128;
    old.frames = 2001;
    const Bytes oldBytes = BuildOldStreamHeader(old);
    for (std::size_t size = 0; size <= oldBytes.size(); ++size) {
        const MpcHeader h = HeaderOf(Bytes(oldBytes.begin(), oldBytes.begin() + size));
        SCOPED_TRACE(testing::Message() << "version 5 cut at " << size);
        EXPECT_EQ(h.streamVersion, size < 4 ? 0u : 5u);
        EXPECT_EQ(h.bitrate, size < 4 ? 0u : 128u);
        EXPECT_EQ(h.frameCount, size < 8 ? 0u : 2000u);
    }

    Sv8Fields sv8;
    sv8.samples = 132300;
    sv8.quality = 5.0;
    const Bytes sv8Bytes = BuildSv8Stream(sv8, 20);
    // "MPCK", then the 14-byte stream header, the 12-byte replay gain and the 7-byte info.
    const std::size_t headerEnd = 4 + 14;
    const std::size_t infoEnd = headerEnd + 12 + 7;
    for (std::size_t size = 0; size <= sv8Bytes.size(); ++size) {
        const Bytes cut(sv8Bytes.begin(), sv8Bytes.begin() + size);
        const MpcHeader h = HeaderOf(cut);
        const Mp3Info record = RecordOf(cut);
        SCOPED_TRACE(testing::Message() << "version 8 cut at " << size);
        EXPECT_EQ(h.streamVersion, size < 4 ? 0u : 8u);
        EXPECT_EQ(h.frameCount, size < headerEnd ? 0u : 115u);
        EXPECT_EQ(h.durationMs, size < headerEnd ? 0u : 3000u);
        EXPECT_EQ(h.profile, size < infoEnd ? 6u : 2u);
        EXPECT_EQ(record.avgBitrate, size < headerEnd ? 0 : static_cast<int>(size * 8 / 3000));
    }
}

}  // namespace
}  // namespace vornik
