// SPDX-License-Identifier: GPL-3.0-or-later
// The display texts of one file: every list cell, report line and export value.
#pragma once

#include <array>
#include <string>

#include "mp3_info.h"

namespace vornik {

// Slots 0 to 68; the catalogue names the slot of each attribute. Slot 0 is never written;
// slots 5 (Scalefac), 6 (Emphasis), 39 (Noise Shaping) and 42 (Lame stereo mode) belong to no
// attribute and are read by the report. All texts are UTF-8.
struct AttributeTexts {
    static constexpr int kSlots = 69;
    std::array<std::string, kSlots> slots;

    std::string& operator[](int slot) { return slots[static_cast<std::size_t>(slot)]; }
    const std::string& operator[](int slot) const { return slots[static_cast<std::size_t>(slot)]; }
};

// Slot numbers the code refers to by name.
enum TextSlot : int {
    kSlotName = 1,
    kSlotEncoder = 2,
    kSlotLength = 3,
    kSlotStereoMode = 4,
    kSlotScalefac = 5,
    kSlotEmphasis = 6,
    kSlotBitrate = 7,
    kSlotType = 8,
    kSlotSize = 9,
    kSlotFrames = 10,
    kSlotFrequency = 11,
    kSlotMaxReservoir = 12,
    kSlotAvgReservoir = 13,
    kSlotBadLastFrame = 14,
    kSlotVbr = 15,
    kSlotLameTag = 16,
    kSlotCueSheet = 17,
    kSlotSyncErrors = 18,
    kSlotTitle = 19,
    kSlotAlbum = 20,
    kSlotArtist = 21,
    kSlotGenre = 22,
    kSlotYear = 23,
    kSlotComment = 24,
    kSlotTrack = 25,
    kSlotMpcStream = 26,
    kSlotProfile = 27,
    kSlotQuality = 28,
    kSlotQualityIndex = 29,
    kSlotTagRevision = 30,
    kSlotVbrMethod = 31,
    kSlotLowpass = 32,
    kSlotPsychoacoustics = 33,
    kSlotSafeJointStereo = 34,
    kSlotNogapContinued = 35,
    kSlotNogapContinuation = 36,
    kSlotAthType = 37,
    kSlotAbrBitrate = 38,
    kSlotNoiseShaping = 39,
    kSlotUnwise = 40,
    kSlotInputFrequency = 41,
    kSlotLameStereoMode = 42,
    kSlotCrcFrames = 43,
    kSlotCrcErrors = 44,
    kSlotIntegrity = 45,
    kSlotEncoderDelay = 46,
    kSlotEncoderPadding = 47,
    kSlotExactLength = 48,
    kSlotTrackGain = 49,
    kSlotTrackPeak = 50,
    kSlotAlbumGain = 51,
    kSlotLameSettings = 52,
    // Title, artist, album, year, track, genre and comment from each tag, in that order.
    kSlotId3v2Fields = 53,
    kSlotPicture = 60,
    kSlotApeFields = 61,
    kSlotTags = 68,
};

// Fills `texts` (slot 1, the name, set by the caller) from `record` and returns the quality
// class: 2 good, 1 ok, 0 bad. `monoQuality` rewards mono files (the "monoquality" setting).
// Slots a file's kind does not write keep their content: start from empty texts.
int ComputeAttributeTexts(AttributeTexts& texts, const Mp3Info& record, bool monoQuality);

}  // namespace vornik
