// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "crc16.h"
#include "mp3_file.h"
#include "scan_helpers.h"
#include "stream_builder.h"
#include "vbr_builders.h"
#include "vbr_headers.h"

namespace vornik {
namespace {

using test::FrameShape;
using test::LameTagShape;
using test::ScanBytes;
using test::StreamBuilder;
using test::XingShape;

std::vector<std::uint8_t> XingFile(const XingShape& xing, const FrameShape& frame = {}) {
    return StreamBuilder().bytes(test::BuildXingFrame(frame, xing)).frames(frame, 20).data();
}

TEST(Crc16Arc, CheckValue) {
    const std::string digits = "123456789";
    EXPECT_EQ(Crc16Arc(std::span(reinterpret_cast<const std::uint8_t*>(digits.data()), 9)), 0xBB3D);
    // Carried across blocks.
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(digits.data());
    EXPECT_EQ(Crc16Arc(std::span(bytes + 4, 5), Crc16Arc(std::span(bytes, 4))), 0xBB3D);
}

TEST(Xing, EveryFlagCombination) {
    for (std::uint32_t flags = 0; flags < 16; ++flags) {
        XingShape xing;
        xing.flags = flags;
        xing.frames = 1234;
        xing.bytes = 567890;
        xing.scale = 78;
        xing.encoderText = "ABCD";
        Mp3Info record{};
        CMp3File file;
        const test::TempFile path(XingFile(xing));
        ASSERT_TRUE(file.Open(path.path()));
        file.ProcessFrames(false, record, -1, nullptr, nullptr);
        EXPECT_TRUE(record.hasXing) << flags;
        EXPECT_EQ(record.xingFlags, flags);
        EXPECT_EQ(record.xingFrames, (flags & 1) != 0 ? 1234u : 0u) << flags;
        EXPECT_EQ(record.xingBytes, (flags & 2) != 0 ? 567890u : 0u) << flags;
        EXPECT_EQ(record.hasXingToc, (flags & 4) != 0) << flags;
        EXPECT_EQ(record.xingToc[99], (flags & 4) != 0 ? 7 : 0) << flags;
        EXPECT_EQ(record.xingVbrScale, (flags & 8) != 0 ? 78 : -1) << flags;
        EXPECT_EQ(record.lameVersion, "ABCD") << flags;
        EXPECT_EQ(record.xingMpeg1, 1u);
        EXPECT_EQ(record.xingSampleRate, 44100);
    }
}

TEST(Xing, InfoReadsLikeXingAndOtherVersionsUseTheirOffsets) {
    FrameShape mono;
    mono.mode = 3;
    FrameShape mpeg2;
    mpeg2.version = test::Version::Mpeg2;
    mpeg2.sampleRate = 24000;
    mpeg2.kbps = 64;
    FrameShape mpeg2Mono = mpeg2;
    mpeg2Mono.mode = 3;
    for (const FrameShape& frame : {FrameShape{}, mono, mpeg2, mpeg2Mono}) {
        XingShape xing;
        xing.info = true;
        xing.frames = 20;
        const auto scan = ScanBytes(XingFile(xing, frame), false);
        EXPECT_TRUE(scan.record.hasXing) << test::TagOffset(frame);
        EXPECT_EQ(scan.record.xingFrames, 20u);
    }
    const auto scan = ScanBytes(XingFile({}, mpeg2), false);
    EXPECT_EQ(scan.record.xingMpeg1, 0u);
    EXPECT_EQ(scan.record.xingSampleRate, 24000);
}

TEST(Xing, FoundOutsideTheTagOffsetOrTooFarIsNotRead) {
    // "Xing" four bytes after where a joint-stereo MPEG-1 frame has it.
    auto misplaced = StreamBuilder().frames({}, 20).data();
    std::copy_n("Xing", 4, misplaced.begin() + 40);
    EXPECT_FALSE(ScanBytes(misplaced, false).record.hasXing);

    // In a later frame, 1900 bytes after the first frame's start.
    auto far = StreamBuilder().frames({}, 20).data();
    std::copy_n("Xing", 4, far.begin() + 1900);
    EXPECT_FALSE(ScanBytes(far, false).record.hasXing);
}

TEST(Xing, AudioStartIsTheTagFrame) {
    const auto bytes =
        StreamBuilder().id3v2(100).bytes(test::BuildXingFrame({}, {})).frames({}, 9).data();
    const auto scan = ScanBytes(bytes);
    EXPECT_EQ(scan.record.audioStart, 110);
    EXPECT_EQ(scan.record.frameCount, 9);
}

TEST(LameTag, FieldsAndAValidTagCrc) {
    LameTagShape lame;
    lame.version = "LAME3.90a";
    lame.revision = 1;
    lame.vbrMethod = 3;
    lame.lowpass = 0xA0;
    lame.encFlags = 0xB;
    lame.athType = 5;
    lame.abrBitrate = 192;
    lame.misc = 0b10'1'011'01;  // source 2, unwise, stereo mode 3, noise shaping 1
    lame.presetLow = 0x42;
    lame.musicLength = 123456;
    lame.musicCrc = 0xBEEF;
    XingShape xing;
    xing.lame = lame;
    const auto scan = ScanBytes(XingFile(xing), false);
    const Mp3Info& r = scan.record;
    EXPECT_TRUE(r.lameTagValid);
    EXPECT_EQ(r.lameVersion, "LAME3.90a");
    EXPECT_EQ(r.signatureText, "Lame 3.90 (alpha)");
    EXPECT_EQ(r.lameRevision, 1);
    EXPECT_EQ(r.lameVbrMethod, 3);
    EXPECT_EQ(r.lameLowpass, 16000u);
    EXPECT_EQ(r.lameEncFlags, 0xB);
    EXPECT_EQ(r.lameAthType, 5);
    EXPECT_EQ(r.lameAbrBitrate, 192);
    EXPECT_EQ(r.lameNoiseShaping, 1);
    EXPECT_EQ(r.lameStereoMode, 3);
    EXPECT_EQ(r.lameUnwise, 1u);
    EXPECT_EQ(r.lameSourceFreq, 2);
    EXPECT_EQ(r.lamePresetLow, 0x42);
    EXPECT_EQ(r.lameMusicLength, 123456u);
    EXPECT_EQ(r.lameMusicCrc, 0xBEEF);
    EXPECT_EQ(r.lameDelays, (std::array<std::uint8_t, 3>{0x24, 0x03, 0x18}));
    EXPECT_EQ(r.lameGainPreset, (std::array<std::uint8_t, 2>{0, 0x01}));
    EXPECT_EQ(r.lamePeak, (std::array<std::uint8_t, 4>{0, 0x80, 0, 0}));
    EXPECT_EQ(r.lameReplayGain, (std::array<std::uint8_t, 4>{0x2C, 0x3F, 0, 0}));
}

TEST(LameTag, BrokenTagCrcKeepsElevenCharacters) {
    LameTagShape lame;
    lame.version = "LAME3.88 ";
    lame.revision = 0;
    lame.vbrMethod = 2;  // byte 9: 0x02; the eleventh character is the lowpass byte
    lame.lowpass = 'b';
    lame.breakTagCrc = true;
    XingShape xing;
    xing.lame = lame;
    const auto scan = ScanBytes(XingFile(xing), false);
    EXPECT_FALSE(scan.record.lameTagValid);
    EXPECT_EQ(scan.record.lameVersion, std::string("LAME3.88 \x02") + "b");
}

TEST(LameTag, VbrMethodAboveFiveIsZero) {
    LameTagShape lame;
    lame.vbrMethod = 7;
    XingShape xing;
    xing.lame = lame;
    EXPECT_EQ(ScanBytes(XingFile(xing), false).record.lameVbrMethod, 0);
}

TEST(LameTag, FfmpegWritesTheLameLayout) {
    LameTagShape lame;
    lame.version = "Lavc59.37";
    XingShape xing;
    xing.info = true;
    xing.lame = lame;
    const auto scan = ScanBytes(XingFile(xing), false);
    EXPECT_TRUE(scan.record.lameTagValid);
    EXPECT_EQ(scan.record.signatureText, "FFmpeg (Lavc59.37)");
}

// Bytes of a first frame cut short: what was read is used, the rest stays absent, and nothing
// outside the bytes is touched (the sanitizer build checks the last part).
TEST(LameTag, CutShortAtEveryLength) {
    XingShape xing;
    xing.lame = LameTagShape{};
    const auto frame = test::BuildXingFrame({}, xing);
    const std::size_t tagPosition = test::LameTagPosition({}, xing);
    for (std::size_t size = 0; size <= tagPosition + 40; ++size) {
        const std::vector<std::uint8_t> cut(frame.begin(), frame.begin() + static_cast<long>(size));
        Mp3Info record{};
        const int found = ParseXing(record, cut, 0);
        EXPECT_EQ(found, size >= 36 + 4 ? 1 : 0) << size;
        EXPECT_EQ(record.lameTagValid, size >= tagPosition + 36) << size;
        EXPECT_EQ(record.lameMusicCrc, 0) << size;  // the builder's music CRC is 0
        const std::size_t versionLength = size < tagPosition + 4 ? 0
                                          : size >= tagPosition + 36
                                              ? 9
                                              : std::min<std::size_t>(11, size - tagPosition);
        EXPECT_EQ(record.lameVersion.size(), versionLength) << size;
    }
}

TEST(Vbri, WordsAndTable) {
    FrameShape mpeg2;
    mpeg2.version = test::Version::Mpeg2;
    mpeg2.sampleRate = 22050;
    mpeg2.kbps = 64;
    test::VbriShape vbri;
    vbri.frames = 999;
    vbri.bytes = 88888;
    const auto bytes =
        StreamBuilder().bytes(test::BuildVbriFrame(mpeg2, vbri)).frames(mpeg2, 10).data();
    const auto scan = ScanBytes(bytes, false);
    EXPECT_TRUE(scan.record.hasVbri);
    EXPECT_EQ(scan.record.vbriFrames, 999u);
    EXPECT_EQ(scan.record.vbriBytes, 88888u);
    EXPECT_EQ(scan.record.vbriScale, 75);
    EXPECT_EQ(scan.record.vbriUnknown2, 0x0A31);
    EXPECT_EQ(scan.record.vbriFramesPerEntry, 1);
    EXPECT_EQ(scan.record.vbriToc[2], 30);
    EXPECT_EQ(scan.record.signatureText, "FhG (fastenc)");

    vbri.tocSize = 600;
    const auto big = ScanBytes(
        StreamBuilder().bytes(test::BuildVbriFrame(mpeg2, vbri)).frames(mpeg2, 10).data(), false);
    EXPECT_EQ(big.record.vbriTocSize, 600);
    EXPECT_TRUE(big.record.vbriToc.empty());
}

TEST(Vbri, TableNeverReadBeyondTheBytesRead) {
    FrameShape mono;
    mono.mode = 3;
    mono.kbps = 320;
    test::VbriShape vbri;
    vbri.tocSize = 511;  // claims 1022 bytes that the file does not have
    vbri.toc.assign(10, 0x1111);
    const auto frame = test::BuildVbriFrame(mono, vbri);
    auto bytes = StreamBuilder().bytes(frame).frames(mono, 5).data();
    bytes.resize(frame.size() + 4 * 1045 + 10);
    const auto scan = ScanBytes(bytes, false);
    EXPECT_TRUE(scan.record.hasVbri);
    ASSERT_GE(scan.record.vbriToc.size(), 10u);
    EXPECT_EQ(scan.record.vbriToc[9], 0x1111);
}

struct AverageCase {
    const char* name;
    bool hasXing;
    std::uint32_t xingFrames;
    std::int32_t frameCount;
    bool scanComplete;
    double expected;
};

TEST(AverageBitrate, XingCountOnlyWhenItFitsTheWalk) {
    // 100 frames' worth of a 128 kbps stream: 1152 * 100 / 44100 s.
    const std::int64_t fileSize = 417 * 100;
    const double fromXing = fileSize * 8.0 / (1152.0 * 100 / 44100 * 1000);
    const AverageCase cases[] = {
        {"walk equals Xing count + 1", true, 99, 100, true, fromXing},
        {"limited walk below it", true, 99, 50, false, fromXing},
        {"complete walk below it", true, 99, 50, true, 160},
        {"walk beyond it", true, 99, 150, false, 160},
        {"no Xing", false, 99, 100, true, 160},
        {"count wraps to 0", true, 0xFFFFFFFF, 0, false, 160},
    };
    for (const AverageCase& c : cases) {
        Mp3Info record{};
        record.hasXing = c.hasXing;
        record.xingFrames = c.xingFrames;
        record.frameCount = c.frameCount;
        record.scanComplete = c.scanComplete;
        record.fileSize = fileSize;
        record.sampleRate = 44100;
        record.layer = 3;
        record.mpeg1 = true;
        record.bitrateHist[10] = 7;  // 160 kbps
        EXPECT_NEAR(AverageBitrate(record), c.expected, 1e-9) << c.name;
    }
}

}  // namespace
}  // namespace vornik
