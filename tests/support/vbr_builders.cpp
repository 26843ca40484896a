// SPDX-License-Identifier: GPL-3.0-or-later
#include "vbr_builders.h"

#include <algorithm>
#include <bit>
#include <span>
#include <stdexcept>

#include "crc16.h"

namespace vornik::test {
namespace {

void PutBe(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
    for (int i = bytes - 1; i >= 0; --i) {
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
}

void PutText(std::vector<std::uint8_t>& out, const std::string& text) {
    out.insert(out.end(), text.begin(), text.end());
}

std::vector<std::uint8_t> LameTagBytes(const LameTagShape& shape) {
    std::vector<std::uint8_t> tag;
    std::string version = shape.version;
    version.resize(9, ' ');
    PutText(tag, version);
    tag.push_back(static_cast<std::uint8_t>(shape.revision << 4 | (shape.vbrMethod & 0x0F)));
    tag.push_back(shape.lowpass);
    tag.insert(tag.end(), shape.peak.begin(), shape.peak.end());
    tag.insert(tag.end(), shape.replayGain.begin(), shape.replayGain.end());
    tag.push_back(static_cast<std::uint8_t>(shape.encFlags << 4 | (shape.athType & 0x0F)));
    tag.push_back(shape.abrBitrate);
    tag.insert(tag.end(), shape.delays.begin(), shape.delays.end());
    tag.push_back(shape.misc);
    tag.insert(tag.end(), shape.gainPreset.begin(), shape.gainPreset.end());
    tag.push_back(shape.presetLow);
    PutBe(tag, shape.musicLength, 4);
    PutBe(tag, shape.musicCrc, 2);
    PutBe(tag, 0, 2);  // tag CRC, filled in when the frame is whole
    return tag;
}

void WriteTagCrc(std::vector<std::uint8_t>& file, std::size_t frameStart, std::size_t tagPosition,
                 bool broken) {
    const std::size_t crcAt = frameStart + tagPosition + 34;
    std::uint16_t crc = Crc16Arc(std::span(file.data() + frameStart, tagPosition + 34));
    if (broken) {
        crc = static_cast<std::uint16_t>(crc ^ 0x5A5A);
    }
    file[crcAt] = static_cast<std::uint8_t>(crc >> 8);
    file[crcAt + 1] = static_cast<std::uint8_t>(crc);
}

std::vector<std::uint8_t> PlaceTag(const FrameShape& frame, const std::vector<std::uint8_t>& tag) {
    std::vector<std::uint8_t> bytes = BuildFrame(frame);
    const std::size_t offset = TagOffset(frame);
    if (offset + tag.size() > bytes.size()) {
        throw std::invalid_argument("the tag does not fit the frame");
    }
    // The tag replaces the side information after the header, as encoders write it.
    std::fill(bytes.begin() + 4, bytes.end(), 0);
    std::copy(tag.begin(), tag.end(), bytes.begin() + static_cast<std::ptrdiff_t>(offset));
    return bytes;
}

}  // namespace

std::size_t TagOffset(const FrameShape& frame) {
    const bool mono = frame.mode == 3;
    if (frame.version == Version::Mpeg1 || frame.version == Version::Reserved) {
        return mono ? 21 : 36;
    }
    return mono ? 13 : 21;
}

std::size_t LameTagPosition(const FrameShape& frame, const XingShape& xing) {
    const std::uint32_t f = xing.flags;
    return TagOffset(frame) + 8 + 4 * ((f & 1) + (f >> 1 & 1) + (f >> 3 & 1)) +
           ((f & 4) != 0 ? 100 : 0);
}

std::vector<std::uint8_t> BuildXingFrame(const FrameShape& frame, const XingShape& xing) {
    std::vector<std::uint8_t> tag;
    PutText(tag, xing.info ? "Info" : "Xing");
    PutBe(tag, xing.flags, 4);
    if ((xing.flags & 1) != 0)
        PutBe(tag, xing.frames, 4);
    if ((xing.flags & 2) != 0)
        PutBe(tag, xing.bytes, 4);
    if ((xing.flags & 4) != 0)
        tag.insert(tag.end(), 100, xing.tocFill);
    if ((xing.flags & 8) != 0)
        PutBe(tag, xing.scale, 4);
    if (xing.lame) {
        const auto lame = LameTagBytes(*xing.lame);
        tag.insert(tag.end(), lame.begin(), lame.end());
    } else {
        PutText(tag, xing.encoderText);
    }
    std::vector<std::uint8_t> bytes = PlaceTag(frame, tag);
    if (xing.lame) {
        WriteTagCrc(bytes, 0, LameTagPosition(frame, xing), xing.lame->breakTagCrc);
    }
    return bytes;
}

std::vector<std::uint8_t> BuildVbriFrame(const FrameShape& frame, const VbriShape& vbri) {
    std::vector<std::uint8_t> tag;
    PutText(tag, "VBRI");
    PutBe(tag, vbri.unknown1, 2);
    PutBe(tag, vbri.unknown2, 2);
    PutBe(tag, vbri.scale, 2);
    PutBe(tag, vbri.bytes, 4);
    PutBe(tag, vbri.frames, 4);
    PutBe(tag, vbri.tocSize, 2);
    PutBe(tag, vbri.unknown3, 2);
    PutBe(tag, vbri.unknown4, 2);
    PutBe(tag, vbri.framesPerEntry, 2);
    for (const std::uint16_t entry : vbri.toc) {
        PutBe(tag, entry, 2);
    }
    return PlaceTag(frame, tag);
}

void PatchLameMusic(std::vector<std::uint8_t>& file, std::size_t frameStart,
                    std::size_t tagPosition, std::uint32_t musicLength, std::uint16_t musicCrc) {
    std::vector<std::uint8_t> fields;
    PutBe(fields, musicLength, 4);
    PutBe(fields, musicCrc, 2);
    std::copy(fields.begin(), fields.end(),
              file.begin() + static_cast<std::ptrdiff_t>(frameStart + tagPosition + 28));
    WriteTagCrc(file, frameStart, tagPosition, false);
}

}  // namespace vornik::test
