// SPDX-License-Identifier: GPL-3.0-or-later
#include "attribute_texts.h"

#include <array>
#include <cstdio>
#include <string_view>

#include "encoder_identification.h"
#include "gapless.h"
#include "genre_names.h"
#include "integrity_texts.h"
#include "lame_settings.h"
#include "quality_estimate.h"
#include "replay_gain.h"
#include "tag_field_texts.h"

namespace vornik {
namespace {

// A value from a fixed table, or `fallback` past its end.
template <std::size_t N>
std::string Named(const std::array<const char*, N>& names, int value, const char* fallback) {
    return value >= 0 && static_cast<std::size_t>(value) < N
               ? names[static_cast<std::size_t>(value)]
               : fallback;
}

std::string YesNo(bool value) {
    return value ? "yes" : "no";
}

void FillLameTexts(AttributeTexts& t, const Mp3Info& r) {
    static constexpr std::array<const char*, 6> kVbrMethods{
        "Unknown", "cbr", "abr", "vbr-old / vbr-rh", "vbr-mtrh", "vbr-new / vbr-mt"};
    static constexpr std::array<const char*, 4> kSourceFrequencies{"32kHz or less", "44.1kHz",
                                                                   "48kHz", "more than 48kHz"};
    // The field has 3 bits; 7 has no name of its own and reads as the last entry.
    static constexpr std::array<const char*, 7> kLameStereoModes{
        "Mono", "Stereo", "Dual Stereo", "Joint Stereo", "Auto", "Intensity", "Unknown"};

    t[kSlotQualityIndex] = std::to_string(r.xingVbrScale);
    t[kSlotTagRevision] = std::to_string(r.lameRevision);
    t[kSlotVbrMethod] = Named(kVbrMethods, r.lameVbrMethod, "Unknown");
    t[kSlotLowpass] = r.lameLowpass == 0 ? "Unknown" : std::to_string(r.lameLowpass);
    t[kSlotPsychoacoustics] = (r.lameEncFlags & 1) != 0 ? "nspsytune" : "gpsycho";
    t[kSlotSafeJointStereo] = YesNo((r.lameEncFlags & 2) != 0);
    t[kSlotNogapContinued] = YesNo((r.lameEncFlags & 4) != 0);
    t[kSlotNogapContinuation] = YesNo((r.lameEncFlags & 8) != 0);
    t[kSlotAthType] = std::to_string(r.lameAthType);
    t[kSlotAbrBitrate] = r.lameAbrBitrate == 255 ? "255 or more"
                         : r.lameAbrBitrate == 0 ? "Unknown"
                                                 : std::to_string(r.lameAbrBitrate);
    t[kSlotNoiseShaping] = std::to_string(r.lameNoiseShaping);
    t[kSlotUnwise] = YesNo(r.lameUnwise != 0);
    t[kSlotInputFrequency] = Named(kSourceFrequencies, r.lameSourceFreq, "");
    t[kSlotLameStereoMode] = Named(kLameStereoModes, r.lameStereoMode, "Unknown");
    // FFmpeg's tag leaves the byte of noise shaping, stereo mode, unwise settings and input
    // frequency zero, which would read "Mono" and "32kHz or less" on a stereo 44.1 kHz stream.
    const bool miscByteZero = r.lameNoiseShaping == 0 && r.lameStereoMode == 0 &&
                              r.lameUnwise == 0 && r.lameSourceFreq == 0;
    if (miscByteZero && (r.channels > 1 || r.sampleRate > 32000)) {
        t[kSlotInputFrequency] = "not set";
        t[kSlotLameStereoMode] = "not set";
    }
}

// h:mm:ss, with tenths of a second for lengths under ten seconds.
std::string ClockText(float duration) {
    const int s = static_cast<int>(duration);
    char text[48];
    std::snprintf(text, sizeof text, "%02i:%02i:%02i", s / 3600, (s / 60) % 60, s % 60);
    std::string clock = text;
    if (s < 10) {
        clock +=
            "." + std::to_string(static_cast<int>((duration - static_cast<float>(s)) * 1000) / 100);
    }
    return clock;
}

// Separators before the last three digits and before the sixth digit from the right; larger
// numbers get no more of them.
std::string SizeText(std::int64_t size) {
    std::string text = std::to_string(size);
    if (size > 999) {
        text.insert(text.size() - 3, ",");
    }
    if (size > 999999) {
        text.insert(text.size() - 7, ",");
    }
    return text;
}

// ID3v1 text fields are ISO-8859-1 in fixed widths, padded with blanks or zero bytes.
std::string Id3v1Field(const Mp3Info& r, std::size_t first, std::size_t length) {
    std::string_view field(reinterpret_cast<const char*>(r.id3v1Raw.data()) + first, length);
    while (!field.empty() && (field.back() == ' ' || field.back() == '\0')) {
        field.remove_suffix(1);
    }
    field = field.substr(0, field.find('\0'));
    std::string utf8;
    for (const char c : field) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            utf8 += c;
        } else {
            utf8 += static_cast<char>(0xC0 | byte >> 6);
            utf8 += static_cast<char>(0x80 | (byte & 0x3F));
        }
    }
    return utf8;
}

