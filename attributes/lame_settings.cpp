// SPDX-License-Identifier: GPL-3.0-or-later
#include "lame_settings.h"

#include <array>
#include <cstdio>
#include <cstdlib>

namespace vornik {
namespace {

// The Lame tag's VBR method field.
enum LameMethod : int {
    kCbr = 1,
    kAbr = 2,
    kVbrOld = 3,
    kVbrMtrh = 4,
    kVbrMt = 5,
    kCbrTwoPass = 8,
    kAbrTwoPass = 9,
};

// The tag's 11-bit preset field: 8 to 320 an ABR or CBR bitrate, 410 to 500 the -V levels,
// from 1000 on the named presets of lame 3.90 to 3.97, which later versions map to the others.
constexpr int kLowestVPreset = 410;
constexpr int kHighestVPreset = 500;
constexpr int kFirstNamedPreset = 1000;
constexpr std::array<const char*, 8> kNamedPresets{"r3mix",  "standard",      "extreme",
                                                   "insane", "fast standard", "fast extreme",
                                                   "medium", "fast medium"};

int PresetOf(const Mp3Info& r) {
    return (r.lameGainPreset[1] & 0x07) << 8 | r.lamePresetLow;
}

// 397 for "LAME3.97", 3100 for "LAME3.100"; 0 when the version cannot be read.
int LameVersionNumber(const std::string& version) {
    int major = 0;
    int minor = 0;
    if (std::sscanf(version.c_str(), "LAME%d.%d", &major, &minor) != 2 &&
        std::sscanf(version.c_str(), "L%d.%d", &major, &minor) != 2) {
        return 0;
    }
    return major * (minor >= 100 ? 1000 : 100) + minor;
}

// lame 3.98 made the new VBR code the default one.
bool NewVbrIsDefault(const Mp3Info& r) {
    const int version = LameVersionNumber(r.lameVersion);
    return version == 0 || version >= 398;
}

// "17" for 17000 Hz, "17.5" for 17500 Hz: the tag keeps 100 Hz steps.
std::string Kilohertz(std::uint32_t hertz) {
    const std::uint32_t tenths = hertz / 100;
    return std::to_string(tenths / 10) +
           (tenths % 10 == 0 ? "" : "." + std::to_string(tenths % 10));
}

// The lowpass lame chooses by itself at 44.1 and 48 kHz; 0 where it is not known, and then no
// --lowpass is written.
std::uint32_t DefaultLowpass(const Mp3Info& r, bool vbr, int level, int kbps) {
    if (r.sampleRate != 44100 && r.sampleRate != 48000) {
        return 0;
    }
    if (vbr) {
        // -V 0 filters only at the Nyquist frequency, rounded up to the tag's 100 Hz.
        static constexpr std::array<std::uint32_t, 10> kByLevel{0,     19500, 18500, 18000, 17500,
                                                                17000, 16500, 15600, 15200, 7200};
        if (level == 0) {
            return static_cast<std::uint32_t>((r.sampleRate / 2 + 99) / 100 * 100);
        }
        return level > 0 && level <= 9 ? kByLevel[static_cast<std::size_t>(level)] : 0;
    }
    // CBR and ABR: the entry for the nearest bitrate.
    struct Entry {
        int kbps;
        std::uint32_t lowpass;
    };
    static constexpr std::array<Entry, 17> kByBitrate{{{8, 2000},
                                                       {16, 3700},
                                                       {24, 3900},
                                                       {32, 5500},
                                                       {40, 7000},
                                                       {48, 7500},
                                                       {56, 10000},
                                                       {64, 11000},
                                                       {80, 13500},
                                                       {96, 15100},
                                                       {112, 15600},
                                                       {128, 17000},
                                                       {160, 17500},
                                                       {192, 18600},
                                                       {224, 19400},
                                                       {256, 19700},
                                                       {320, 20500}}};
    const Entry* nearest = &kByBitrate[0];
    for (const Entry& entry : kByBitrate) {
        if (std::abs(entry.kbps - kbps) < std::abs(nearest->kbps - kbps)) {
            nearest = &entry;
        }
    }
    return nearest->lowpass;
}

// The bitrate of a CBR or ABR file: the preset holds it whole, the ABR field up to 255.
int TargetBitrate(const Mp3Info& r, int preset) {
    if (preset >= 8 && preset <= 320) {
        return preset;
    }
    return r.lameAbrBitrate == 255 || r.lameAbrBitrate == 0 ? r.avgBitrate : r.lameAbrBitrate;
}

struct Settings {
    std::string text;
    bool vbr = false;
    int level = -1;    // -V level
    int kbps = 0;      // CBR or ABR bitrate
    int quality = -1;  // -q, when the tag tells it
    int defaultQuality = 3;
};

void Add(std::string& text, const std::string& option) {
    text += (text.empty() ? "" : " ") + option;
}

Settings VbrSettings(const Mp3Info& r, int preset) {
    Settings s;
    s.vbr = true;
    // Lame's quality index: 100 - 10 * level - the -q value.
    const int fromScale = r.xingVbrScale >= 0 && r.xingVbrScale <= 100 ? 100 - r.xingVbrScale : -1;
    if (preset >= kLowestVPreset && preset <= kHighestVPreset && preset % 10 == 0) {
        s.level = (kHighestVPreset - preset) / 10;
        if (fromScale >= 10 * s.level && fromScale - 10 * s.level <= 9) {
            s.quality = fromScale - 10 * s.level;
        }
    } else if (fromScale >= 0) {
        s.level = fromScale / 10;
        s.quality = fromScale % 10;
    }
    s.text = s.level >= 0 ? "-V " + std::to_string(s.level) : "--vbr";
    const bool oldMethod = r.lameVbrMethod == kVbrOld;
    if (oldMethod && NewVbrIsDefault(r)) {
        Add(s.text, "--vbr-old");
    } else if (!oldMethod && !NewVbrIsDefault(r)) {
        Add(s.text, "--vbr-new");
    }
    // The new VBR code writes 0 for lame's default quality; the old one its real default, 3.
    s.defaultQuality = oldMethod ? 3 : 0;
    // The minimum bitrate, when it is not the lowest one the MPEG version has.
    const int lowest = r.mpeg1 ? 32 : 8;
    if (r.lameAbrBitrate != 0 && r.lameAbrBitrate != lowest) {
        Add(s.text, "-b " + std::to_string(r.lameAbrBitrate));
    }
    return s;
}

Settings ConstantOrAverageSettings(const Mp3Info& r, int preset, bool average) {
    Settings s;
    s.kbps = TargetBitrate(r, preset);
    s.text = (average ? "--abr " : "-b ") + std::to_string(s.kbps);
    // Quality index 100 - 10 * 4 - the -q value.
    if (r.xingVbrScale >= 51 && r.xingVbrScale <= 60) {
        s.quality = 60 - r.xingVbrScale;
    }
    return s;
}

std::string StereoOption(const Mp3Info& r) {
    // Mono is left out: lame encodes a mono source in mono by itself, so the mode tells
    // nothing of what was typed.
    switch (r.lameStereoMode) {
        case 1:
            return "-m s";
        case 2:
            return "-m d";
        default:
            return "";  // joint stereo, lame's default, or a mode no option names
    }
}

}  // namespace

std::string LameSettingsText(const Mp3Info& r) {
    // FFmpeg's tag has the same layout but none of lame's settings.
    if (!r.lameTagValid ||
        (r.lameVersion.rfind("LAME", 0) != 0 && r.lameVersion.rfind("L3", 0) != 0)) {
        return "";
    }
    const int preset = PresetOf(r);
    if (preset >= kFirstNamedPreset &&
        preset < kFirstNamedPreset + static_cast<int>(kNamedPresets.size())) {
        return std::string("--preset ") +
               kNamedPresets[static_cast<std::size_t>(preset - kFirstNamedPreset)];
    }
    Settings s;
    switch (r.lameVbrMethod) {
        case kCbr:
        case kCbrTwoPass:
            s = ConstantOrAverageSettings(r, preset, false);
            break;
        case kAbr:
        case kAbrTwoPass:
            s = ConstantOrAverageSettings(r, preset, true);
            break;
        case kVbrOld:
        case kVbrMtrh:
        case kVbrMt:
            s = VbrSettings(r, preset);
            break;
        default:
            return "";
    }
    if (s.quality >= 0 && s.quality != s.defaultQuality) {
        Add(s.text, "-q " + std::to_string(s.quality));
    }
    // The old VBR code picks its lowpass otherwise.
    const std::uint32_t defaultLowpass =
        r.lameVbrMethod == kVbrOld ? 0 : DefaultLowpass(r, s.vbr, s.level, s.kbps);
    if (r.lameLowpass != 0 && defaultLowpass != 0 && r.lameLowpass != defaultLowpass) {
        Add(s.text, "--lowpass " + Kilohertz(r.lameLowpass));
    }
    const std::string stereo = StereoOption(r);
    if (!stereo.empty()) {
        Add(s.text, stereo);
    }
    return s.text;
}

}  // namespace vornik
