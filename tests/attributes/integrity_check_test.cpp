// SPDX-License-Identifier: GPL-3.0-or-later
#include "integrity_check.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vornik {
namespace {

// A walked record whose stream runs from byte 100 to the tags at byte 5100.
Mp3Info Sound() {
    Mp3Info r{};
    r.scanComplete = true;
    r.lastFrameOk = true;
    r.fileSize = 5228;
    r.audioStart = 100;
    r.audioEnd = 5100;
    r.endTagsStart = 5100;
    r.frameCount = 40;
    r.decodedFrames = 40;
    return r;
}

TEST(IntegrityCheck, FindingsInTheOrderOfTheBytes) {
    EXPECT_EQ(IntegrityVerdict(Sound()), "OK");

    Mp3Info r = Sound();
    r.leadingJunk = 1;
    r.syncErrors = 7;
    r.syncErrorTimes.Edit() = {61250, 1000, 2000, 3000, 4000, 5000};
    r.crcFrames = 40;
    r.crcErrors = 1;
    r.crcErrorTimes.Edit()[0] = 999;
    r.hasXing = true;
    r.xingFlags = 0x03;
    r.xingFrames = 43;
    r.xingBytes = 5000;
    r.audioEnd = 5090;  // ten bytes short of the tags
    EXPECT_EQ(IntegrityFindings(r),
              (std::vector<std::string>{
                  "1 byte of junk before the first frame",
                  "7 sync errors at 1:01.250, 0:01.000, 0:02.000, 0:03.000, 0:04.000 and 2 more",
                  "1 frame of 40 failing their CRC at 0:00.999",
                  "Xing header counts 43 frames, the stream has 40",
                  "Xing header counts 5000 bytes, the stream has 4990",
                  "10 bytes of unknown data after the last frame"}));

    // A cut-short last frame runs past the end; the bytes it leaves are no unknown data.
    r = Sound();
    r.lastFrameOk = false;
    r.audioEnd = 5300;
    EXPECT_EQ(IntegrityVerdict(r), "last frame cut short");

    // The music CRC counts only once it was computed.
    r = Sound();
    r.lameTagValid = true;
    EXPECT_EQ(IntegrityVerdict(r), "OK");
    r.musicCrcDone = true;
    EXPECT_EQ(IntegrityVerdict(r), "music CRC does not match the Lame tag");

    // A VBRI count may or may not take in its own frame.
    r = Sound();
    r.hasVbri = true;
    r.vbriBytes = 5000;
    for (const std::uint32_t frames : {40u, 41u}) {
        r.vbriFrames = frames;
        EXPECT_EQ(IntegrityVerdict(r), "OK") << frames;
    }
    r.vbriFrames = 43;
    EXPECT_EQ(IntegrityVerdict(r), "VBRI header counts 43 frames, the stream has 41");
}

// LAME counts the frames after its tag frame, some repair tools the tag frame too: both are
// sound; only a count that fits neither is a finding.
TEST(IntegrityCheck, XingFrameCountsOfEitherConvention) {
    const struct {
        std::uint32_t counted;
        const char* counting;
        bool sound;
    } cases[] = {{40, "without its own frame", true},
                 {41, "with its own frame", true},
                 {39, "neither", false},
                 {42, "neither", false}};
    for (const auto& c : cases) {
        Mp3Info r = Sound();
        r.hasXing = true;
        r.xingFlags = 0x01;
        r.xingFrames = c.counted;
        EXPECT_EQ(XingFrameCounting(r), c.counting) << c.counted;
        EXPECT_EQ(IntegrityFindings(r).empty(), c.sound) << c.counted;
    }
    Mp3Info budgeted = Sound();
    budgeted.hasXing = true;
    budgeted.xingFlags = 0x01;
    budgeted.scanComplete = false;
    EXPECT_EQ(XingFrameCounting(budgeted), "");
}

}  // namespace
}  // namespace vornik
