// SPDX-License-Identifier: GPL-3.0-or-later
#include "end_tags.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstring>
#include <string>
#include <vector>

#include "byte_reader.h"
#include "tag_text.h"

namespace vornik {
namespace {

constexpr std::size_t kApeFooterSize = 32;
constexpr std::uint32_t kApeHasHeader = 1u << 31;
constexpr std::uint32_t kApeItemTypeMask = 0x06;  // 0 text, 1 binary, 2 external link
// Real tags hold a few dozen items; text values of more than this are not a field's.
constexpr std::size_t kMaxItems = 1000;
constexpr std::uint32_t kMaxTextValue = 1 << 16;
constexpr std::size_t kMaxKeyLength = 255;

bool BytesAre(FileReader& reader, std::int64_t position, const char* text) {
    const std::size_t length = std::strlen(text);
    std::array<std::uint8_t, 16> bytes{};
    return position >= 0 && reader.readAt(position, bytes.data(), length) == length &&
           std::memcmp(bytes.data(), text, length) == 0;
}

std::string Lowered(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

void StoreItem(const std::string& key, std::string value, TagFields& fields) {
    const std::string name = Lowered(key);
    std::string* field = name == "title"                   ? &fields.title
                         : name == "artist"                ? &fields.artist
                         : name == "album"                 ? &fields.album
                         : name == "year"                  ? &fields.year
                         : name == "track"                 ? &fields.track
                         : name == "genre"                 ? &fields.genre
                         : name == "comment"               ? &fields.comment
                         : name == "replaygain_track_gain" ? &fields.trackGain
                         : name == "replaygain_track_peak" ? &fields.trackPeak
                         : name == "replaygain_album_gain" ? &fields.albumGain
                                                           : nullptr;
    if (field != nullptr) {
        *field = std::move(value);
    }
}

// APEv2 keeps several values of an item apart with zero bytes; APEv1 text is single-byte.
std::string ItemText(const std::vector<std::uint8_t>& value, bool version2) {
    if (!version2) {
        return TagTextReader(value, TagEncoding::Latin1).Next();
    }
    return TagTextReader(value, TagEncoding::Utf8).Rest();
}

// The items between `first` and `end`, one at a time: each a value size, flags, a key ending in
// a zero byte, and the value.
void ReadApeItems(FileReader& reader, std::int64_t first, std::int64_t end, std::uint32_t count,
                  bool version2, TagFields& fields) {
    std::int64_t position = first;
    for (std::uint32_t i = 0; i < count && i < kMaxItems; ++i) {
        std::array<std::uint8_t, 8 + kMaxKeyLength + 1> head{};
        const std::size_t got =
            reader.readAt(position, head.data(),
                          static_cast<std::size_t>(std::min<std::int64_t>(
                              static_cast<std::int64_t>(head.size()), end - position)));
        if (got < 8 + 2) {
            return;
        }
        ByteReader fieldsOfItem(std::span<const std::uint8_t>(head.data(), got));
        const std::uint32_t valueSize = fieldsOfItem.u32le();
        const std::uint32_t flags = fieldsOfItem.u32le();
        const auto keyEnd = std::find(head.begin() + 8, head.begin() + static_cast<long>(got), 0);
        if (keyEnd == head.begin() + static_cast<long>(got)) {
            return;  // no key terminator within the item's room: the tag is damaged
        }
        const std::string key(head.begin() + 8, keyEnd);
        const std::int64_t valueStart = position + (keyEnd - head.begin()) + 1;
        if (valueSize > end - valueStart) {
            return;
        }
        if ((flags & kApeItemTypeMask) == 0 && valueSize <= kMaxTextValue) {
            std::vector<std::uint8_t> value(valueSize);
            if (reader.readAt(valueStart, value.data(), value.size()) != value.size()) {
                return;
            }
            StoreItem(key, ItemText(value, version2), fields);
        }
        position = valueStart + valueSize;
    }
}

// An APE tag whose footer ends at `end`: its start, or -1 when there is none.
std::int64_t ReadApeTag(FileReader& reader, std::int64_t end, Mp3Info& record) {
    const std::int64_t footer = end - static_cast<std::int64_t>(kApeFooterSize);
    if (!BytesAre(reader, footer, "APETAGEX")) {
        return -1;
    }
    std::array<std::uint8_t, kApeFooterSize> bytes{};
    reader.readAt(footer, bytes.data(), bytes.size());
    ByteReader fields(bytes);
    fields.skip(8);
    const std::uint32_t version = fields.u32le();
    const std::uint32_t size = fields.u32le();  // items and footer
    const std::uint32_t count = fields.u32le();
    const std::uint32_t flags = fields.u32le();
    if (size < kApeFooterSize || size > end) {
        return -1;
    }
    const std::int64_t itemsStart = end - size;
    const bool header = version >= 2000 && (flags & kApeHasHeader) != 0;
    const std::int64_t start = itemsStart - (header ? std::int64_t{kApeFooterSize} : 0);
    if (start < 0) {
        return -1;
    }
    record.apeVersion = version >= 2000 ? 2000 : 1000;
    ReadApeItems(reader, itemsStart, footer, count, version >= 2000, record.apeFields.Edit());
    return start;
}

// A Lyrics3 v2 block ending at `end`: "LYRICSBEGIN", fields, a six-digit size and
// "LYRICS200". Its start, or -1.
std::int64_t FindLyrics3(FileReader& reader, std::int64_t end) {
    constexpr std::int64_t kTrailer = 6 + 9;
    if (!BytesAre(reader, end - 9, "LYRICS200")) {
        return -1;
    }
    std::array<char, 7> digits{};
    if (end < kTrailer ||
        reader.readAt(end - kTrailer, reinterpret_cast<std::uint8_t*>(digits.data()), 6) != 6 ||
        !std::all_of(digits.begin(), digits.begin() + 6,
                     [](char c) { return c >= '0' && c <= '9'; })) {
        return -1;
    }
    const std::int64_t start = end - kTrailer - std::atoll(digits.data());
    return BytesAre(reader, start, "LYRICSBEGIN") ? start : -1;
}

}  // namespace

std::int64_t ReadEndTags(FileReader& reader, std::int64_t id3v1Start, Mp3Info& record) {
    record.apeVersion = 0;
    record.apeFields = {};
    record.hasLyrics3 = false;
    std::int64_t end = id3v1Start >= 0 ? id3v1Start : reader.size();
    // Taggers put the APE tag in front of the Lyrics3 block or behind it.
    for (int block = 0; block < 2; ++block) {
        if (record.apeVersion == 0) {
            const std::int64_t ape = ReadApeTag(reader, end, record);
            if (ape >= 0) {
                end = ape;
                continue;
            }
        }
        if (!record.hasLyrics3) {
            const std::int64_t lyrics = FindLyrics3(reader, end);
            if (lyrics >= 0) {
                record.hasLyrics3 = true;
                end = lyrics;
                continue;
            }
        }
        break;
    }
    return end;
}

}  // namespace vornik
