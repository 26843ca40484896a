// SPDX-License-Identifier: GPL-3.0-or-later
// MPEG Plus (Musepack) files: the stream header, read into the same record as MPEG audio.
#pragma once

#include <cstdint>
#include <string>

#include "file_reader.h"
#include "mp3_info.h"

namespace vornik {

// The decoded stream header. Fields the file does not hold keep these defaults: 44100 Hz is
// the rate of every stream before version 7 and the first entry of both later rate tables,
// and profile 6 is the number that has no name.
struct MpcHeader {
    std::uint32_t streamVersion = 0;  // 4..7 from the header, 8 for "MPCK" streams
    std::uint32_t bitrate = 0;        // kbps field of streams before version 7, else 0
    std::uint32_t frameCount = 0;     // frames of 1152 samples
    bool midSide = false;             // mid/side stereo coding
    std::uint32_t channels = 2;       // told by version-8 streams only
    std::int64_t fileSize = 0;        // bytes
    // 0 Thumb, 1 Radio, 2 Standard, 3 Xtreme, 4 Insane, higher numbers beyond Insane; 6 also
    // stands for every quality below Thumb and for a stream that names none.
    std::uint32_t profile = 6;
    std::int32_t sampleRate = 44100;  // Hz
    std::uint64_t durationMs = 0;     // frames (or samples) at the sample rate, rounded
};

// Reads the first bytes of an MPEG Plus file. Three layouts exist: streams before version 7
// pack everything into two little-endian words without a magic; version 7 starts with "MP+"
// and a version byte; version 8 starts with "MPCK" and a chain of key/size packets.
class MpcFile {
  public:
    // Opens `path` read-only; false when it cannot be opened. No ID3v2 tag is looked for:
    // these streams start at byte 0.
    bool Open(const std::string& path);

    // Decodes the header from offset 0 into `out`; always 0. Bytes the file lacks (a short or
    // unopened file, a packet cut by the end) leave their fields at MpcHeader's defaults.
    int ReadHeader(MpcHeader& out);

    // Writes the header into `record`'s frame count, duration, file size, sample rate,
    // channel mode, average bitrate (of the bytes before the end tags), stream version and
    // profile, and the tags at the end of the file, and marks it VBR and complete; always 1.
    // The MPEG audio fields keep the caller's zero fill.
    int FillRecord(Mp3Info& record);

    FileReader& reader() { return reader_; }

  private:
    // The tags Musepack taggers write at the end of the file (APE, and Lyrics3 and ID3v1
    // behind it): `apeVersion`, `apeFields`, `hasLyrics3`, `hasId3v1` and `endTagsStart`.
    void ReadTags(Mp3Info& record);

    FileReader reader_;
};

}  // namespace vornik
