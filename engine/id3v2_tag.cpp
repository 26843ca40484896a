// SPDX-License-Identifier: GPL-3.0-or-later
#include "id3v2_tag.h"

#include <algorithm>
#include <span>
#include <string_view>
#include <utility>

#include "byte_reader.h"

namespace vornik {
namespace {

constexpr std::uint8_t kUnsynchronisationFlag = 0x80;
constexpr std::uint8_t kExtendedHeaderFlag = 0x40;
// Unsynchronised 2.2 and 2.3 tags are copied whole; beyond this their frames are not read.
constexpr std::int64_t kMaxUnsynchronisedTag = 16 << 20;
// ID3v2.4 frame format flags.
constexpr std::uint8_t kFrameUnsynchronised = 0x02;
constexpr std::uint8_t kFrameDataLengthIndicator = 0x01;
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

// Unsynchronisation puts a zero byte after every 0xFF so that no false sync word appears;
// taking it out gives the bytes back.
std::vector<std::uint8_t> RemoveUnsynchronisation(std::span<const std::uint8_t> bytes) {
    std::vector<std::uint8_t> out;
    out.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        out.push_back(bytes[i]);
        if (bytes[i] == 0xFF && i + 1 < bytes.size() && bytes[i + 1] == 0x00) {
            ++i;
        }
    }
    return out;
}

// A 2.4 frame's data as it was before the frame's own unsynchronisation and with the data
// length indicator, four syncsafe bytes in front, taken off.
void UndoFrameFormat(Id3v2Frame& frame) {
    const std::uint8_t format = frame.flags[1];
    if ((format & kFrameUnsynchronised) != 0) {
        frame.data = RemoveUnsynchronisation(frame.data);
    }
    if ((format & kFrameDataLengthIndicator) != 0) {
        frame.data.erase(frame.data.begin(),
                         frame.data.begin() + static_cast<std::ptrdiff_t>(
                                                  std::min<std::size_t>(4, frame.data.size())));
    }
}

}  // namespace

Id3v2Tag::TagBody::TagBody(FileReader& reader, std::int64_t offset, std::int64_t size)
    : reader_(&reader), offset_(offset), size_(size) {}

Id3v2Tag::TagBody::TagBody(std::vector<std::uint8_t> bytes)
    : copy_(std::move(bytes)), size_(static_cast<std::int64_t>(copy_.size())) {}

std::size_t Id3v2Tag::TagBody::readAt(std::int64_t position, std::uint8_t* out, std::size_t count) {
    if (position < 0 || position >= size_) {
        return 0;
    }
    const std::size_t available =
        std::min<std::size_t>(count, static_cast<std::size_t>(size_ - position));
    if (reader_ != nullptr) {
        return reader_->readAt(offset_ + position, out, available);
    }
    std::copy_n(copy_.begin() + static_cast<std::ptrdiff_t>(position), available, out);
    return available;
}

void Id3v2Tag::Clear() {
    std::string path = std::move(path_);
    *this = Id3v2Tag{};
    path_ = std::move(path);
}

bool Id3v2Tag::Read(const std::string& path) {
    Clear();
    path_ = path;
    FileReader reader;
    if (path.empty() || !reader.open(path)) {
        return false;
    }
    return Read(reader);
}

bool Id3v2Tag::Read(FileReader& reader) {
    Clear();
    path_ = reader.path();
    TagHeader header;
    if (!reader.isOpen() || !ReadTagHeader(reader, header)) {
        return false;
    }
    majorVersion_ = header.majorVersion;
    revision_ = header.revision;
    flags_ = header.flags;
    extendedHeader_ = (flags_ & kExtendedHeaderFlag) != 0;
    size_ = header.size;
    present_ = true;
    ReadFrames(reader);
    return true;
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
    const std::int64_t bodySize = std::max<std::int64_t>(
        0, std::min<std::int64_t>(size_, reader.size() - static_cast<std::int64_t>(kHeaderSize)));
    // ID3v2.2 and 2.3 unsynchronise the whole tag, frame headers included: its frames can be
    // found only in a copy with the stuffed zero bytes taken out. 2.4 does it frame by frame.
    if ((flags_ & kUnsynchronisationFlag) != 0 && majorVersion_ < 4) {
        std::vector<std::uint8_t> copy(
            static_cast<std::size_t>(std::min<std::int64_t>(bodySize, kMaxUnsynchronisedTag)));
        copy.resize(reader.readAt(kHeaderSize, copy.data(), copy.size()));
        copy = RemoveUnsynchronisation(copy);
        TagBody body(std::move(copy));
        ReadFrames(body);
        return;
    }
    TagBody body(reader, kHeaderSize, bodySize);
    ReadFrames(body);
}

