// SPDX-License-Identifier: GPL-3.0-or-later
#include "replay_gain.h"

#include <array>
#include <charconv>

namespace vornik {
namespace {

// A number at the start of a tag's text ("-6.50 dB", "+1.2", " 0.98"), read without regard to
// the locale, which the desktop program sets from the environment.
bool ReadNumber(const std::string& text, double& value) {
    const char* first = text.data();
    const char* last = text.data() + text.size();
    while (first != last && *first == ' ') {
        ++first;
    }
    if (first != last && *first == '+') {
        ++first;
    }
    const auto [end, error] = std::from_chars(first, last, value);
    return error == std::errc{} && end != first;
}

GainReading FromTag(const std::string& text, const char* source) {
    GainReading reading;
    if (ReadNumber(text, reading.value)) {
        reading.present = true;
        reading.source = source;
    }
    return reading;
}

const char* ApeSource(const Mp3Info& r) {
    return r.apeVersion >= 2000 ? "APEv2" : "APEv1";
}

// A gain field of the Lame tag: 3 bits name, 3 bits originator, a sign bit and 9 bits of
// tenths of a dB. Originator 0 means the field is not set.
GainReading FromLameGain(std::uint8_t high, std::uint8_t low, int expectedName) {
    static constexpr std::array<const char*, 8> kOriginators{
        "", "set by artist", "set by user", "set automatically", "", "", "", ""};
    GainReading reading;
    const int word = high << 8 | low;
    const int name = word >> 13;
    const int originator = (word >> 10) & 0x07;
    if (name != expectedName || originator == 0) {
        return reading;
    }
    const int tenths = word & 0x1FF;
    reading.present = true;
    reading.value = ((word & 0x200) != 0 ? -tenths : tenths) / 10.0;
    const char* how = kOriginators[static_cast<std::size_t>(originator)];
    reading.source = std::string("Lame tag") + (*how != 0 ? ", " : "") + how;
    return reading;
}

// The peak: lame writes it as a number with 23 fraction bits; 0 means not computed.
GainReading FromLamePeak(const std::array<std::uint8_t, 4>& raw) {
    GainReading reading;
    const std::uint32_t word = std::uint32_t{raw[0]} << 24 | std::uint32_t{raw[1]} << 16 |
                               std::uint32_t{raw[2]} << 8 | raw[3];
    if (word == 0) {
        return reading;
    }
    reading.present = true;
    reading.value = word / 8388608.0;
    reading.source = "Lame tag";
    return reading;
}

const GainReading& FirstPresent(const GainReading& a, const GainReading& b, const GainReading& c) {
    return a.present ? a : b.present ? b : c;
}

std::string Fixed(double value, int decimals) {
    char text[64];
    const auto [end, error] =
        std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
    return error == std::errc{} ? std::string(text, end) : std::string();
}

std::string ReadingText(const GainReading& reading, bool gain) {
    if (!reading.present) {
        return "";
    }
    return (gain ? Fixed(reading.value, 2) + " dB" : Fixed(reading.value, 6)) + " (" +
           reading.source + ")";
}

}  // namespace

ReplayGainReadings ReplayGainOf(const Mp3Info& r) {
    const TagFields& id3 = *r.id3v2Fields;
    const TagFields& ape = *r.apeFields;
    const bool lame = r.lameTagValid;
    constexpr int kRadio = 1;
    constexpr int kAudiophile = 2;
    ReplayGainReadings readings;
    readings.trackGain = FirstPresent(
        FromTag(id3.trackGain, "ID3v2"), FromTag(ape.trackGain, ApeSource(r)),
        lame ? FromLameGain(r.lameReplayGain[0], r.lameReplayGain[1], kRadio) : GainReading{});
    readings.trackPeak =
        FirstPresent(FromTag(id3.trackPeak, "ID3v2"), FromTag(ape.trackPeak, ApeSource(r)),
                     lame ? FromLamePeak(r.lamePeak) : GainReading{});
    readings.albumGain = FirstPresent(
        FromTag(id3.albumGain, "ID3v2"), FromTag(ape.albumGain, ApeSource(r)),
        lame ? FromLameGain(r.lameReplayGain[2], r.lameReplayGain[3], kAudiophile) : GainReading{});
    return readings;
}

void FillReplayGainTexts(AttributeTexts& t, const Mp3Info& r) {
    const ReplayGainReadings readings = ReplayGainOf(r);
    t[kSlotTrackGain] = ReadingText(readings.trackGain, true);
    t[kSlotTrackPeak] = ReadingText(readings.trackPeak, false);
    t[kSlotAlbumGain] = ReadingText(readings.albumGain, true);
}

}  // namespace vornik
