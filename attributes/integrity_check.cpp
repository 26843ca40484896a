// SPDX-License-Identifier: GPL-3.0-or-later
#include "integrity_check.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace vornik {
namespace {

constexpr std::uint32_t kXingFramesFlag = 0x01;
constexpr std::uint32_t kXingBytesFlag = 0x02;
constexpr std::size_t kTimesShown = 5;

// " at 0:01.250, 0:07.000 and 3 more" for the first recorded times of `count` events.
template <std::size_t N>
std::string Times(const std::array<std::uint32_t, N>& times, int count) {
    std::string text;
    const std::size_t recorded = std::min<std::size_t>(static_cast<std::size_t>(count), N);
    const std::size_t shown = std::min(recorded, kTimesShown);
    for (std::size_t i = 0; i < shown; ++i) {
        text += (i == 0 ? " at " : ", ") + FindingTime(times[i]);
    }
    if (static_cast<std::size_t>(count) > shown) {
        text += " and " + std::to_string(static_cast<std::size_t>(count) - shown) + " more";
    }
    return text;
}

std::string Plural(std::int64_t count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

void CheckCounts(const Mp3Info& r, std::vector<std::string>& findings) {
    const std::int64_t walkedBytes = std::min(r.audioEnd, r.fileSize) - r.audioStart;
    // LAME counts the frames after its tag frame; some repair tools count the tag frame too.
    // Either convention is sound; a count that fits neither is a finding.
    if (XingFrameCounting(r) == "neither") {
        findings.push_back("Xing header counts " + std::to_string(r.xingFrames) +
                           " frames, the stream has " + std::to_string(r.decodedFrames));
    }
    // The byte count covers the whole stream, the tag frame included.
    if (r.hasXing && (r.xingFlags & kXingBytesFlag) != 0 &&
        static_cast<std::int64_t>(r.xingBytes) != walkedBytes) {
        findings.push_back("Xing header counts " + std::to_string(r.xingBytes) +
                           " bytes, the stream has " + std::to_string(walkedBytes));
    }
    // VBRI counts may or may not include its own frame.
    if (r.hasVbri && static_cast<std::int64_t>(r.vbriFrames) != r.decodedFrames &&
        static_cast<std::int64_t>(r.vbriFrames) != r.decodedFrames + 1) {
        findings.push_back("VBRI header counts " + std::to_string(r.vbriFrames) +
                           " frames, the stream has " + std::to_string(r.decodedFrames + 1));
    }
    if (r.hasVbri && static_cast<std::int64_t>(r.vbriBytes) != walkedBytes) {
        findings.push_back("VBRI header counts " + std::to_string(r.vbriBytes) +
                           " bytes, the stream has " + std::to_string(walkedBytes));
    }
}

}  // namespace

std::string XingFrameCounting(const Mp3Info& r) {
    if (!r.hasXing || (r.xingFlags & kXingFramesFlag) == 0 || !r.scanComplete) {
        return {};
    }
    const auto counted = static_cast<std::int64_t>(r.xingFrames);
    if (counted == r.decodedFrames) {
        return "without its own frame";
    }
    if (counted == r.decodedFrames + 1) {
        return "with its own frame";
    }
    return "neither";
}

std::string FindingTime(std::uint64_t milliseconds) {
    char text[48];
    std::snprintf(text, sizeof text, "%llu:%02llu.%03llu",
                  static_cast<unsigned long long>(milliseconds / 60000),
                  static_cast<unsigned long long>(milliseconds / 1000 % 60),
                  static_cast<unsigned long long>(milliseconds % 1000));
    return text;
}

std::vector<std::string> IntegrityFindings(const Mp3Info& r) {
    std::vector<std::string> findings;
    if (r.leadingJunk > 0) {
        findings.push_back(Plural(r.leadingJunk, "byte", "bytes") +
                           " of junk before the first frame");
    }
    if (r.syncErrors > 0) {
        findings.push_back(Plural(r.syncErrors, "sync error", "sync errors") +
                           Times(*r.syncErrorTimes, r.syncErrors));
    }
    if (r.crcErrors > 0) {
        findings.push_back(Plural(r.crcErrors, "frame", "frames") + " of " +
                           std::to_string(r.crcFrames) + " failing their CRC" +
                           Times(*r.crcErrorTimes, r.crcErrors));
    }
    if (r.lameTagValid && r.musicCrcDone && !r.musicCrcOk) {
        findings.push_back("music CRC does not match the Lame tag");
    }
    CheckCounts(r, findings);
    // A complete walk knows where the stream ends; a budgeted one has only the check of the
    // file's last 320 KiB. Zeros after the audio (a preallocated download) are data after
    // the last frame, not a frame cut short.
    const bool walkedToTheEnd = r.scanComplete && r.audioEnd > 0;
    if (walkedToTheEnd ? r.audioEnd > r.endTagsStart : !r.lastFrameOk) {
        findings.push_back("last frame cut short");
    } else if (r.audioEnd < r.endTagsStart) {
        findings.push_back(Plural(r.endTagsStart - r.audioEnd, "byte", "bytes") +
                           " of unknown data after the last frame");
    }
    return findings;
}

std::string VerdictOf(const std::vector<std::string>& findings) {
    std::string verdict;
    for (const std::string& finding : findings) {
        verdict += (verdict.empty() ? "" : "; ") + finding;
    }
    return verdict.empty() ? "OK" : verdict;
}

std::string IntegrityVerdict(const Mp3Info& r) {
    return VerdictOf(IntegrityFindings(r));
}

}  // namespace vornik
