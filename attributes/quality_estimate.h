// SPDX-License-Identifier: GPL-3.0-or-later
// Whether a file's bitrate is high enough for the encoder that made it.
#pragma once

#include <string_view>

#include "attribute_texts.h"
#include "mp3_info.h"

namespace vornik {

// Encoder groups by how much bitrate their files need: +1 good encoders, 0 others, -1 poor
// ones, 3 mp3PRO (RCA, Thomson), 2 MPEG Plus. Decided by case-sensitive substrings of the
// encoder text; never fails.
int EncoderQualityGroup(std::string_view encoderText);

// The quality class, 2 good, 1 ok, 0 bad, from the Encoder and Stereo Mode texts and the
// record's average bitrate; `monoQuality` counts mono files at 1.85 times their bitrate.
// Never fails.
int EstimateQuality(const AttributeTexts& texts, const Mp3Info& record, bool monoQuality);

}  // namespace vornik
