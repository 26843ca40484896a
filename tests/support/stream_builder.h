// SPDX-License-Identifier: GPL-3.0-or-later
// Builds MPEG audio streams bit by bit for tests: frame headers, Layer III side information,
// tags, junk and cut frames.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vornik::test {

// Writes fields most significant bit first.
class BitWriter {
  public:
    void put(std::uint32_t value, int bits);
    const std::vector<std::uint8_t>& bytes() const { return bytes_; }

  private:
    std::vector<std::uint8_t> bytes_;
    int used_ = 8;  // bits used in the last byte
};

// One granule-channel of Layer III side information.
struct GranuleShape {
    bool windowSwitching = false;
    int blockType = 0;  // with window switching: 1 start, 2 short, 3 stop
    bool mixed = false;
    bool scalefacScale = false;
    std::uint32_t bigValues = 0;
};

enum class Version { Mpeg1, Mpeg2, Mpeg25, Reserved };

// A frame by its parameters in plain units; the builder finds the header's indices.
struct FrameShape {
    Version version = Version::Mpeg1;
    int layer = 3;
    int kbps = 128;  // 0 writes bitrate index 0 (free format)
    int sampleRate = 44100;
    bool padding = false;
    bool crc = false;  // protection bit 0 and a 16-bit CRC word after the header
    // The CRC covers the Layer III side information the builder writes; for Layers I and II
    // (whose allocation the builder writes as zeros) the bits it covers are given here.
    int layer12ProtectedBits = 0;
    bool wrongCrc = false;  // store the correct CRC with its lowest bit flipped
    int mode = 0;           // 0 stereo, 1 joint, 2 dual, 3 single channel
    int modeExtension = 0;
    bool copyright = false;
    bool original = false;
    int emphasis = 0;

    // Layer III side information; granules in order gr0 ch0, gr0 ch1, gr1 ch0, gr1 ch1.
    std::uint32_t mainDataBegin = 0;
    std::uint32_t scfsi = 0;             // the same 4 bits for each channel (MPEG-1)
    std::vector<GranuleShape> granules;  // missing entries are long blocks

    int channels() const { return mode == 3 ? 1 : 2; }
};

// Frame length in bytes by ISO/IEC 11172-3 and 13818-3 (free format counted as 128 kbps).
std::size_t StandardFrameLength(const FrameShape& shape);
std::uint32_t HeaderWord(const FrameShape& shape);
// CRC-16 (0x8005, initial 0xFFFF) over bytes 2 and 3 of `frame` and `bits` bits from byte 6 on,
// bit by bit as the standard's figure draws it.
std::uint16_t ReferenceFrameCrc(const std::vector<std::uint8_t>& frame, int bits);
// The whole frame: header, CRC word, side information (Layer III) and a zero payload.
std::vector<std::uint8_t> BuildFrame(const FrameShape& shape);

// Joins frames, junk and tags into one file image.
class StreamBuilder {
  public:
    StreamBuilder& frames(const FrameShape& shape, int count);
    StreamBuilder& frame(const FrameShape& shape) { return frames(shape, 1); }
    // The first `keep` bytes of a frame: a frame cut short.
    StreamBuilder& cutFrame(const FrameShape& shape, std::size_t keep);
    StreamBuilder& junk(std::size_t count, std::uint8_t value = 0);
    StreamBuilder& bytes(const std::vector<std::uint8_t>& data);
    // An ID3v2.3 header announcing `size` bytes of tag body, followed by that many zero bytes.
    StreamBuilder& id3v2(std::uint32_t size);
    // A 128-byte ID3v1 tag; `track` is written to byte 126 when it is not 0.
    StreamBuilder& id3v1(const std::string& title = "Title", std::uint8_t track = 0,
                         std::uint8_t genre = 12);

    const std::vector<std::uint8_t>& data() const { return data_; }
    std::size_t size() const { return data_.size(); }

  private:
    std::vector<std::uint8_t> data_;
};

// A file in the test's temporary folder, removed when it goes out of scope.
class TempFile {
  public:
    explicit TempFile(const std::vector<std::uint8_t>& data, const std::string& suffix = ".mp3");
    explicit TempFile(const std::string& suffix);  // an empty name to be written by others
    ~TempFile();
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

}  // namespace vornik::test