void FillId3v1Texts(AttributeTexts& t, const Mp3Info& r) {
    t[kSlotTitle] = Id3v1Field(r, 3, 30);
    t[kSlotArtist] = Id3v1Field(r, 33, 30);
    t[kSlotAlbum] = Id3v1Field(r, 63, 30);
    t[kSlotComment] = Id3v1Field(r, 97, 30);
    t[kSlotYear] = Id3v1Field(r, 93, 4);
    if (r.hasId3v1) {
        t[kSlotTrack] = std::to_string(r.id3v1Track);
        t[kSlotGenre] = std::string(GenreName(r.id3v1Raw[127]));
    }
}

std::string TypeText(const Mp3Info& r) {
    return std::string("mpeg ") + (r.mpeg1 ? "1" : "2") + (r.notMpeg25 ? "" : ".5") + " layer " +
           std::string(static_cast<std::size_t>(std::max(0, r.layer)), 'I');
}

// Share of granule-channels that scale their scalefactors.
std::string ScalefacText(const Mp3Info& r) {
    if (r.scalefacScaleCount == 0 || r.frameCount == 0) {
        return "not used";
    }
    const double channels = r.channels == 0 ? 2 : r.channels;
    const double granules = r.mpeg1 ? 2 : 1;
    char text[32];
    std::snprintf(text, sizeof text, "%.1f%%",
                  r.scalefacScaleCount * 100.0 / (r.frameCount * channels * granules));
    return text;
}

std::string QualityText(int quality) {
    return quality == 2 ? "good" : quality == 1 ? "ok" : "bad";
}

int FillMpegPlusTexts(AttributeTexts& t, const Mp3Info& r, bool monoQuality) {
    static constexpr std::array<const char*, 5> kProfiles{"Thumb", "Radio", "Standard", "Xtreme",
                                                          "Insane"};
    t[kSlotMpcStream] = "SV" + std::to_string(r.mpcStreamVersion);
    t[kSlotProfile] = Named(kProfiles, r.mpcProfile, "Unknown");
    t[kSlotEncoder] = "mppenc";
    t[kSlotType] = "mpeg plus";
    const int quality = EstimateQuality(t, r, monoQuality);
    t[kSlotQuality] = QualityText(quality);
    t[kSlotVbr] = YesNo(r.isVbr);
    for (const int slot : {kSlotSyncErrors, kSlotLameTag, kSlotScalefac, kSlotMaxReservoir,
                           kSlotBadLastFrame, kSlotAvgReservoir, kSlotCueSheet}) {
        t[slot] = "--";
    }
    // Musepack files carry APE tags at their end, as MPEG audio files may.
    FillTagFieldTexts(t, r);
    return quality;
}

}  // namespace

int ComputeAttributeTexts(AttributeTexts& t, const Mp3Info& r, bool monoQuality) {
    static constexpr std::array<const char*, 4> kStereoModes{"stereo", "joint stereo",
                                                             "dual channel", "mono"};
    static constexpr std::array<const char*, 2> kEmphasis{"none", "50/15ms"};

    FillLameTexts(t, r);
    t[kSlotLength] = ClockText(r.duration);
    t[kSlotFrames] = std::to_string(r.frameCount) + (r.scanComplete ? "" : "+");
    t[kSlotSize] = SizeText(r.fileSize);
    t[kSlotStereoMode] = Named(kStereoModes, r.channelMode, "");
    t[kSlotBitrate] = std::to_string(r.avgBitrate);
    t[kSlotFrequency] = std::to_string(r.sampleRate);
    if (r.mpcStreamVersion != 0) {
        return FillMpegPlusTexts(t, r, monoQuality);
    }
    t[kSlotMpcStream] = "--";
    t[kSlotProfile] = "--";
    FillId3v1Texts(t, r);
    t[kSlotVbr] = YesNo(r.isVbr);
    t[kSlotCueSheet] = YesNo(r.hasCueSheet);
    t[kSlotLameTag] = YesNo(r.lameTagValid);
    t[kSlotType] = TypeText(r);
    t[kSlotScalefac] = ScalefacText(r);
    t[kSlotEmphasis] = Named(kEmphasis, r.emphasis, "CCITT");
    t[kSlotEncoder] = IdentifyEncoder(r);
    if (t[kSlotEncoder].find("RCA") != std::string::npos ||
        t[kSlotEncoder].find("Thomson") != std::string::npos) {
        t[kSlotType] += " (mp3pro)";
    }
    t[kSlotBadLastFrame] = r.lastFrameOk ? "no" : "yes";
    t[kSlotMaxReservoir] = std::to_string(r.maxMainDataBegin);
    t[kSlotAvgReservoir] = std::to_string(r.avgMainDataBegin);
    t[kSlotSyncErrors] = std::to_string(r.syncErrors);
    FillIntegrityTexts(t, r);
    FillGaplessTexts(t, r);
    FillReplayGainTexts(t, r);
    t[kSlotLameSettings] = LameSettingsText(r);
    FillTagFieldTexts(t, r);
    const int quality = EstimateQuality(t, r, monoQuality);
    t[kSlotQuality] = QualityText(quality);
    return quality;
}

}  // namespace vornik
