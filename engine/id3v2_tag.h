// SPDX-License-Identifier: GPL-3.0-or-later
// The ID3v2 tag at the start of a file: its header and its list of frames.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "file_reader.h"

namespace vornik {

struct Id3v2Frame {
    // Four characters, e.g. "TIT2", "APIC", "GEOB"; three in ID3v2.2 ("TT2", "PIC").
    std::string id;
    std::array<std::uint8_t, 2> flags{};  // status and format flag bytes, as stored
    std::uint32_t size = 0;               // declared size of the frame's data, bytes
    // The frame's data, cut to its first Id3v2Tag::kMaxKeptData bytes: cover art runs to many
    // megabytes and nothing here needs more than the start of a frame. `size` stays as declared.
    // Unsynchronisation and ID3v2.4's data length indicator are undone.
    std::vector<std::uint8_t> data;
};

class Id3v2Tag {
  public:
    static constexpr std::size_t kHeaderSize = 10;        // the tag's header, and each frame's
    static constexpr std::size_t kMaxKeptData = 1 << 20;  // bytes of one frame's data kept

    // Reads the tag of the file at `path`; true when a tag header was parsed, else false
    // (empty path, file not readable, or no "ID3" header). Frames that cannot be read end the
    // list quietly.
    bool Read(const std::string& path);
    // As Read(path), through a reader that is already open; reads by absolute position and
    // leaves the reader's position where it was. False when the reader is not open.
    bool Read(FileReader& reader);

    // The bytes a tag at the start of the reader's file takes, its header, footer and padding
    // included, as its header declares them; 0 without a tag. Only the header is read.
    static std::int64_t BytesAtStart(FileReader& reader);

    // Index of the first "GEOB" frame when its data holds the text "CUESHEET", else -1; later
    // GEOB frames are not looked at. Stores "GEOB" in *idText once a GEOB frame is found.
    int FindCueSheet(std::string* idText) const;

    const std::string& path() const { return path_; }
    std::uint8_t majorVersion() const { return majorVersion_; }
    std::uint8_t revision() const { return revision_; }
    std::uint8_t flags() const { return flags_; }
    std::uint32_t size() const { return size_; }  // bytes after the 10-byte header
    bool hasExtendedHeader() const { return extendedHeader_; }
    const std::vector<Id3v2Frame>& frames() const { return frames_; }
    bool present() const { return present_; }

  private:
    // The bytes after the tag's header: read from the file, or from a copy of them.
    class TagBody {
      public:
        TagBody(FileReader& reader, std::int64_t offset, std::int64_t size);
        explicit TagBody(std::vector<std::uint8_t> bytes);
        std::int64_t size() const { return size_; }
        // Up to `count` bytes at `position` of the body, never past its end.
        std::size_t readAt(std::int64_t position, std::uint8_t* out, std::size_t count);

      private:
        FileReader* reader_ = nullptr;
        std::int64_t offset_ = 0;
        std::vector<std::uint8_t> copy_;
        std::int64_t size_ = 0;
    };

    void Clear();
    void ReadFrames(FileReader& reader);
    void ReadFrames(TagBody& body);

    std::string path_;
    std::uint8_t majorVersion_ = 3;  // the "4" of ID3v2.4.0
    std::uint8_t revision_ = 0;      // the "0" of ID3v2.4.0
    std::uint8_t flags_ = 0;         // bit 7 unsynchronisation, 6 extended header, 5 experimental
    std::uint32_t size_ = 0;         // syncsafe in the header; excludes the header itself
    bool extendedHeader_ = false;
    std::vector<Id3v2Frame> frames_;
    bool present_ = false;
};

}  // namespace vornik
