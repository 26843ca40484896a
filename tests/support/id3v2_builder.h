// SPDX-License-Identifier: GPL-3.0-or-later
// Builds ID3v2.3 and 2.4 tags byte by byte for tests: header, extended header, frames, GEOB
// objects, padding and sizes that lie.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vornik::test {

// A general encapsulated object, as cue sheets are embedded.
struct GeobShape {
    // 0 ISO-8859-1, 1 UTF-16 with a little-endian byte order mark, 2 UTF-16 big-endian without
    // one, 3 UTF-8; the file name and description are written in it, the MIME type never.
    std::uint8_t encoding = 0;
    std::string mimeType = "application/x-cue";
    std::string fileName;
    std::string description = "CUESHEET";
    std::string object = "FILE \"a.mp3\" MP3\r\n  TRACK 01 AUDIO\r\n    INDEX 01 00:00:00\r\n";
};

class Id3v2Builder {
  public:
    // `majorVersion` 4 writes frame and extended-header sizes syncsafe, 2 three-letter ids and
    // three-byte sizes without flags, anything else plainly.
    explicit Id3v2Builder(int majorVersion = 3);

    // A frame whose size field holds the data's true size.
    Id3v2Builder& frame(const std::string& id, const std::vector<std::uint8_t>& data,
                        std::array<std::uint8_t, 2> flags = {});
    // A frame whose size field says `declaredSize`, whatever the data that follows.
    Id3v2Builder& frameDeclaring(const std::string& id, std::uint32_t declaredSize,
                                 const std::vector<std::uint8_t>& data);
    // A text frame in ISO-8859-1 (encoding byte 0, no terminator).
    Id3v2Builder& textFrame(const std::string& id, const std::string& text);
    Id3v2Builder& geob(const GeobShape& shape = {});
    Id3v2Builder& padding(std::size_t count);
    // Sets the header's unsynchronisation flag and stuffs a zero after every 0xFF of the body,
    // as ID3v2.2 and 2.3 do for the whole tag.
    Id3v2Builder& unsynchronise();
    // Bytes as they stand, after the frames so far.
    Id3v2Builder& raw(const std::vector<std::uint8_t>& data);
    // Sets the header's extended-header flag and writes the smallest extended header of the
    // version before the frames (10 bytes in 2.3, 6 in 2.4), grown by `extraBytes` zero bytes
    // that its size counts.
    Id3v2Builder& extendedHeader(std::size_t extraBytes = 0);
    // Zero padding after everything else up to `bodySize` bytes after the header; throws when
    // the tag is already larger.
    Id3v2Builder& totalSize(std::size_t bodySize);
    // The header's size field, in place of the body's true size.
    Id3v2Builder& declaredSize(std::uint32_t bodySize);
    // The major version in the header, in place of the one the sizes were written for.
    Id3v2Builder& headerVersion(std::uint8_t major);
    Id3v2Builder& revision(std::uint8_t value);
    // Header flag bits besides the extended-header bit (0x40), which extendedHeader() sets.
    Id3v2Builder& headerFlags(std::uint8_t flags);

    // The whole tag, header first.
    std::vector<std::uint8_t> bytes() const;
    // Offsets in bytes() just past each frame's data, in order.
    std::vector<std::size_t> frameEnds() const;

  private:
    std::vector<std::uint8_t> extendedHeaderBytes() const;
    void append(const std::string& id, std::uint32_t declaredSize,
                std::array<std::uint8_t, 2> flags, const std::vector<std::uint8_t>& data);
    void putSize(std::vector<std::uint8_t>& out, std::uint32_t size) const;

    int majorVersion_;
    std::uint8_t headerVersion_;
    std::uint8_t revision_ = 0;
    std::uint8_t headerFlags_ = 0;
    std::optional<std::size_t> extendedExtra_;
    bool unsynchronised_ = false;
    std::optional<std::uint32_t> declaredSize_;
    std::size_t totalSize_ = 0;
    std::vector<std::uint8_t> body_;  // frames, padding and raw bytes, after the extended header
    std::vector<std::size_t> frameEnds_;  // offsets in body_
};

// `value` as a syncsafe 32-bit number: seven bits per byte, most significant first.
std::array<std::uint8_t, 4> Syncsafe(std::uint32_t value);

}  // namespace vornik::test
