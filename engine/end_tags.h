// SPDX-License-Identifier: GPL-3.0-or-later
// The tags at the end of a file, in front of its ID3v1 tag or without one: an APE tag
// (version 1 or 2) and a Lyrics3 v2 block, in either order.
#pragma once

#include <cstdint>

#include "file_reader.h"
#include "mp3_info.h"

namespace vornik {

// Fills `apeVersion`, `apeFields` and `hasLyrics3`, and returns where the known tags at the end
// begin: `id3v1Start` (the file's size when it is -1) less the APE and Lyrics3 blocks found
// before it.
std::int64_t ReadEndTags(FileReader& reader, std::int64_t id3v1Start, Mp3Info& record);

}  // namespace vornik
