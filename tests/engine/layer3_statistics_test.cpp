// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "mp3_file.h"
#include "scan_helpers.h"
#include "stream_builder.h"

namespace vornik {
namespace {

using test::FrameShape;
using test::GranuleShape;
using test::ScanBytes;
using test::StreamBuilder;
using test::Version;

GranuleShape Switched(int blockType, bool mixed = false) {
    GranuleShape g;
    g.windowSwitching = true;
    g.blockType = blockType;
    g.mixed = mixed;
    return g;
}

TEST(Layer3Statistics, CrcWordShiftsTheSideInformation) {
    for (const bool crc : {false, true}) {
        FrameShape shape;
        shape.crc = crc;
        shape.mainDataBegin = 300;
        shape.granules = {Switched(2)};
        const auto scan = ScanBytes(StreamBuilder().frames(shape, 10).data());
        EXPECT_EQ(scan.record.maxMainDataBegin, 300) << crc;
        EXPECT_EQ(scan.record.shortBlocks, 9u) << crc;
    }
}

TEST(Layer3Statistics, StereoLongBlocksCountPerGranuleAndChannel) {
    const auto scan = ScanBytes(StreamBuilder().frames({}, 21).data());
    EXPECT_EQ(scan.record.longBlocks, 4u * 20);
    EXPECT_EQ(scan.record.shortBlocks + scan.record.mixedBlocks, 0u);
    EXPECT_EQ(scan.record.stereoModeHist[0], 20u);
    EXPECT_FALSE(scan.record.paddingUsed);
    EXPECT_FALSE(scan.record.scfsiUsed);
}

TEST(Layer3Statistics, JointStereoKindsByModeExtension) {
    FrameShape ms;
    ms.mode = 1;
    ms.modeExtension = 2;
    FrameShape plain = ms;
    plain.modeExtension = 0;
    StreamBuilder builder;
    builder.frame(plain);
    for (int i = 0; i < 10; ++i) {
        builder.frame(ms).frame(plain);
    }
    const auto scan = ScanBytes(builder.data());
    EXPECT_EQ(scan.record.stereoModeHist[2], 10u);
    EXPECT_EQ(scan.record.stereoModeHist[0], 10u);
}

TEST(Layer3Statistics, BlockKindsAndTheirSeries) {
    FrameShape shape;
    // Only the first granule-channel switches, to short blocks; the rest are long.
    shape.granules = {Switched(2), {}, {}, {}};
    shape.granules[3].bigValues = 77;
    shape.granules[3].scalefacScale = true;
    FrameShape mixed;
    mixed.granules = {Switched(1), Switched(2, true), Switched(3), {}};
    FrameSeries series;
    const auto scan =
        ScanBytes(StreamBuilder().frame({}).frame(shape).frame(mixed).frames({}, 5).data(), true,
                  -1, &series);
    ASSERT_EQ(series.blockKinds.size(), 7u);
    EXPECT_EQ(series.blockKinds[0], 1u);
    EXPECT_EQ(series.shortBigValues[0], 77u);  // the frame's last big_values
    EXPECT_EQ(series.scalefacScaleFlags[0], 1u);
    EXPECT_EQ(series.blockKinds[1], 0u);  // a stop block after the mixed one
    EXPECT_EQ(series.shortBigValues[1], 0u);
    EXPECT_EQ(series.blockKinds[2], 0u);
    EXPECT_EQ(scan.record.shortBlocks, 1u);
    EXPECT_EQ(scan.record.mixedBlocks, 1u);
    EXPECT_EQ(scan.record.longBlocks, 7u * 4 - 2);
    EXPECT_EQ(scan.record.scalefacScaleCount, 1u);
    // Positions are taken before the end check, so the end of the audio is the last one.
    EXPECT_EQ(series.framePositions.size(), 8u);
    EXPECT_EQ(series.framePositions[7], 8 * 417);
    EXPECT_EQ(series.framePositions[0], 417);
    EXPECT_EQ(series.bitrateIndices[0], 9u);
}

TEST(Layer3Statistics, PrivateBitsAndScfsiByVersionAndChannels) {
    const struct {
        Version version;
        int mode;
        int sampleRate;
        int kbps;
        std::uint32_t scfsi;
        std::uint32_t blocksPerFrame;
    } cases[] = {
        {Version::Mpeg1, 3, 44100, 128, 0x5, 2}, {Version::Mpeg1, 0, 44100, 128, 0x1, 4},
        {Version::Mpeg2, 3, 22050, 64, 0, 1},    {Version::Mpeg2, 0, 22050, 64, 0, 2},
        {Version::Mpeg25, 3, 11025, 32, 0, 1},
    };
    for (const auto& c : cases) {
        FrameShape shape;
        shape.version = c.version;
        shape.mode = c.mode;
        shape.sampleRate = c.sampleRate;
        shape.kbps = c.kbps;
        shape.mainDataBegin = 200;
        shape.scfsi = c.scfsi;
        // Every granule-channel short with scalefac_scale: misplaced fields would show.
        for (int i = 0; i < 4; ++i) {
            shape.granules.push_back(Switched(2));
            shape.granules.back().scalefacScale = true;
        }
        const auto scan = ScanBytes(StreamBuilder().frames(shape, 11).data());
        EXPECT_EQ(scan.record.maxMainDataBegin, 200);
        EXPECT_EQ(scan.record.shortBlocks, 10 * c.blocksPerFrame);
        EXPECT_EQ(scan.record.longBlocks, 0u);
        EXPECT_EQ(scan.record.scalefacScaleCount, 10 * c.blocksPerFrame);
        EXPECT_EQ(scan.record.scfsiUsed, c.scfsi != 0);
    }
}

TEST(Layer3Statistics, MainDataBeginAverageAndPadding) {
    FrameShape low;
    low.mainDataBegin = 10;
    FrameShape high;
    high.mainDataBegin = 30;
    high.padding = true;
    const auto scan =
        ScanBytes(StreamBuilder().frame({}).frame(low).frame(high).frames(low, 3).data());
    EXPECT_EQ(scan.record.sumMainDataBegin, 10u + 30 + 10 + 10 + 10);
    EXPECT_EQ(scan.record.maxMainDataBegin, 30);
    EXPECT_EQ(scan.record.avgMainDataBegin, 70u / 5);
    EXPECT_TRUE(scan.record.paddingUsed);
}

// Layers I and II count in the header statistics only: their side information has another
// layout.
TEST(Layer3Statistics, OtherLayersCountHeadersOnly) {
    for (const int layer : {1, 2}) {
        FrameShape shape;
        shape.layer = layer;
        shape.kbps = layer == 1 ? 384 : 192;
        shape.mode = 1;
        shape.modeExtension = 3;
        shape.padding = true;
        FrameSeries series;
        const auto scan = ScanBytes(StreamBuilder().frames(shape, 11).data(), true, -1, &series);
        EXPECT_EQ(scan.error, "");
        EXPECT_EQ(scan.record.layer, layer);
        EXPECT_EQ(scan.record.frameCount, 10);
        EXPECT_EQ(scan.record.stereoModeHist[3], 10u);
        EXPECT_TRUE(scan.record.paddingUsed);
        EXPECT_EQ(scan.record.longBlocks + scan.record.shortBlocks + scan.record.mixedBlocks, 0u);
        EXPECT_EQ(scan.record.sumMainDataBegin, 0u);
        EXPECT_EQ(scan.record.scalefacScaleCount, 0u);
        ASSERT_EQ(series.mainDataBegins.size(), 10u);
        EXPECT_EQ(series.mainDataBegins[0], 0u);
        EXPECT_EQ(series.modeExtensions[0], 3u);
    }
}

TEST(Layer3Statistics, ResynchronisedFrameHasNoPosition) {
    FrameSeries series;
    const auto bytes = StreamBuilder().frames({}, 6).junk(300).frames({}, 6).data();
    const auto scan = ScanBytes(bytes, true, -1, &series);
    EXPECT_EQ(scan.record.frameCount, 12);
    // Eleven frames decode; the junk has a position, the frame found after it has none, and the
    // end of the audio has one.
    EXPECT_EQ(series.bitrateIndices.size(), 11u);
    EXPECT_EQ(series.framePositions.size(), 12u);
    EXPECT_EQ(series.framePositions[5], 6 * 417);
    EXPECT_EQ(series.framePositions[6], 6 * 417 + 300 + 417);
}

}  // namespace
}  // namespace vornik
