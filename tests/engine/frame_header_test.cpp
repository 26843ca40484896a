// SPDX-License-Identifier: GPL-3.0-or-later
#include "frame_header.h"

#include <gtest/gtest.h>

#include "mp3_info.h"
#include "stream_builder.h"

namespace vornik {
namespace {

using test::FrameShape;
using test::Version;

struct LengthCase {
    const char* name;
    std::uint32_t header;
    std::uint32_t length;
    int layer;
    int sampleRate;
    int channels;
};

TEST(DecodeHeader, KnownHeaders) {
    const LengthCase cases[] = {
        {"MPEG-1 Layer III 128 kbps 44.1 kHz joint", 0xFFFB9064, 417, 3, 44100, 2},
        {"same with padding", 0xFFFB9264, 418, 3, 44100, 2},
        {"MPEG-2 Layer III 64 kbps 22.05 kHz", 0xFFF38000, 208, 3, 22050, 2},
        {"MPEG 2.5 Layer III 8 kbps 8 kHz mono", 0xFFE318C0, 72, 3, 8000, 1},
        {"free format counts as 128 kbps", 0xFFFB0064, 417, 3, 44100, 2},
        // Layer I is counted in 4-byte slots: (12 * 384000 / 44100) * 4.
        {"MPEG-1 Layer I 384 kbps 44.1 kHz", 0xFFFFC000, 416, 1, 44100, 2},
        {"MPEG-2 Layer II 64 kbps 24 kHz", 0xFFF58400, 384, 2, 24000, 2},
        {"reserved version: MPEG-1 rows, MPEG 2.5 rates", 0xFFEB9000, 1671, 3, 11025, 2},
    };
    for (const LengthCase& c : cases) {
        FrameHeader h;
        EXPECT_EQ(DecodeHeader(c.header, h), c.length) << c.name;
        EXPECT_EQ(h.layer, c.layer) << c.name;
        EXPECT_EQ(h.sampleRate, c.sampleRate) << c.name;
        EXPECT_EQ(h.channels, c.channels) << c.name;
    }
}

TEST(DecodeHeader, RejectsInvalidAndLeavesOutputUnchanged) {
    const std::uint32_t invalid[] = {
        0xFFF99064,  // layer code 0
        0xFFFBF064,  // bitrate index 15
        0xFFFB9C64,  // sampling index 3
        0xFFDB9064,  // sync bit missing
        0xFFFFFFFF,  // what four reads at the end of a file give
        0x00000000,
    };
    for (const std::uint32_t word : invalid) {
        FrameHeader h;
        h.layer = 42;
        EXPECT_EQ(DecodeHeader(word, h), 0u) << std::hex << word;
        EXPECT_EQ(h.layer, 42);
    }
}

TEST(DecodeHeader, FieldsOfEveryBit) {
    FrameHeader h;
    // MPEG-1 Layer III, CRC, 128 kbps, 48 kHz, padding, dual channel, ext 3, copyright,
    // original, emphasis 3.
    ASSERT_NE(DecodeHeader(0xFFFA96BF, h), 0u);
    EXPECT_EQ(h.mpeg1, 1);
    EXPECT_EQ(h.notMpeg25, 1);
    EXPECT_EQ(h.protectionBit, 0);
    EXPECT_EQ(h.bitrateIndex, 9);
    EXPECT_EQ(h.sampleRate, 48000);
    EXPECT_EQ(h.padding, 1);
    EXPECT_EQ(h.mode, 2);
    EXPECT_EQ(h.modeExtension, 3);
    EXPECT_EQ(h.copyright, 1);
    EXPECT_EQ(h.original, 1);
    EXPECT_EQ(h.emphasis, 3);
}

// Every valid combination against the standards' length formulas in the stream builder.
TEST(DecodeHeader, LengthsFollowTheStandardsForEveryLayerAndVersion) {
    const struct {
        Version version;
        std::array<int, 3> rates;
    } versions[] = {{Version::Mpeg1, {44100, 48000, 32000}},
                    {Version::Mpeg2, {22050, 24000, 16000}},
                    {Version::Mpeg25, {11025, 12000, 8000}}};
    for (const auto& v : versions) {
        for (int layer = 1; layer <= 3; ++layer) {
            for (int index = 1; index <= 14; ++index) {
                const bool mpeg1 = v.version == Version::Mpeg1;
                for (const int rate : v.rates) {
                    for (const bool padding : {false, true}) {
                        FrameShape shape;
                        shape.version = v.version;
                        shape.layer = layer;
                        shape.kbps = BitrateKbps(layer, mpeg1, index);
                        shape.sampleRate = rate;
                        shape.padding = padding;
                        FrameHeader h;
                        EXPECT_EQ(DecodeHeader(test::HeaderWord(shape), h),
                                  test::StandardFrameLength(shape))
                            << "layer " << layer << " index " << index << " rate " << rate;
                        EXPECT_EQ(h.bitrateIndex, index);
                    }
                }
            }
        }
    }
}

TEST(SamplesPerFrame, ByLayerAndVersion) {
    EXPECT_EQ(SamplesPerFrame(1, true), 384);
    EXPECT_EQ(SamplesPerFrame(1, false), 384);
    EXPECT_EQ(SamplesPerFrame(2, true), 1152);
    EXPECT_EQ(SamplesPerFrame(2, false), 1152);
    EXPECT_EQ(SamplesPerFrame(3, true), 1152);
    EXPECT_EQ(SamplesPerFrame(3, false), 576);
}

TEST(BitrateKbps, EdgesOfTheRows) {
    EXPECT_EQ(BitrateKbps(1, true, 14), 448);
    EXPECT_EQ(BitrateKbps(2, true, 1), 32);
    EXPECT_EQ(BitrateKbps(3, true, 14), 320);
    EXPECT_EQ(BitrateKbps(1, false, 14), 256);
    EXPECT_EQ(BitrateKbps(2, false, 1), 8);
    EXPECT_EQ(BitrateKbps(3, false, 14), 160);
    EXPECT_EQ(BitrateKbps(3, false, 0), 128);
    EXPECT_EQ(BitrateKbps(3, true, 15), 0);
}

TEST(CheckFrame, ChecksInOrderAndTakesOverChanges) {
    Mp3Info record{};
    record.layer = 3;
    record.channels = 2;
    record.sampleRate = 44100;
    FrameHeader h;
    h.layer = 2;
    h.channels = 1;
    h.sampleRate = 48000;
    h.bitrateIndex = 0;
    EXPECT_EQ(CheckFrame(record, h), kLayerError);
    EXPECT_EQ(record.channels, 2);

    h.layer = 3;
    EXPECT_EQ(CheckFrame(record, h), kChannelModeError);
    EXPECT_EQ(record.channels, 1);  // from now on one channel is expected
    EXPECT_EQ(CheckFrame(record, h), kFrequencyError);
    EXPECT_EQ(record.sampleRate, 48000);
    EXPECT_EQ(CheckFrame(record, h), kFreeFormatFrame);
    h.bitrateIndex = 9;
    EXPECT_EQ(CheckFrame(record, h), "");
}

}  // namespace
}  // namespace vornik
