// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <vector>

#include "frame_crc.h"
#include "frame_header.h"
#include "scan_helpers.h"
#include "stream_builder.h"

namespace vornik {
namespace {

using test::FrameShape;
using test::ScanBytes;
using test::StreamBuilder;
using test::Version;

struct ProtectedCase {
    const char* name;
    FrameShape shape;
    int layer12Bits;  // what ISO/IEC 11172-3 and 13818-3 protect for an all-zero allocation
};

FrameShape Shape(Version version, int layer, int kbps, int sampleRate, int mode, int ext = 0) {
    FrameShape shape;
    shape.version = version;
    shape.layer = layer;
    shape.kbps = kbps;
    shape.sampleRate = sampleRate;
    shape.mode = mode;
    shape.modeExtension = ext;
    shape.crc = true;
    return shape;
}

// The builder seals each frame with a bit-by-bit CRC over the bits the case names; the walk
// agrees only when it finds the same protected region.
TEST(FrameCrc, ProtectedRegionOfEveryLayoutPasses) {
    const std::vector<ProtectedCase> cases = {
        {"L3 MPEG-1 stereo", Shape(Version::Mpeg1, 3, 128, 44100, 0), 0},
        {"L3 MPEG-1 mono", Shape(Version::Mpeg1, 3, 64, 44100, 3), 0},
        {"L3 MPEG-2 joint", Shape(Version::Mpeg2, 3, 64, 22050, 1, 2), 0},
        {"L3 MPEG-2.5 mono", Shape(Version::Mpeg25, 3, 8, 8000, 3), 0},
        {"L1 stereo", Shape(Version::Mpeg1, 1, 384, 44100, 0), 4 * 64},
        {"L1 mono", Shape(Version::Mpeg1, 1, 192, 48000, 3), 4 * 32},
        {"L1 joint, bound 4", Shape(Version::Mpeg1, 1, 384, 44100, 1, 0), 4 * (8 + 28)},
        {"L2 B.2a at 48 kHz", Shape(Version::Mpeg1, 2, 192, 48000, 0), 2 * 88},
        {"L2 B.2a at 64 kbps/ch", Shape(Version::Mpeg1, 2, 128, 44100, 0), 2 * 88},
        {"L2 B.2b", Shape(Version::Mpeg1, 2, 256, 44100, 0), 2 * 94},
        {"L2 B.2c", Shape(Version::Mpeg1, 2, 64, 48000, 0), 2 * 26},
        {"L2 B.2d", Shape(Version::Mpeg1, 2, 64, 32000, 0), 2 * 38},
        {"L2 MPEG-2 mono", Shape(Version::Mpeg2, 2, 64, 24000, 3), 75},
        // Sub-bands 0-7 per channel, 8-26 once: 8 * 2 * 4 + (3 * 4 + 12 * 3 + 4 * 2).
        {"L2 joint, bound 8", Shape(Version::Mpeg1, 2, 128, 44100, 1, 1), 64 + 56},
    };
    for (const ProtectedCase& c : cases) {
        FrameShape shape = c.shape;
        shape.layer12ProtectedBits = c.layer12Bits;
        const auto scan = ScanBytes(StreamBuilder().frames(shape, 12).data());
        EXPECT_EQ(scan.record.crcFrames, 11) << c.name;
        EXPECT_EQ(scan.record.crcErrors, 0) << c.name;
    }
}

TEST(FrameCrc, EachFailureIsCountedWithItsTime) {
    FrameShape good = Shape(Version::Mpeg1, 3, 128, 44100, 1);
    FrameShape bad = good;
    bad.wrongCrc = true;
    StreamBuilder builder;
    builder.frames(good, 50).frame(bad).frames(good, 49).frame(bad).frames(good, 9);
    const auto scan = ScanBytes(builder.data());
    EXPECT_EQ(scan.record.crcFrames, 109);
    EXPECT_EQ(scan.record.crcErrors, 2);
    // Frames 50 and 100 of the file start at 50 and 100 times 1152 samples.
    EXPECT_EQ(scan.record.crcErrorTimes->at(0), 50u * 1152 * 1000 / 44100);
    EXPECT_EQ(scan.record.crcErrorTimes->at(1), 100u * 1152 * 1000 / 44100);
    EXPECT_EQ(scan.record.crcErrorTimes->at(2), 0u);
    // Nothing of the CRC changes the frames' other statistics.
    EXPECT_EQ(scan.record.syncErrors, 0);
}

TEST(FrameCrc, UnprotectedAndFreeFormatFramesAreNotChecked) {
    const auto plain = ScanBytes(StreamBuilder().frames({}, 10).data());
    EXPECT_EQ(plain.record.crcFrames, 0);

    // Layer II free format: no table can be chosen without the bitrate.
    FrameHeader h;
    ASSERT_NE(DecodeHeader(0xFFFC0400u, h), 0u);
    std::vector<std::uint8_t> frame(48, 0);
    EXPECT_EQ(ProtectedBits(h, frame), 0);
}

TEST(FrameCrc, Layer2ScfsiFollowsTheAllocation) {
    // MPEG-1 Layer II, 56 kbps mono at 48 kHz, protected: table B.2a, 27 sub-bands.
    FrameHeader h;
    ASSERT_NE(DecodeHeader(0xFFFC34C0u, h), 0u);
    ASSERT_EQ(h.layer, 2);
    ASSERT_EQ(h.channels, 1);
    std::vector<std::uint8_t> frame(48, 0);
    EXPECT_EQ(ProtectedBits(h, frame), 88);
    frame[6] = 0xF0;  // sub-band 0 allocated: its scfsi follows
    EXPECT_EQ(ProtectedBits(h, frame), 88 + 2);
    frame[6] = 0xFF;  // sub-band 1 too
    EXPECT_EQ(ProtectedBits(h, frame), 88 + 4);
}

TEST(FrameCrc, KnownVector) {
    // CRC-16 with polynomial 0x8005 from 0xFFFF, no reflection, over "123456789" is 0xAEE7;
    // the frame form starts its message at byte 2 and resumes at byte 6.
    std::vector<std::uint8_t> frame = {0, 0, '1', '2', 0, 0, '3', '4', '5', '6', '7', '8', '9'};
    EXPECT_EQ(ComputeFrameCrc(frame, 7 * 8), 0xAEE7);
    EXPECT_EQ(ComputeFrameCrc(frame, 7 * 8), test::ReferenceFrameCrc(frame, 7 * 8));
    EXPECT_EQ(ComputeFrameCrc(frame, 5), test::ReferenceFrameCrc(frame, 5));

    // Every length up to the longest protected part, four bytes at a time or not, and past the
    // bytes there are.
    std::vector<std::uint8_t> noise(45);
    for (std::size_t i = 0; i < noise.size(); ++i) {
        noise[i] = static_cast<std::uint8_t>(i * 151 + 7);
    }
    for (int bits = 0; bits <= 8 * 42; ++bits) {
        ASSERT_EQ(ComputeFrameCrc(noise, bits), test::ReferenceFrameCrc(noise, bits)) << bits;
    }
}

}  // namespace
}  // namespace vornik