void Id3v2Tag::ReadFrames(TagBody& body) {
    const std::int64_t end = body.size();
    std::int64_t position = 0;
    // ID3v2.4 writes the frame sizes syncsafe; 2.3 writes them as plain 32-bit numbers. Read
    // plainly, a 2.4 size of 128 bytes or more comes out too large and loses the frames after it.
    const bool syncsafeSizes = majorVersion_ == 4;
    // ID3v2.2: three-letter ids and three-byte sizes, no flags.
    const bool shortHeaders = majorVersion_ == 2;
    const std::size_t frameHeaderSize = shortHeaders ? 6 : kHeaderSize;

    if (extendedHeader_ && !shortHeaders) {
        std::array<std::uint8_t, 4> raw{};
        if (body.readAt(position, raw.data(), raw.size()) != raw.size()) {
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
    while (end - position >= static_cast<std::int64_t>(frameHeaderSize) &&
           frames_.size() < kMaxFrames) {
        std::array<std::uint8_t, kHeaderSize> raw{};
        if (body.readAt(position, raw.data(), frameHeaderSize) != frameHeaderSize) {
            break;
        }
        if (raw[0] == 0) {
            break;  // padding: zero bytes up to the end of the tag
        }
        ByteReader fields(std::span<const std::uint8_t>(raw.data(), frameHeaderSize));
        Id3v2Frame frame;
        if (shortHeaders) {
            frame.id = fields.text(3);
            const std::uint32_t high = fields.u8();
            frame.size = high << 16 | fields.u16be();
        } else {
            frame.id = fields.text(4);
            const std::uint32_t declared = fields.u32be();
            frame.size = syncsafeSizes ? FromSyncsafe(declared) : declared;
            frame.flags = {fields.u8(), fields.u8()};
        }
        position += static_cast<std::int64_t>(frameHeaderSize);
        if (frame.size > end - position) {
            break;  // a frame cut short by the end of the tag or the file ends the list
        }
        const std::size_t keep = std::min<std::size_t>(frame.size, kMaxKeptData);
        frame.data.resize(keep);
        if (body.readAt(position, frame.data.data(), keep) != keep) {
            break;
        }
        position += frame.size;
        if (syncsafeSizes) {
            UndoFrameFormat(frame);
        }
        frames_.push_back(std::move(frame));
    }
}

int Id3v2Tag::FindCueSheet(std::string* idText) const {
    // Cue sheets are embedded as a general encapsulated object described as "CUESHEET". The
    // whole frame is searched, zero bytes included, so the text counts wherever it stands: in
    // the MIME type, the file name, the description or the object itself, in ISO-8859-1 or
    // UTF-8 as in UTF-16 of either byte order.
    static constexpr std::string_view kMarker = "CUESHEET";
    static const std::array<std::vector<std::uint8_t>, 3> kForms = [] {
        std::array<std::vector<std::uint8_t>, 3> forms;
        for (const char c : kMarker) {
            const auto byte = static_cast<std::uint8_t>(c);
            forms[0].push_back(byte);
            forms[1].insert(forms[1].end(), {byte, 0});
            forms[2].insert(forms[2].end(), {0, byte});
        }
        return forms;
    }();
    for (std::size_t i = 0; i < frames_.size(); ++i) {
        if (frames_[i].id != "GEOB") {
            continue;
        }
        if (idText != nullptr) {
            *idText = "GEOB";
        }
        const std::vector<std::uint8_t>& data = frames_[i].data;
        for (const std::vector<std::uint8_t>& form : kForms) {
            if (std::search(data.begin(), data.end(), form.begin(), form.end()) != data.end()) {
                return static_cast<int>(i);
            }
        }
        return -1;
    }
    return -1;
}

}  // namespace vornik
