// SPDX-License-Identifier: GPL-3.0-or-later
// The Lame tag's music CRC, recomputed over the file.
#include <algorithm>
#include <memory>

#include "crc16.h"
#include "frame_header.h"
#include "mp3_file.h"

namespace vornik {
namespace {

constexpr std::size_t kMusicBlockSize = 1000000;
constexpr std::int64_t kId3v1Size = 128;

}  // namespace

std::uint16_t CMp3File::ComputeMusicCrc(Mp3Info& record, sink_mini* progressSink) {
    FrameHeader header;
    const std::uint32_t tagFrameLength =
        FrameLength(reader_.headerAt(record.audioStart), header, freeFormatLength_);
    record.xingFrameLength = static_cast<std::int32_t>(tagFrameLength);
    if (tagFrameLength == 0) {
        return 0;
    }
    const std::int64_t musicStart = record.audioStart + tagFrameLength;
    if (FrameLength(reader_.headerAt(musicStart), header, freeFormatLength_) == 0) {
        return 0;
    }
    // The music ends where the tag's music length says, counted from the tag frame, when that
    // lies inside the file: an APE or other tag after the audio is not music. Otherwise it runs
    // to the end of the file, less an ID3v1 tag.
    std::int64_t musicEnd = reader_.size() - (record.hasId3v1 ? kId3v1Size : 0);
    const std::int64_t describedEnd = record.audioStart + record.lameMusicLength;
    if (record.lameMusicLength != 0 && describedEnd > musicStart &&
        describedEnd <= reader_.size()) {
        musicEnd = describedEnd;
    }
    const std::uint64_t total =
        musicEnd > musicStart ? static_cast<std::uint64_t>(musicEnd - musicStart) : 0;

    const auto block = std::make_unique_for_overwrite<std::uint8_t[]>(kMusicBlockSize);
    std::uint16_t crc = 0;
    std::uint64_t done = 0;
    while (done < total) {
        const std::size_t want =
            static_cast<std::size_t>(std::min<std::uint64_t>(kMusicBlockSize, total - done));
        const std::size_t got =
            reader_.readAt(musicStart + static_cast<std::int64_t>(done), block.get(), want);
        crc = Crc16Arc(std::span<const std::uint8_t>(block.get(), got), crc);
        done += got;
        if (progressSink != nullptr) {
            progressSink->progress(done, total);
        }
        if (got < want) {
            break;  // the file shrank under us
        }
        if (progressSink != nullptr && progressSink->cancelled()) {
            return 0;  // musicCrcDone stays false: no verdict
        }
    }
    record.musicCrcOk = crc == record.lameMusicCrc;
    record.musicCrcDone = true;
    return crc;
}

}  // namespace vornik
