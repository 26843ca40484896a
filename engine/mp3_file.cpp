// SPDX-License-Identifier: GPL-3.0-or-later
#include "mp3_file.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "end_tags.h"
#include "frame_header.h"
#include "id3v2_fields.h"
#include "scan_error.h"

namespace vornik {

void FrameSeries::reserve(std::size_t frames) {
    shortBigValues.reserve(frames);
    scalefacScaleFlags.reserve(frames);
    bitrateIndices.reserve(frames);
    mainDataBegins.reserve(frames);
    modeExtensions.reserve(frames);
    blockKinds.reserve(frames);
    framePositions.reserve(frames);
}

bool CMp3File::Open(const std::string& path, const char* /*mode*/) {
    if (!reader_.open(path)) {
        return false;
    }
    id3v2_.Read(reader_);
    return true;
}

bool CMp3File::IsMpegAudio(const std::string& path) {
    CMp3File file;
    if (!file.reader_.open(path)) {
        return false;
    }
    // The middle of the audio, not of the file: cover art in the ID3v2 tag can be most of
    // the file, and the middle of the file then lies inside the picture.
    const std::int64_t size = file.reader_.size();
    std::int64_t audioStart = Id3v2Tag::BytesAtStart(file.reader_);
    std::int64_t audioEnd = size;
    std::uint8_t tag[3];
    if (size >= 128 && file.reader_.readAt(size - 128, tag, sizeof tag) == sizeof tag &&
        std::memcmp(tag, "TAG", 3) == 0) {
        audioEnd = size - 128;
    }
    if (audioStart >= audioEnd) {
        // A tag that claims more than the file holds: no audio region to trust.
        audioStart = 0;
        audioEnd = size;
    }
    file.reader_.seek(audioStart + (audioEnd - audioStart) / 2);
    if (file.FindSync(kChainLength) >= 0) {
        return true;
    }
    // A stream followed by zeros (a download the client preallocated) or with junk in its
    // middle: its frames are at its start.
    file.reader_.seek(audioStart);
    if (file.FindSync(kChainLength) >= 0) {
        return true;
    }
    file.freeFormatLength_ = file.FindFreeFormatLength(audioStart);
    file.reader_.seek(audioStart);
    return file.freeFormatLength_ != 0 && file.FindSync(kChainLength) >= 0;
}

std::int64_t CMp3File::ReadId3v1(Mp3Info& record) {
    constexpr std::size_t kGenre = 127;
    // A file without a tag shows the genre "Unknown".
    record.id3v1Raw[kGenre] = 255;
    std::int64_t start = -1;
    const std::int64_t size = reader_.size();
    std::uint8_t tag[128];
    if (size >= 128 && reader_.readAt(size - 128, tag, sizeof tag) == sizeof tag &&
        std::memcmp(tag, "TAG", 3) == 0) {
        std::memcpy(record.id3v1Raw.data(), tag, sizeof tag);
        record.hasId3v1 = true;
        start = size - 128;
        constexpr std::size_t kTrack = 126;
        if (tag[kTrack] != 0 && tag[kTrack] != ' ') {
            record.id3v1Track = static_cast<std::int8_t>(tag[kTrack]);
        }
    }
    reader_.seek(0);
    return start;
}

bool CMp3File::SkipId3v2(Mp3Info& record) {
    std::uint8_t header[10];
    reader_.seek(0);
    if (reader_.readAt(0, header, sizeof header) != sizeof header ||
        std::memcmp(header, "ID3", 3) != 0) {
        record.hasId3v2 = false;
        return false;
    }
    // Syncsafe: seven bits of each byte, most significant first; the 10-byte header precedes.
    std::int64_t size = 0;
    for (int i = 6; i < 10; ++i) {
        size = size * 128 + (header[i] & 0x7F);
    }
    reader_.seek(10 + size);
    record.hasId3v2 = true;
    return true;
}

bool CMp3File::ProcessFrames(bool walkFrames, Mp3Info& record, int frameLimit, FrameSeries* series,
                             sink* progressSink) {
    record.fileName = reader_.path();
    record.lastFrameOk = false;
    record.lastFrameTail.fill(0);

    record.scanComplete = false;
    record.fileSize = reader_.size();
    if (record.fileSize == 0) {
        return false;
    }
    const std::int64_t id3v1Start = ReadId3v1(record);
    record.endTagsStart = ReadEndTags(reader_, id3v1Start, record);
    SkipId3v2(record);
    ReadId3v2Fields(id3v2_, record);
    record.hasCueSheet = id3v2_.FindCueSheet(nullptr) != -1;
    const std::int64_t audioFrom = reader_.tell();
    freeFormatLength_ = 0;
    if (FindSync(kChainLength) < 0) {
        // No chain of frames of table bitrates: perhaps a free-format stream, whose frame
        // length the search must learn first.
        freeFormatLength_ = FindFreeFormatLength(audioFrom);
        reader_.seek(audioFrom);
        FindSync(kChainLength);
    }
    record.freeFormatLength = static_cast<std::int32_t>(freeFormatLength_);
    ReadVbrHeaders(record);
    const std::int64_t afterHeaders = reader_.tell();
    record.signatureText = FindEncoderSignature(record);
    reader_.seek(afterHeaders);
    if (FindSync(kChainLength) < 0) {
        throw ScanError(kNoHeaderMessage);
    }

    const std::int64_t firstPosition = reader_.tell();
    record.lastFrameOk = CheckLastFrame(firstPosition, record.lastFrameTail);
    reader_.seek(firstPosition);
    if (!record.hasXing) {
        record.audioStart = firstPosition;
    }
    record.leadingJunk =
        std::max<std::int64_t>(0, record.audioStart - Id3v2Tag::BytesAtStart(reader_));
    const std::uint32_t word = reader_.headerAt(firstPosition);
    reader_.seek(firstPosition + 4);
    FrameHeader first;
    const std::uint32_t firstLength = FrameLength(word, first, freeFormatLength_);
    if (firstLength == 0) {
        throw ScanError(kBadFirstHeaderMessage);
    }
    const double firstKbps = first.bitrateIndex == 0
                                 ? FreeFormatKbps(first, freeFormatLength_)
                                 : BitrateKbps(first.layer, first.mpeg1 != 0, first.bitrateIndex);
    record.avgBitrate = static_cast<std::int32_t>(std::lround(firstKbps));
    // A first estimate from the audio's bytes at the first frame's rate; the walk refines it.
    record.duration =
        static_cast<float>(static_cast<double>(AudioBytes(record)) * 8.0 / 1000.0 / firstKbps);

    record.channelMode = first.mode;
    if (record.hasXing) {
        // Some encoders write the Xing/Info frame as plain stereo in front of joint-stereo
        // audio; the stream's mode is that of its first audio frame, where the walk begins.
        FrameHeader audio;
        if (FrameLength(reader_.headerAt(firstPosition + firstLength), audio, freeFormatLength_) !=
            0) {
            record.channelMode = audio.mode;
        }
    }
    record.channels = first.channels;
    record.mpeg1 = first.mpeg1 != 0;
    record.notMpeg25 = first.notMpeg25 != 0;
    record.layer = first.layer;
    record.sampleRate = first.sampleRate;
    if (first.bitrateIndex == 0 && freeFormatLength_ == 0) {
        throw ScanError(kFreeFormatMessage);
    }
    record.copyright = first.copyright != 0;
    record.original = first.original != 0;
    record.emphasis = first.emphasis;
    record.frameCount = 0;

    if (walkFrames) {
        WalkFrames(record, firstPosition + firstLength, id3v1Start, frameLimit, series,
                   progressSink);
    }
    return true;
}

void CMp3File::WalkFrames(Mp3Info& record, std::int64_t start, std::int64_t id3v1Start,
                          int frameLimit, FrameSeries* series, sink* progressSink) {
    record.bitrateHist.fill(0);
    record.stereoModeHist.fill(0);
    record.longBlocks = record.shortBlocks = record.mixedBlocks = 0;
    record.syncErrors = 0;
    record.syncErrorTimes = {};
    record.crcFrames = 0;
    record.decodedFrames = 0;
    record.crcErrors = 0;
    record.crcErrorTimes = {};
    record.sumMainDataBegin = 0;
    record.maxMainDataBegin = 0;
    record.avgMainDataBegin = 0;
    record.scalefacScaleCount = 0;
    record.paddingUsed = false;
    record.scfsiUsed = false;

    const bool limited = frameLimit >= 0;
    std::int64_t expected = start;
    bool syncLost = false;
    bool resynchronised = false;
    for (;;) {
        if (syncLost) {
            if (FindSync(kChainLength) < 0) {
                break;  // no more frames: the end of the audio
            }
            syncLost = false;
            resynchronised = true;
        } else {
            if (resynchronised) {
                // An error counts only once the stream goes on after it.
                resynchronised = false;
                ++record.syncErrors;
                if (record.syncErrors <= kRecordedSyncErrors) {
                    record.syncErrorTimes.Edit()[static_cast<std::size_t>(record.syncErrors - 1)] =
                        static_cast<std::uint32_t>(static_cast<std::uint64_t>(SamplesPerFrame(
                                                       record.layer, record.mpeg1)) *
                                                   static_cast<std::uint64_t>(record.frameCount) *
                                                   1000u /
                                                   static_cast<std::uint64_t>(record.sampleRate));
                }
            }
            reader_.seek(expected);
            if (series != nullptr) {
                series->framePositions.push_back(expected);
            }
        }
        if (expected == id3v1Start || expected >= record.fileSize) {
            break;
        }
        const std::int64_t next = ProcessFrame(record, series);
        if (next < 0) {
            syncLost = true;
        } else {
            expected = next;
            ++record.decodedFrames;
        }
        ++record.frameCount;
        if (progressSink != nullptr && record.frameCount % kProgressInterval == 0 &&
            !Finish(record, progressSink)) {
            return;  // cancelled: scanComplete stays 0
        }
        if (limited && record.frameCount >= frameLimit) {
            break;
        }
    }
    record.scanComplete = !(limited && record.frameCount >= frameLimit);
    record.audioEnd = expected;
    Finish(record, progressSink);
}

}  // namespace vornik
