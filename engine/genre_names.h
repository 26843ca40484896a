// SPDX-License-Identifier: GPL-3.0-or-later
// Names of the ID3v1 genre byte.
#pragma once

#include <string_view>

namespace vornik {

// The name of ID3v1 genre `index`; "Unknown" for an index outside 0..147, which also covers
// the 255 that marks a file without a genre.
std::string_view GenreName(int index);

}  // namespace vornik
