// SPDX-License-Identifier: GPL-3.0-or-later
#include "tag_field_texts.h"

#include <array>

namespace vornik {
namespace {

void FillFields(AttributeTexts& t, int firstSlot, const TagFields& fields) {
    const std::array<const std::string*, 7> values{&fields.title,  &fields.artist, &fields.album,
                                                   &fields.year,   &fields.track,  &fields.genre,
                                                   &fields.comment};
    for (std::size_t i = 0; i < values.size(); ++i) {
        t[firstSlot + static_cast<int>(i)] = *values[i];
    }
}

}  // namespace

std::string PictureText(const Mp3Info& r) {
    // The picture types of ID3v2's APIC frame.
    static constexpr std::array<const char*, 21> kTypes{"Other",
                                                        "File icon",
                                                        "Other file icon",
                                                        "Cover (front)",
                                                        "Cover (back)",
                                                        "Leaflet page",
                                                        "Media",
                                                        "Lead artist",
                                                        "Artist",
                                                        "Conductor",
                                                        "Band",
                                                        "Composer",
                                                        "Lyricist",
                                                        "Recording location",
                                                        "During recording",
                                                        "During performance",
                                                        "Screen capture",
                                                        "Bright coloured fish",
                                                        "Illustration",
                                                        "Band logotype",
                                                        "Publisher logotype"};
    if (r.pictureType < 0) {
        return "";
    }
    const std::string type = static_cast<std::size_t>(r.pictureType) < kTypes.size()
                                 ? kTypes[static_cast<std::size_t>(r.pictureType)]
                                 : "Type " + std::to_string(r.pictureType);
    return type + ", " + std::to_string(r.pictureSize) + " bytes";
}

std::string TagsText(const Mp3Info& r) {
    std::string text;
    const auto add = [&text](const std::string& name) {
        text += (text.empty() ? "" : ", ") + name;
    };
    if (r.id3v2Version != 0) {
        add("ID3v2." + std::to_string(r.id3v2Version));
    }
    if (r.apeVersion != 0) {
        add(r.apeVersion >= 2000 ? "APEv2" : "APEv1");
    }
    if (r.hasLyrics3) {
        add("Lyrics3v2");
    }
    if (r.hasId3v1) {
        add(r.id3v1Raw[125] == 0 && r.id3v1Raw[126] != 0 ? "ID3v1.1" : "ID3v1");
    }
    return text.empty() ? "none" : text;
}

void FillTagFieldTexts(AttributeTexts& t, const Mp3Info& r) {
    FillFields(t, kSlotId3v2Fields, *r.id3v2Fields);
    FillFields(t, kSlotApeFields, *r.apeFields);
    t[kSlotPicture] = PictureText(r);
    t[kSlotTags] = TagsText(r);
}

}  // namespace vornik
