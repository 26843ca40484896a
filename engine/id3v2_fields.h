// SPDX-License-Identifier: GPL-3.0-or-later
// The fields a user reads in an ID3v2 tag: titles and names, ReplayGain items, the first
// picture.
#pragma once

#include "id3v2_tag.h"
#include "mp3_info.h"

namespace vornik {

// Fills `id3v2Version`, `id3v2Fields`, `pictureType` and `pictureSize` from the tag's frames.
// Compressed and encrypted frames are passed over.
void ReadId3v2Fields(const Id3v2Tag& tag, Mp3Info& record);

}  // namespace vornik
