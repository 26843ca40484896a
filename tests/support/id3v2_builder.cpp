// SPDX-License-Identifier: GPL-3.0-or-later
#include "id3v2_builder.h"

#include <algorithm>
#include <stdexcept>

namespace vornik::test {
namespace {

constexpr std::uint8_t kExtendedHeaderFlag = 0x40;
constexpr std::size_t kHeaderSize = 10;

void PutBigEndian(std::vector<std::uint8_t>& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<std::uint8_t>(value >> shift & 0xFF));
    }
}

// `text` in the GEOB encoding, with its terminator.
void PutText(std::vector<std::uint8_t>& out, std::uint8_t encoding, const std::string& text) {
    const bool wide = encoding == 1 || encoding == 2;
    if (encoding == 1) {
        out.insert(out.end(), {0xFF, 0xFE});
    }
    for (const char c : text) {
        const auto byte = static_cast<std::uint8_t>(c);
        if (encoding == 1) {
            out.insert(out.end(), {byte, 0});
        } else if (encoding == 2) {
            out.insert(out.end(), {0, byte});
        } else {
            out.push_back(byte);
        }
    }
    out.push_back(0);
    if (wide) {
        out.push_back(0);
    }
}

}  // namespace

std::array<std::uint8_t, 4> Syncsafe(std::uint32_t value) {
    if (value >= 1u << 28) {
        throw std::invalid_argument("a syncsafe number holds 28 bits");
    }
    return {static_cast<std::uint8_t>(value >> 21 & 0x7F),
            static_cast<std::uint8_t>(value >> 14 & 0x7F),
            static_cast<std::uint8_t>(value >> 7 & 0x7F), static_cast<std::uint8_t>(value & 0x7F)};
}

Id3v2Builder::Id3v2Builder(int majorVersion)
    : majorVersion_(majorVersion), headerVersion_(static_cast<std::uint8_t>(majorVersion)) {}

void Id3v2Builder::putSize(std::vector<std::uint8_t>& out, std::uint32_t size) const {
    if (majorVersion_ == 4) {
        const auto syncsafe = Syncsafe(size);
        out.insert(out.end(), syncsafe.begin(), syncsafe.end());
    } else {
        PutBigEndian(out, size);
    }
}

void Id3v2Builder::append(const std::string& id, std::uint32_t declaredSize,
                          std::array<std::uint8_t, 2> flags,
                          const std::vector<std::uint8_t>& data) {
    if (id.size() != (majorVersion_ == 2 ? 3u : 4u)) {
        throw std::invalid_argument("frame ids have four characters, three in ID3v2.2");
    }
    body_.insert(body_.end(), id.begin(), id.end());
    if (majorVersion_ == 2) {
        body_.insert(body_.end(), {static_cast<std::uint8_t>(declaredSize >> 16),
                                   static_cast<std::uint8_t>(declaredSize >> 8),
                                   static_cast<std::uint8_t>(declaredSize)});
    } else {
        putSize(body_, declaredSize);
        body_.insert(body_.end(), flags.begin(), flags.end());
    }
    body_.insert(body_.end(), data.begin(), data.end());
    frameEnds_.push_back(body_.size());
}

Id3v2Builder& Id3v2Builder::frame(const std::string& id, const std::vector<std::uint8_t>& data,
                                  std::array<std::uint8_t, 2> flags) {
    append(id, static_cast<std::uint32_t>(data.size()), flags, data);
    return *this;
}

Id3v2Builder& Id3v2Builder::frameDeclaring(const std::string& id, std::uint32_t declaredSize,
                                           const std::vector<std::uint8_t>& data) {
    append(id, declaredSize, {}, data);
    return *this;
}

Id3v2Builder& Id3v2Builder::textFrame(const std::string& id, const std::string& text) {
    std::vector<std::uint8_t> data{0};
    data.insert(data.end(), text.begin(), text.end());
    return frame(id, data);
}

