// SPDX-License-Identifier: GPL-3.0-or-later
// ReplayGain figures from wherever a file keeps them: ID3v2 TXXX frames, an APE tag or the
// gains lame computed into its tag.
#pragma once

#include <string>

#include "attribute_texts.h"
#include "mp3_info.h"

namespace vornik {

struct GainReading {
    bool present = false;
    double value = 0;    // dB for gains, linear amplitude (1.0 full scale) for the peak
    std::string source;  // "ID3v2", "APEv2", "APEv1" or "Lame tag" with its originator
};

struct ReplayGainReadings {
    GainReading trackGain;
    GainReading trackPeak;
    GainReading albumGain;
};

// Each figure from the first place that has it: ID3v2, then APE (written after encoding, by
// the tools that scan the music), then the Lame tag.
ReplayGainReadings ReplayGainOf(const Mp3Info& record);

// "Track Gain", "Track Peak" and "Album Gain" as "-6.50 dB (ID3v2)" and "0.988235 (APEv2)".
void FillReplayGainTexts(AttributeTexts& texts, const Mp3Info& record);

}  // namespace vornik
