// SPDX-License-Identifier: GPL-3.0-or-later
#include "id3v2_fields.h"

#include <algorithm>
#include <cctype>
#include <string_view>

#include "genre_names.h"
#include "tag_text.h"

namespace vornik {
namespace {

// Frame format flags that leave the data unreadable here: 2.3 compression and encryption,
// 2.4 compression and encryption.
bool Unreadable(const Id3v2Frame& frame, int version) {
    const std::uint8_t format = frame.flags[1];
    return version == 3 ? (format & 0xC0) != 0 : version == 4 && (format & 0x0C) != 0;
}

// 2.3 and 2.4 may put a group byte in front of the data.
std::span<const std::uint8_t> Payload(const Id3v2Frame& frame, int version) {
    std::span<const std::uint8_t> data = frame.data;
    const bool grouped =
        version == 3 ? (frame.flags[1] & 0x20) != 0 : version == 4 && (frame.flags[1] & 0x40) != 0;
    return grouped && !data.empty() ? data.subspan(1) : data;
}

TagEncoding EncodingOf(std::uint8_t byte) {
    return byte <= 3 ? static_cast<TagEncoding>(byte) : TagEncoding::Latin1;
}

// A text frame: the encoding byte, then the strings.
std::vector<std::string> ValuesOf(std::span<const std::uint8_t> data) {
    if (data.empty()) {
        return {};
    }
    return TagTextReader(data.subspan(1), EncodingOf(data[0])).Values();
}

std::string TextOf(std::span<const std::uint8_t> data) {
    return JoinValues(ValuesOf(data));
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

// "(13)", "(13)Pop", "13", "Rock", or 2.4's several values: the genre's name for a number.
std::string GenreText(const std::string& text) {
    const auto allDigits = [](std::string_view s) {
        return !s.empty() && s.size() <= 3 &&
               std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
    };
    if (allDigits(text)) {
        return std::string(GenreName(std::stoi(text)));
    }
    if (text.size() > 2 && text[0] == '(') {
        const std::size_t close = text.find(')');
        if (close != std::string::npos) {
            const std::string inside = text.substr(1, close - 1);
            const std::string after = text.substr(close + 1);
            if (!after.empty()) {
                return after;  // a refinement after the reference names it best
            }
            if (allDigits(inside)) {
                return std::string(GenreName(std::stoi(inside)));
            }
            if (inside == "RX") {
                return "Remix";
            }
            if (inside == "CR") {
                return "Cover";
            }
        }
    }
    return text;
}

// COMM: encoding, language (3 bytes), description, text.
struct Comment {
    std::string description;
    std::string text;
};

Comment CommentOf(std::span<const std::uint8_t> data) {
    if (data.size() < 4) {
        return {};
    }
    TagTextReader reader(data.subspan(4), EncodingOf(data[0]));
    Comment comment;
    comment.description = reader.Next();
    comment.text = reader.Rest();
    return comment;
}

// TXXX: encoding, description, value.
void ReadUserText(std::span<const std::uint8_t> data, TagFields& fields) {
    if (data.empty()) {
        return;
    }
    TagTextReader reader(data.subspan(1), EncodingOf(data[0]));
    const std::string description = reader.Next();
    const std::string value = reader.Rest();
    if (EqualsIgnoringCase(description, "replaygain_track_gain")) {
        fields.trackGain = value;
    } else if (EqualsIgnoringCase(description, "replaygain_track_peak")) {
        fields.trackPeak = value;
    } else if (EqualsIgnoringCase(description, "replaygain_album_gain")) {
        fields.albumGain = value;
    }
}

// APIC: encoding, MIME type (ISO-8859-1), picture type, description, image. ID3v2.2's PIC has
// a three-letter image format in place of the MIME type.
void ReadPicture(const Id3v2Frame& frame, std::span<const std::uint8_t> data, bool shortForm,
                 Mp3Info& record) {
    if (data.empty()) {
        return;
    }
    TagTextReader mime(data.subspan(1), TagEncoding::Latin1);
    std::size_t typePosition = 1 + 3;
    if (!shortForm) {
        mime.Next();
        typePosition = 1 + mime.position();
    }
    if (typePosition >= data.size()) {
        return;
    }
    TagTextReader description(data.subspan(typePosition + 1), EncodingOf(data[0]));
    description.Next();
    const std::size_t imageStart = typePosition + 1 + description.position();
    record.pictureType = data[typePosition];
    // Data cut to its first megabyte: the image is what the frame declares after the fields
    // in front of it.
    const bool whole = frame.size <= Id3v2Tag::kMaxKeptData;
    const std::size_t total = whole ? data.size() : frame.size;
    record.pictureSize = static_cast<std::uint32_t>(total - std::min(imageStart, total));
}

struct TextFrameIds {
    std::string_view title, artist, album, year, track, genre, comment, userText, picture;
};

constexpr TextFrameIds kLongIds{"TIT2", "TPE1", "TALB", "TYER", "TRCK",
                                "TCON", "COMM", "TXXX", "APIC"};
constexpr TextFrameIds kShortIds{"TT2", "TP1", "TAL", "TYE", "TRK", "TCO", "COM", "TXX", "PIC"};

}  // namespace

void ReadId3v2Fields(const Id3v2Tag& tag, Mp3Info& record) {
    record.id3v2Version = 0;
    record.id3v2Fields = {};
    record.pictureType = -1;
    record.pictureSize = 0;
    if (!tag.present() || tag.majorVersion() < 2 || tag.majorVersion() > 4) {
        return;
    }
    const int version = tag.majorVersion();
    record.id3v2Version = version;
    const TextFrameIds& ids = version == 2 ? kShortIds : kLongIds;
    TagFields& fields = record.id3v2Fields.Edit();
    bool commentFound = false;
    for (const Id3v2Frame& frame : tag.frames()) {
        if (Unreadable(frame, version)) {
            continue;
        }
        const std::span<const std::uint8_t> data = Payload(frame, version);
        const std::string_view id = frame.id;
        if (id == ids.title) {
            fields.title = TextOf(data);
        } else if (id == ids.artist) {
            fields.artist = TextOf(data);
        } else if (id == ids.album) {
            fields.album = TextOf(data);
        } else if (id == ids.year || (version >= 3 && id == "TDRC")) {
            // 2.4 has the recording time in place of 2.3's year; taggers write either in both.
            if (fields.year.empty() || id == "TDRC") {
                fields.year = TextOf(data);
            }
        } else if (id == ids.track) {
            fields.track = TextOf(data);
        } else if (id == ids.genre) {
            std::vector<std::string> genres = ValuesOf(data);
            for (std::string& genre : genres) {
                genre = GenreText(genre);
            }
            fields.genre = JoinValues(genres);
        } else if (id == ids.comment && !commentFound) {
            // The comment without a description is the one players show; described ones
            // carry other programs' data.
            const Comment comment = CommentOf(data);
            if (comment.description.empty()) {
                fields.comment = comment.text;
                commentFound = true;
            }
        } else if (id == ids.userText) {
            ReadUserText(data, fields);
        } else if (id == ids.picture && record.pictureType < 0) {
            ReadPicture(frame, data, version == 2, record);
        }
    }
}

}  // namespace vornik
