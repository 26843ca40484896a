// SPDX-License-Identifier: GPL-3.0-or-later
#include "text_report.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <span>
#include <string_view>

#include "frame_header.h"
#include "utf8_text.h"

namespace vornik {
namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::size_t kLabelWidth = 20;
constexpr std::uint64_t kLongestBar = 40;
// The bar and the blanks after it fill this many characters, so the shares line up.
constexpr std::size_t kBarField = 45;
constexpr std::size_t kBitrateWidth = 3;
constexpr std::size_t kShareWidth = 7;
// Index 15 is the forbidden bitrate; the histogram's entry for it is never shown.
constexpr int kShownBitrateIndices = 15;

struct LameLine {
    std::string_view label;
    int slot;
};

constexpr std::array<LameLine, 15> kLameLines{{
    {"Quality", kSlotQualityIndex},
    {"Version String", kSlotEncoder},
    {"Tag Revision", kSlotTagRevision},
    {"VBR Method", kSlotVbrMethod},
    {"Lowpass Filter", kSlotLowpass},
    {"Psycho-acoustic Model", kSlotPsychoacoustics},
    {"Safe Joint Stereo", kSlotSafeJointStereo},
    {"nogap (continued)", kSlotNogapContinued},
    {"nogap (continuation)", kSlotNogapContinuation},
    {"ATH Type", kSlotAthType},
    {"ABR Bitrate", kSlotAbrBitrate},
    {"Noise Shaping", kSlotNoiseShaping},
    {"Stereo Mode", kSlotLameStereoMode},
    {"Unwise Settings Used", kSlotUnwise},
    {"Input Frequency", kSlotInputFrequency},
}};

void AppendBlanks(std::string& out, std::size_t used, std::size_t width) {
    if (used < width) {
        out.append(width - used, ' ');
    }
}

// "Label               : value"; a label of the full width or more gets no blanks.
void AppendProperty(std::string& out, std::string_view label, std::string_view value) {
    out += label;
    AppendBlanks(out, Utf8CharCount(label), kLabelWidth);
    out += ": ";
    out += value;
    out += kLineEnd;
}

// "%.1f%%" without printf: the GUI runs under the user's locale, whose decimal comma must not
// leak into a report that is the same everywhere.
std::string ShareText(double percent) {
    std::array<char, 64> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), percent,
                                      std::chars_format::fixed, 1);
    std::string text(buffer.data(), result.ptr);
    text += '%';
    return text;
}

void AppendRightAligned(std::string& out, std::string_view text, std::size_t width) {
    AppendBlanks(out, text.size(), width);
    out += text;
}

void AppendBitrateRows(std::string& out, const Mp3Info& record) {
    const auto shown = std::span(record.bitrateHist).first(kShownBitrateIndices);
    std::uint64_t maxCount = *std::max_element(shown.begin(), shown.end());
    if (maxCount == 0) {
        maxCount = 1;
    }
    for (int index = 0; index < kShownBitrateIndices; ++index) {
        const std::uint64_t count = shown[static_cast<std::size_t>(index)];
        if (count == 0) {
            continue;
        }
        AppendRightAligned(out, std::to_string(BitrateKbps(record.layer, record.mpeg1, index)),
                           kBitrateWidth);
        out += "     ";
        const auto bar = static_cast<std::size_t>(count * kLongestBar / maxCount);
        out.append(bar, '|');
        out.append(kBarField - bar, ' ');
        // The engine counts every walked frame, so a count without frames cannot come from a
        // scan; it reads as no share rather than as a division by zero.
        const double percent =
            record.frameCount > 0 ? static_cast<double>(count) * 100.0 / record.frameCount : 0.0;
        AppendRightAligned(out, ShareText(percent), kShareWidth);
        out += kLineEnd;
    }
}

}  // namespace

std::string BuildReport(const AttributeTexts& texts, const Mp3Info& record,
                        std::string_view versionText) {
    std::string banner = "--[ ";
    banner += versionText;
    banner += " ]--[ ";
    banner += kVornikWebAddress;
    banner += " ]--";
    const std::string rule(Utf8CharCount(banner), '-');

    // The title is the file's own name. Paths from Windows-era callers separate folders with
    // a backslash; paths here with a slash.
    std::string_view title = texts[kSlotName];
    if (const std::size_t separator = title.find_last_of("\\/");
        separator != std::string_view::npos) {
        title.remove_prefix(separator + 1);
    }

    std::string out;
    out += title;
    out += kLineEnd;
    out.append(Utf8CharCount(title), '-');
    out += kLineEnd;
    out += kLineEnd;

    out += "Bitrates:";
    out += kLineEnd;
    out += rule;
    out += kLineEnd;
    AppendBitrateRows(out, record);
    out += rule;
    out += kLineEnd;
    out += kLineEnd;

    AppendProperty(out, "Type", texts[kSlotType]);
    AppendProperty(out, "Bitrate", texts[kSlotBitrate]);
    AppendProperty(out, "Mode", texts[kSlotStereoMode]);
    AppendProperty(out, "Frequency", texts[kSlotFrequency] + " Hz");
    AppendProperty(out, "Frames", texts[kSlotFrames]);
    AppendProperty(out, "Length", texts[kSlotLength]);
    AppendProperty(out, "Max. Reservoir", texts[kSlotMaxReservoir]);
    AppendProperty(out, "Av. Reservoir", texts[kSlotAvgReservoir]);
    AppendProperty(out, "Emphasis", texts[kSlotEmphasis]);
    AppendProperty(out, "Scalefac", texts[kSlotScalefac]);
    AppendProperty(out, "Bad Last Frame", texts[kSlotBadLastFrame]);
    AppendProperty(out, "Encoder", texts[kSlotEncoder]);

    // A Lame tag's fields mean something only behind the Xing/Info header that carries it.
    if (record.hasXing && record.lameTagValid) {
        out += kLineEnd;
        out += "Lame Header:";
        out += kLineEnd;
        out += kLineEnd;
        for (const LameLine& line : kLameLines) {
            AppendProperty(out, line.label, texts[line.slot]);
        }
    } else {
        AppendProperty(out, "Lame Header", "No");
    }

    out += kLineEnd;
    out += banner;
    out += kLineEnd;
    return out;
}

}  // namespace vornik
