// SPDX-License-Identifier: GPL-3.0-or-later
#include "gapless.h"

#include <cstdio>
#include <string>

#include "frame_header.h"

namespace vornik {
namespace {

constexpr std::uint32_t kXingFramesFlag = 0x01;

// The frames after the tag frame: the walk's count once it reached the end, else the count the
// Xing header declares (which lame and FFmpeg write without the tag frame itself).
std::int64_t AudioFrames(const Mp3Info& r) {
    if (r.scanComplete) {
        return r.decodedFrames;
    }
    return (r.xingFlags & kXingFramesFlag) != 0 ? std::int64_t{r.xingFrames} : -1;
}

std::string MillisecondClock(std::int64_t milliseconds) {
    const std::int64_t seconds = milliseconds / 1000;
    char text[48];
    std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld.%03lld",
                  static_cast<long long>(seconds / 3600), static_cast<long long>(seconds / 60 % 60),
                  static_cast<long long>(seconds % 60),
                  static_cast<long long>(milliseconds % 1000));
    return text;
}

}  // namespace

GaplessFigures GaplessOf(const Mp3Info& r) {
    GaplessFigures figures;
    if (!r.lameTagValid || !r.hasXing) {
        return figures;
    }
    figures.known = true;
    // Two 12-bit numbers in three bytes: delay, then padding.
    figures.delay = r.lameDelays[0] << 4 | r.lameDelays[1] >> 4;
    figures.padding = (r.lameDelays[1] & 0x0F) << 8 | r.lameDelays[2];
    const std::int64_t frames = AudioFrames(r);
    if (frames >= 0) {
        const std::int64_t samples =
            frames * SamplesPerFrame(r.layer, r.mpeg1) - figures.delay - figures.padding;
        figures.samples = samples < 0 ? 0 : samples;
    }
    return figures;
}

void FillGaplessTexts(AttributeTexts& t, const Mp3Info& r) {
    const GaplessFigures figures = GaplessOf(r);
    if (!figures.known) {
        return;
    }
    t[kSlotEncoderDelay] = std::to_string(figures.delay);
    t[kSlotEncoderPadding] = std::to_string(figures.padding);
    if (figures.samples >= 0 && r.sampleRate > 0) {
        // To the nearest millisecond.
        t[kSlotExactLength] =
            MillisecondClock((figures.samples * 1000 + r.sampleRate / 2) / r.sampleRate);
    }
}

}  // namespace vornik