Id3v2Builder& Id3v2Builder::geob(const GeobShape& shape) {
    std::vector<std::uint8_t> data{shape.encoding};
    PutText(data, /*encoding=*/0, shape.mimeType);
    PutText(data, shape.encoding, shape.fileName);
    PutText(data, shape.encoding, shape.description);
    data.insert(data.end(), shape.object.begin(), shape.object.end());
    return frame("GEOB", data);
}

Id3v2Builder& Id3v2Builder::unsynchronise() {
    unsynchronised_ = true;
    return *this;
}

Id3v2Builder& Id3v2Builder::padding(std::size_t count) {
    body_.insert(body_.end(), count, 0);
    return *this;
}

Id3v2Builder& Id3v2Builder::raw(const std::vector<std::uint8_t>& data) {
    body_.insert(body_.end(), data.begin(), data.end());
    return *this;
}

Id3v2Builder& Id3v2Builder::extendedHeader(std::size_t extraBytes) {
    extendedExtra_ = extraBytes;
    return *this;
}

Id3v2Builder& Id3v2Builder::totalSize(std::size_t bodySize) {
    totalSize_ = bodySize;
    return *this;
}

Id3v2Builder& Id3v2Builder::declaredSize(std::uint32_t bodySize) {
    declaredSize_ = bodySize;
    return *this;
}

Id3v2Builder& Id3v2Builder::headerVersion(std::uint8_t major) {
    headerVersion_ = major;
    return *this;
}

Id3v2Builder& Id3v2Builder::revision(std::uint8_t value) {
    revision_ = value;
    return *this;
}

Id3v2Builder& Id3v2Builder::headerFlags(std::uint8_t flags) {
    headerFlags_ = flags;
    return *this;
}

std::vector<std::uint8_t> Id3v2Builder::extendedHeaderBytes() const {
    std::vector<std::uint8_t> out;
    if (!extendedExtra_) {
        return out;
    }
    const std::size_t extra = *extendedExtra_;
    if (majorVersion_ == 4) {
        // Size (counting itself), one byte giving the count of flag bytes, one flag byte.
        putSize(out, static_cast<std::uint32_t>(6 + extra));
        out.insert(out.end(), {1, 0});
    } else {
        // Size (not counting itself), two flag bytes, the padding size.
        PutBigEndian(out, static_cast<std::uint32_t>(6 + extra));
        out.insert(out.end(), {0, 0});
        PutBigEndian(out, 0);
    }
    out.insert(out.end(), extra, 0);
    return out;
}

std::vector<std::uint8_t> Id3v2Builder::bytes() const {
    std::vector<std::uint8_t> body = extendedHeaderBytes();
    body.insert(body.end(), body_.begin(), body_.end());
    if (body.size() > totalSize_ && totalSize_ != 0) {
        throw std::invalid_argument("the tag is larger than its total size");
    }
    body.resize(std::max(body.size(), totalSize_), 0);
    if (unsynchronised_) {
        std::vector<std::uint8_t> stuffed;
        for (const std::uint8_t byte : body) {
            stuffed.push_back(byte);
            // A zero after every 0xFF that a false sync or a stuffed zero could follow.
            if (byte == 0xFF) {
                stuffed.push_back(0);
            }
        }
        body = std::move(stuffed);
    }

    const std::uint8_t flags = static_cast<std::uint8_t>(
        headerFlags_ | (unsynchronised_ ? 0x80 : 0) | (extendedExtra_ ? kExtendedHeaderFlag : 0));
    std::vector<std::uint8_t> out{'I', 'D', '3', headerVersion_, revision_, flags};
    const auto size = Syncsafe(declaredSize_.value_or(static_cast<std::uint32_t>(body.size())));
    out.insert(out.end(), size.begin(), size.end());
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

std::vector<std::size_t> Id3v2Builder::frameEnds() const {
    const std::size_t start = kHeaderSize + extendedHeaderBytes().size();
    std::vector<std::size_t> ends;
    for (const std::size_t end : frameEnds_) {
        ends.push_back(start + end);
    }
    return ends;
}

}  // namespace vornik::test
