#include "id3v2_tag.h"

#include <algorithm>
#include <span>
#include <string_view>
#include <utility>

#include "byte_reader.h"

namespace vornik {
namespace {

constexpr std::uint8_t kExtendedHeaderFlag = 0x40;
constexpr std::uint8_t kFooterFlag = 0x10;
// Real tags hold dozens of frames; a tag of nothing but empty frames must not fill the memory.
constexpr std::size_t kMaxFrames = 10000;

// Syncsafe numbers keep seven bits in each byte, most significant byte first, so that no byte of
// a tag's sizes can look like the start of an MPEG sync word to a player that does not know ID3.
std::uint32_t FromSyncsafe(std::uint32_t raw) {
    return (raw >> 24 & 0x7F) << 21 | (raw >> 16 & 0x7F) << 14 | (raw >> 8 & 0x7F) << 7 |
           (raw & 0x7F);
}

// The ten bytes that open a tag: "ID3", version, revision, flags and the syncsafe size.
struct TagHeader {
    std::uint8_t majorVersion = 0;
    std::uint8_t revision = 0;
    std::uint8_t flags = 0;
    std::uint32_t size = 0;  // bytes after the header
};

bool ReadTagHeader(FileReader& reader, TagHeader& header) {
    std::array<std::uint8_t, Id3v2Tag::kHeaderSize> bytes{};
    if (reader.readAt(0, bytes.data(), bytes.size()) != bytes.size()) {
        return false;
    }
    ByteReader fields(bytes);
    if (fields.text(3) != "ID3") {
        return false;
    }
    header.majorVersion = fields.u8();
    header.revision = fields.u8();
    header.flags = fields.u8();
    header.size = FromSyncsafe(fields.u32be());
    return true;
}

}  // namespace

void Id3v2Tag::Clear() {
    std::string path = std::move(path_);
    *this = Id3v2Tag{};
    path_ = std::move(path);
}

int Id3v2Tag::Read(const std::string& path) {
    Clear();
    path_ = path;
    FileReader reader;
    if (path.empty() || !reader.open(path)) {
        return 0;
    }
    return Read(reader);
}

int Id3v2Tag::Read(FileReader& reader) {
    Clear();
    path_ = reader.path();
    TagHeader header;
    if (!reader.isOpen() || !ReadTagHeader(reader, header)) {
        return 0;
    }
    majorVersion_ = header.majorVersion;
    revision_ = header.revision;
    flags_ = header.flags;
    extendedHeader_ = (flags_ & kExtendedHeaderFlag) != 0;
    size_ = header.size;
    present_ = true;
    ReadFrames(reader);
    return 1;
}

std::int64_t Id3v2Tag::BytesAtStart(FileReader& reader) {
    TagHeader header;
    if (!ReadTagHeader(reader, header)) {
        return 0;
    }
    // ID3v2.4 may end the tag with a copy of its header.
    const bool footer = header.majorVersion == 4 && (header.flags & kFooterFlag) != 0;
    return static_cast<std::int64_t>(kHeaderSize) * (footer ? 2 : 1) + header.size;
}

void Id3v2Tag::ReadFrames(FileReader& reader) {
    // A tag may claim more bytes than the file holds; its frames end with the file then.
    const std::int64_t end =
        std::min<std::int64_t>(static_cast<std::int64_t>(kHeaderSize) + size_, reader.size());
    std::int64_t position = kHeaderSize;
    // ID3v2.4 writes the frame sizes syncsafe; 2.3 writes them as plain 32-bit numbers. Read
    // plainly, a 2.4 size of 128 bytes or more comes out too large and loses the frames after it.
    const bool syncsafeSizes = majorVersion_ == 4;

    if (extendedHeader_) {
        std::array<std::uint8_t, 4> raw{};
        if (end - position < static_cast<std::int64_t>(raw.size()) ||
            reader.readAt(position, raw.data(), raw.size()) != raw.size()) {
            return;
        }
        const std::uint32_t declared = ByteReader(raw).u32be();
        // 2.4: syncsafe, and the size field counts itself; 2.3: plain, without its own 4 bytes.
        const std::int64_t skip =
            syncsafeSizes ? std::int64_t{FromSyncsafe(declared)} : std::int64_t{declared} + 4;
        if (skip > end - position) {
            return;
        }
        position += skip;
    }

    // Each step checks what is left before it reads, so no frame reaches past the tag or file.
    while (end - position >= static_cast<std::int64_t>(kHeaderSize) &&
           frames_.size() < kMaxFrames) {
        std::array<std::uint8_t, kHeaderSize> raw{};
        if (reader.readAt(position, raw.data(), raw.size()) != raw.size()) {
            break;
        }
        if (raw[0] == 0) {
            break;  // padding: zero bytes up to the end of the tag
        }
        ByteReader fields(raw);
        Id3v2Frame frame;
        frame.id = fields.text(4);
        const std::uint32_t declared = fields.u32be();
        frame.size = syncsafeSizes ? FromSyncsafe(declared) : declared;
        frame.flags = {fields.u8(), fields.u8()};
        position += static_cast<std::int64_t>(kHeaderSize);
        if (frame.size > end - position) {
            break;  // a frame cut short by the end of the tag or the file ends the list
        }
        const std::size_t keep = std::min<std::size_t>(frame.size, kMaxKeptData);
        frame.data.resize(keep);
        if (reader.readAt(position, frame.data.data(), keep) != keep) {
            break;
        }
        position += frame.size;
        frames_.push_back(std::move(frame));
    }
}

int Id3v2Tag::FindCueSheet(std::string* idText) const {
    // Cue sheets are embedded as a general encapsulated object described as "CUESHEET". The
    // whole frame is searched, zero bytes included, so the text counts wherever it stands: in
    // the MIME type, the file name, the description or the object itself.
    static constexpr std::string_view kMarker = "CUESHEET";
    for (std::size_t i = 0; i < frames_.size(); ++i) {
        if (frames_[i].id != "GEOB") {
            continue;
        }
        if (idText != nullptr) {
            *idText = "GEOB";
        }
        const std::vector<std::uint8_t>& data = frames_[i].data;
        const auto found = std::search(data.begin(), data.end(), kMarker.begin(), kMarker.end());
        return found != data.end() ? static_cast<int>(i) : -1;
    }
    return -1;
}

}  // namespace vornik
