// SPDX-License-Identifier: GPL-3.0-or-later
#include "encoder_identification.h"

#include <numeric>

namespace vornik {
namespace {

constexpr int kStereo = 0;
constexpr int kJointStereo = 1;
constexpr int kDualChannel = 2;

// Stereo mode histogram entries.
constexpr std::size_t kPlainFrames = 0;
constexpr std::size_t kIntensityOnly = 1;
constexpr std::size_t kMidSideAndIntensity = 3;

// FhG's encoders pad the end of the last frame: fastenc's low quality mode with zeros,
// l3enc with 0xFF, fastenc's better modes so that the ten bytes add up to 160.
std::string FhgByTail(const Mp3Info& r) {
    const unsigned sum = std::accumulate(r.lastFrameTail.begin(), r.lastFrameTail.end(), 0u);
    switch (sum) {
        case 0:
            return "FhG (fastenc, low quality mode)";
        case 10 * 0xFF:
            return "FhG (l3enc)";
        case 160:
            return "FhG (fastenc, medium or high quality mode)";
        default:
            return "FhG (l3enc or fastenc)";
    }
}

// No short blocks anywhere: encoders without block switching, or inputs that never needed it.
std::string WithoutShortBlocks(const Mp3Info& r) {
    if (r.channelMode == kDualChannel) {
        return r.scfsiUsed || r.scalefacScaleCount > 0 ? "Unknown" : "Shine";
    }
    if (r.stereoModeHist[kIntensityOnly] != 0 || r.stereoModeHist[kMidSideAndIntensity] != 0) {
        return "Xing (very old)";
    }
    if (r.scfsiUsed) {
        return "Xing (new)";
    }
    if (r.channelMode == kJointStereo) {
        if (r.stereoModeHist[kPlainFrames] == 0) {
            return r.paddingUsed && !r.original && !r.copyright ? "QDesign (fast mode)" : "Unknown";
        }
        if (!r.paddingUsed) {
            return "FhG (ACM or producer pro)";
        }
        return r.original ? "FhG (l3enc)" : "FhG (fastenc or mp3enc)";
    }
    if (r.channelMode == kStereo && r.scalefacScaleCount == 0 && !r.original) {
        return "Plugger";
    }
    return "Xing (old)";
}

std::string WithShortBlocks(const Mp3Info& r) {
    if (r.scfsiUsed) {
        return r.scalefacScaleCount > 0 ? "Gogo (after 3.0)" : "Lame (old) or m3e";
    }
    if (r.scalefacScaleCount > 0) {
        if (!r.paddingUsed) {
            return r.isVbr ? "FhG (fastenc)" : "FhG (ACM or producer pro)";
        }
        if (r.original) {
            return FhgByTail(r);
        }
        return r.channelMode == kJointStereo && r.stereoModeHist[kIntensityOnly] > 0
                   ? "Thomson mp3PRO Encoder"
                   : "FhG (fastenc or mp3enc)";
    }
    if (r.channelMode == kJointStereo && r.paddingUsed && !r.original && !r.copyright) {
        return "QDesign";
    }
    if (r.isVbr) {
        return "Lame (old)";
    }
    const char* const blade = r.paddingUsed ? "Blade" : "dist10 encoder or other encoder";
    if (r.channelMode == kDualChannel) {
        return blade;
    }
    // Old Gogo is told from Blade and dist10 by its heavier use of the bit reservoir.
    return r.avgMainDataBegin >= 40 ? "Gogo (before 3.0)" : blade;
}

}  // namespace

std::string IdentifyEncoder(const Mp3Info& record) {
    if (!record.signatureText.empty()) {
        return record.signatureText;
    }
    // The rules below read Layer III side information, which Layer I and II frames lack: with
    // empty statistics a twolame file would pass for Shine or Xing.
    if (record.layer != 3) {
        return "Unknown";
    }
    return record.shortBlocks == 0 ? WithoutShortBlocks(record) : WithShortBlocks(record);
}

}  // namespace vornik
