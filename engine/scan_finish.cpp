// Turning a walk's counts into duration, average bitrate and the VBR flag.
#include "frame_header.h"
#include "mp3_file.h"

namespace vornik {
namespace {

constexpr double kXingPlausibleKbps = 7.0;

double FileBits(const Mp3Info& record) {
    return static_cast<double>(record.fileSize) * 8.0;
}

}  // namespace

double AverageBitrate(const Mp3Info& record) {
    // The Xing frame count excludes the tag frame itself, hence + 1; it wraps in 32 bits as
    // the stored count does.
    const std::uint32_t xingTotal = record.xingFrames + 1u;
    const auto walked = static_cast<std::int64_t>(record.frameCount);
    if (record.hasXing && xingTotal != 0 && record.sampleRate > 0 &&
        (walked == xingTotal || (walked < xingTotal && !record.scanComplete))) {
        const double seconds = static_cast<double>(SamplesPerFrame(record.layer, record.mpeg1)) *
                               xingTotal / record.sampleRate;
        const double kbps = FileBits(record) / (seconds * 1000.0);
        if (kbps > kXingPlausibleKbps) {
            return kbps;
        }
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
        record.duration = static_cast<float>(FileBits(record) / (kbps * 1000.0));
    }
    // With no frame counted yet the duration keeps the estimate from the first frame.
    record.avgBitrate = static_cast<std::int32_t>(kbps);

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
