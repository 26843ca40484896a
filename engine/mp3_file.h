// SPDX-License-Identifier: GPL-3.0-or-later
// One MPEG audio file and its scan.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "file_reader.h"
#include "id3v2_tag.h"
#include "mp3_info.h"

namespace vornik {

class CMp3File {
  public:
    // Progress of a scan; the record as it stands at a checkpoint. Answer false to stop the
    // scan.
    class sink {
      public:
        virtual ~sink() = default;
        virtual bool progress(Mp3Info& record) = 0;
    };
    // Progress of a pass over the file's bytes.
    class sink_mini {
      public:
        virtual ~sink_mini() = default;
        virtual void progress(std::uint64_t bytesDone, std::uint64_t bytesInAll) = 0;
        // Asked between blocks: true ends the pass with nothing computed.
        virtual bool cancelled() const { return false; }
    };

    // Every sync search asks for this many frames in a row.
    static constexpr int kChainLength = 5;

    // Opens `path` read-only and reads its ID3v2 frames; false when it cannot be opened.
    // `mode` is accepted for callers that pass "rb"; the file is always read-only and binary.
    bool Open(const std::string& path, const char* mode = "rb");

    // Quick test: a chain of frames from the middle of the audio on, else from its start; the
    // audio is the part of the file between an ID3v2 tag at its start and an ID3v1 tag at
    // its end.
    static bool IsMpegAudio(const std::string& path);

    // The scan: tags, first frame and, with `walkFrames`, the frames after it, up to
    // `frameLimit` walked frames (negative: no limit). False for an empty file, else true,
    // also after the sink stopped it. Throws ScanError when no stream can be found.
    bool ProcessFrames(bool walkFrames, Mp3Info& record, int frameLimit, FrameSeries* series,
                       sink* progressSink);

    // Sync search from the current position over at most kSyncWindow bytes: the offset of a
    // place where `chain` whole frames follow each other, with the position there, or -1.
    std::int64_t FindSync(int chain);

    // True, and the ten bytes before the last complete frame's final byte, when the frame
    // chain at the end of the file closes; false for a cut-short last frame, or no frames.
    // The search starts in the last 320 KiB, never before the first frame at `audioStart`:
    // a tag (a cover) bigger than the audio behind it holds no frames to find.
    bool CheckLastFrame(std::int64_t audioStart, std::array<std::uint8_t, 10>& tail);

    // Counts the frame at the current position into `record` (and `series`); the position of
    // the next frame, or -1 when the frame does not belong to the stream.
    std::int64_t ProcessFrame(Mp3Info& record, FrameSeries* series);

    // Recomputes the music CRC that the Lame tag stores, over the music after the tag frame, on
    // a file whose record a scan has filled. The CRC, or 0 when the tag frame or the frame after
    // it does not decode (then `musicCrcDone` stays 0).
    std::uint16_t ComputeMusicCrc(Mp3Info& record, sink_mini* progressSink);

    FileReader& reader() { return reader_; }
    const Id3v2Tag& id3v2() const { return id3v2_; }

    static constexpr std::int64_t kSyncWindow = 1024000;
    // More than any frame takes: the longest, 640 kbps free format in 16 kHz Layer II or
    // 8 kHz Layer III, is 5,761 bytes.
    static constexpr std::int64_t kLongestFrame = 8192;
    static constexpr std::int64_t kEndWindow = 327680;
    static constexpr int kProgressInterval = 2000;
    static constexpr int kRecordedSyncErrors = 20;
    static constexpr int kRecordedCrcErrors = 20;

  private:
    void WalkFrames(Mp3Info& record, std::int64_t start, std::int64_t id3v1Start, int frameLimit,
                    FrameSeries* series, sink* progressSink);
    // Reads the Xing/Info, Lame and VBRI headers of the frame at the current position, which
    // it keeps.
    void ReadVbrHeaders(Mp3Info& record);
    // The encoder text of the Lame tag, else of the first or the last bytes of the file.
    std::string FindEncoderSignature(const Mp3Info& record);
    std::int64_t ReadId3v1(Mp3Info& record);
    bool SkipId3v2(Mp3Info& record);
    void CopyTail(std::int64_t end, std::array<std::uint8_t, 10>& tail);

    // The length without padding of a free-format frame in the stream at `from` on: the
    // distance from a free-format header to the next header like it, once a chain of frames
    // of that length follows; 0 when the stream has no free-format frames there.
    std::uint32_t FindFreeFormatLength(std::int64_t from);
    // True when kChainLength frames of `length` bytes (free format) follow at `position`.
    bool FreeFormatChainAt(std::int64_t position, std::uint32_t length);

    FileReader reader_;
    Id3v2Tag id3v2_;
    std::uint32_t freeFormatLength_ = 0;  // of the stream being read; 0: not free format
};

// Turns the walk's counts into duration, average bitrate and the VBR flag; the sink's answer,
// or true without one.
bool Finish(Mp3Info& record, CMp3File::sink* progressSink);

// Average bitrate in kbps: from the audio's bytes and the Xing frame count when those fit the
// walk (never above the layer's highest bitrate), else the frame-weighted mean of the bitrate
// histogram (0 when it is empty).
double AverageBitrate(const Mp3Info& record);
// The bytes of the audio: from the first frame to the end of the walked frame chain, or to the
// tags at the end of the file (the Xing byte count where it fits); never the tags' bytes.
std::int64_t AudioBytes(const Mp3Info& record);

}  // namespace vornik
