// SPDX-License-Identifier: GPL-3.0-or-later
// Builds the tags that stand at the end of a file for tests: APE tags and Lyrics3 v2 blocks.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vornik::test {

struct ApeItem {
    std::string key;
    std::string value;
    std::uint32_t flags = 0;  // bits 1-2: 0 text, 1 binary
};

// An APE tag: items and footer, with a header in front when `header` (APEv2 only).
// `declaredSize`, when not 0, replaces the footer's size field.
std::vector<std::uint8_t> ApeTag(const std::vector<ApeItem>& items, std::uint32_t version = 2000,
                                 bool header = true, std::uint32_t declaredSize = 0);

// "LYRICSBEGIN", an LYR field with `lyrics`, the six-digit size and "LYRICS200".
std::vector<std::uint8_t> Lyrics3v2(const std::string& lyrics);

}  // namespace vornik::test
