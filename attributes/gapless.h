// SPDX-License-Identifier: GPL-3.0-or-later
// Gapless playback figures: what the encoder added before and after the music, from the
// delay field of a Lame or FFmpeg tag.
#pragma once

#include <cstdint>

#include "attribute_texts.h"
#include "mp3_info.h"

namespace vornik {

struct GaplessFigures {
    bool known = false;  // a valid Lame or FFmpeg tag holds the delay field
    int delay = 0;       // samples added before the music
    int padding = 0;     // samples added after it
    // Samples of music: frames times samples per frame, less delay and padding; -1 when the
    // number of frames is unknown (an incomplete walk and no Xing frame count).
    std::int64_t samples = -1;
};

GaplessFigures GaplessOf(const Mp3Info& record);

// "Encoder Delay" and "Encoder Padding" in samples, "Exact Length" as hh:mm:ss.mmm; empty
// when the file has no such figures.
void FillGaplessTexts(AttributeTexts& texts, const Mp3Info& record);

}  // namespace vornik
