// SPDX-License-Identifier: GPL-3.0-or-later
// Turning a walk's counts into duration, average bitrate and the VBR flag.
#include <algorithm>
#include <cmath>

#include "frame_header.h"
#include "mp3_file.h"

namespace vornik {
namespace {

constexpr double kXingPlausibleKbps = 7.0;

// The highest bitrate the stream's layer and version allow: no audio can average more.
double HighestKbps(const Mp3Info& record) {
    return BitrateKbps(record.layer, record.mpeg1, 14);
}

}  // namespace

std::int64_t AudioBytes(const Mp3Info& record) {
    // From the first frame (the Xing frame, when there is one) to the end of the frame chain
    // once it is walked to its end, else to the tags at the end of the file: a cover picture
    // in the ID3v2 tag, or an APE tag, is no audio.
    const std::int64_t end = record.endTagsStart > 0 ? record.endTagsStart : record.fileSize;
    std::int64_t bytes = end - record.audioStart;
    if (record.scanComplete && record.audioEnd > record.audioStart) {
        bytes = std::min(bytes, record.audioEnd - record.audioStart);
    } else if (record.hasXing && (record.xingFlags & 2u) != 0 && record.xingBytes > 0 &&
               record.xingBytes <= static_cast<std::uint64_t>(std::max<std::int64_t>(bytes, 0))) {
        // The encoder's own count, when it fits in the file (a stream cut short has fewer).
        bytes = record.xingBytes;
    }
    return std::max<std::int64_t>(bytes, 0);
}

double AverageBitrate(const Mp3Info& record) {
    // The Xing frame count excludes the tag frame itself, hence + 1 (the audio's bytes begin
    // at the tag frame); it wraps in 32 bits as the stored count does.
    const std::uint32_t xingTotal = record.xingFrames + 1u;
    const auto walked = static_cast<std::int64_t>(record.frameCount);
    if (record.hasXing && xingTotal != 0 && record.sampleRate > 0 &&
        (walked == xingTotal || (walked < xingTotal && !record.scanComplete))) {
        const double seconds = static_cast<double>(SamplesPerFrame(record.layer, record.mpeg1)) *
                               xingTotal / record.sampleRate;
        const double kbps = static_cast<double>(AudioBytes(record)) * 8.0 / (seconds * 1000.0);
        if (kbps > kXingPlausibleKbps && kbps <= HighestKbps(record) + 1.0) {
            return std::min(kbps, HighestKbps(record));
        }
    }
    if (record.freeFormatLength > 0 && record.sampleRate > 0) {
        // Every frame of a free-format stream has the same length, whatever the table says.
        return static_cast<double>(record.freeFormatLength) * 8.0 * record.sampleRate /
               (SamplesPerFrame(record.layer, record.mpeg1) * 1000.0);
    }
    std::uint64_t frames = 0;
    std::uint64_t kbpsSum = 0;
    for (int index = 1; index < 16; ++index) {
        const std::uint32_t count = record.bitrateHist[static_cast<std::size_t>(index)];
        frames += count;
        kbpsSum += std::uint64_t{count} *
                   static_cast<std::uint64_t>(BitrateKbps(record.layer, record.mpeg1, index));
    }
    return frames == 0 ? 0.0 : static_cast<double>(kbpsSum) / static_cast<double>(frames);
}

bool Finish(Mp3Info& record, CMp3File::sink* progressSink) {
    const double kbps = AverageBitrate(record);
    if (record.scanComplete && record.sampleRate > 0) {
        record.duration =
            static_cast<float>(static_cast<double>(SamplesPerFrame(record.layer, record.mpeg1)) *
                               record.frameCount / record.sampleRate);
    } else if (kbps > 0) {
        record.duration =
            static_cast<float>(static_cast<double>(AudioBytes(record)) * 8.0 / (kbps * 1000.0));
    }
    // With no frame counted yet the duration keeps the estimate from the first frame. Rounded:
    // a CBR 128 stream whose padding falls short of a whole byte averages 127.998.
    record.avgBitrate = static_cast<std::int32_t>(std::lround(kbps));

    int lowest = 1;
    while (lowest < 16 && record.bitrateHist[static_cast<std::size_t>(lowest)] == 0) {
        ++lowest;
    }
    record.isVbr = false;
    for (int index = lowest + 1; index < 16; ++index) {
        if (record.bitrateHist[static_cast<std::size_t>(index)] != 0) {
            record.isVbr = true;
        }
    }
    return progressSink != nullptr ? progressSink->progress(record) : true;
}

}  // namespace vornik
