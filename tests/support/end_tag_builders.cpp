// SPDX-License-Identifier: GPL-3.0-or-later
#include "end_tag_builders.h"

#include <cstdio>

namespace vornik::test {
namespace {

void PutLe(std::vector<std::uint8_t>& out, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
}

std::vector<std::uint8_t> ApeHeaderOrFooter(std::uint32_t version, std::uint32_t size,
                                            std::uint32_t count, std::uint32_t flags) {
    std::vector<std::uint8_t> out{'A', 'P', 'E', 'T', 'A', 'G', 'E', 'X'};
    PutLe(out, version);
    PutLe(out, size);
    PutLe(out, count);
    PutLe(out, flags);
    out.resize(32, 0);
    return out;
}

}  // namespace

std::vector<std::uint8_t> ApeTag(const std::vector<ApeItem>& items, std::uint32_t version,
                                 bool header, std::uint32_t declaredSize) {
    std::vector<std::uint8_t> body;
    for (const ApeItem& item : items) {
        PutLe(body, static_cast<std::uint32_t>(item.value.size()));
        PutLe(body, item.flags);
        body.insert(body.end(), item.key.begin(), item.key.end());
        body.push_back(0);
        body.insert(body.end(), item.value.begin(), item.value.end());
    }
    const auto size =
        declaredSize != 0 ? declaredSize : static_cast<std::uint32_t>(body.size() + 32);
    const auto count = static_cast<std::uint32_t>(items.size());
    constexpr std::uint32_t kHasHeader = 1u << 31;
    constexpr std::uint32_t kIsHeader = 1u << 29;
    std::vector<std::uint8_t> out;
    if (header) {
        out = ApeHeaderOrFooter(version, size, count, kHasHeader | kIsHeader);
    }
    out.insert(out.end(), body.begin(), body.end());
    const auto footer = ApeHeaderOrFooter(version, size, count, header ? kHasHeader : 0);
    out.insert(out.end(), footer.begin(), footer.end());
    return out;
}

std::vector<std::uint8_t> Lyrics3v2(const std::string& lyrics) {
    char length[8];
    std::snprintf(length, sizeof length, "%05zu", lyrics.size());
    const std::string fields = "IND00003110LYR" + std::string(length) + lyrics;
    char size[8];
    std::snprintf(size, sizeof size, "%06zu", 11 + fields.size());
    const std::string block = "LYRICSBEGIN" + fields + size + "LYRICS200";
    return std::vector<std::uint8_t>(block.begin(), block.end());
}

}  // namespace vornik::test
