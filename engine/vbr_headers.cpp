// SPDX-License-Identifier: GPL-3.0-or-later
#include "vbr_headers.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "byte_reader.h"
#include "crc16.h"
#include "mp3_file.h"

namespace vornik {
namespace {

// How much of the first frame is read, and how far into it a found magic still counts.
constexpr std::size_t kVbrReadSize = 2000;
constexpr std::size_t kLastMagicPosition = 1892;

// Xing flags: which optional fields follow the flags word.
constexpr std::uint32_t kXingFrames = 0x1;
constexpr std::uint32_t kXingBytes = 0x2;
constexpr std::uint32_t kXingToc = 0x4;
constexpr std::uint32_t kXingScale = 0x8;
constexpr std::size_t kXingTocSize = 100;

// Lame tag layout, from the first character of the version text.
constexpr std::size_t kLameVersionLength = 11;
constexpr std::size_t kLameVersionProven = 9;  // the version text proper, once the CRC holds
constexpr std::size_t kLameFieldsStart = 9;
constexpr std::size_t kLameTagCrcPosition = 34;
constexpr std::size_t kLameTagLength = 36;
constexpr std::uint8_t kLameHighestVbrMethod = 5;

std::string_view Text(std::span<const std::uint8_t> bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

// A C text of at most `count` bytes at `position`: it ends at the first zero byte and at the
// end of what was read.
std::string CText(std::span<const std::uint8_t> frame, std::size_t position, std::size_t count) {
    std::string text;
    for (std::size_t i = position; i < frame.size() && i < position + count && frame[i] != 0; ++i) {
        text += static_cast<char>(frame[i]);
    }
    return text;
}

// First position of `magic` in `bytes`, or npos.
std::size_t Find(std::span<const std::uint8_t> bytes, std::string_view magic) {
    return Text(bytes).find(magic);
}

// The encoder text after the Xing fields names a Lame-layout tag: LAME's own, or FFmpeg's
// ("Lavc" or "Lavf" and its version), which follows the same layout.
bool StartsLameTag(std::string_view encoderText) {
    return encoderText == "LAME" || encoderText == "Lavc" || encoderText == "Lavf";
}

}  // namespace

std::size_t VbrTagOffset(std::span<const std::uint8_t> frame) {
    if (frame.size() < 4) {
        return 0;
    }
    const bool mpeg1 = (frame[1] & 0x08) != 0;
    const bool mono = (frame[3] >> 6) == 3;
    if (mpeg1) {
        return mono ? 21 : 36;
    }
    return mono ? 13 : 21;
}

int ParseXing(Mp3Info& record, std::span<const std::uint8_t> frame, std::int64_t framePosition) {
    record.audioStart = framePosition;
    record.xingFlags = 0;
    const std::size_t tagPosition = VbrTagOffset(frame);
    ByteReader reader(frame);
    reader.seek(tagPosition);
    const std::string magic = reader.text(4);
    if (!reader.ok() || (magic != "Xing" && magic != "Info")) {
        return 0;
    }
    record.xingMpeg1 = (frame[1] >> 3) & 1u;
    static constexpr std::array<std::int32_t, 4> kRates{44100, 48000, 32000, 99999};
    record.xingSampleRate = kRates[(frame[2] >> 2) & 3u];
    if (record.xingMpeg1 == 0) {
        record.xingSampleRate /= 2;
    }
    record.xingFlags = reader.u32be();
    if ((record.xingFlags & kXingFrames) != 0) {
        record.xingFrames = reader.u32be();
    }
    if ((record.xingFlags & kXingBytes) != 0) {
        record.xingBytes = reader.u32be();
    }
    if ((record.xingFlags & kXingToc) != 0) {
        const auto toc = reader.bytes(kXingTocSize);
        record.hasXingToc = toc.size() == kXingTocSize;
        if (record.hasXingToc) {
            std::copy(toc.begin(), toc.end(), record.xingToc.begin());
        }
    }
    record.xingVbrScale = -1;
    if ((record.xingFlags & kXingScale) != 0) {
        const std::uint32_t scale = reader.u32be();
        if (reader.ok()) {
            record.xingVbrScale = static_cast<std::int32_t>(scale);
        }
    }
    const std::size_t encoderPosition = reader.position();
    reader.skip(4);
    if (!reader.ok()) {
        return 1;  // a header cut short by the end of the file: the rest is absent
    }
    record.lameVersion = CText(frame, encoderPosition, 4);
    if (StartsLameTag(record.lameVersion)) {
        ReadLameTag(record, frame, encoderPosition);
    }
    return 1;
}

void ReadLameTag(Mp3Info& record, std::span<const std::uint8_t> frame, std::size_t tagPosition) {
    record.lameVersion = CText(frame, tagPosition, kLameVersionLength);

    ByteReader tag(frame);
    tag.seek(tagPosition + kLameFieldsStart);
    // Each field is stored only when its bytes were read.
    const auto byteField = [&tag](auto& field, auto value) {
        if (tag.ok()) {
            field = static_cast<std::remove_reference_t<decltype(field)>>(value);
        }
    };
    const auto rawField = [&tag](auto& field) {
        const auto raw = tag.bytes(field.size());
        if (tag.ok()) {
            std::copy(raw.begin(), raw.end(), field.begin());
        }
    };
    const std::uint8_t methodByte = tag.u8();
    byteField(record.lameRevision, methodByte >> 4);
    const std::uint8_t method = methodByte & 0x0F;
    byteField(record.lameVbrMethod, method > kLameHighestVbrMethod ? 0 : method);
    const std::uint8_t lowpass = tag.u8();
    byteField(record.lameLowpass, lowpass * 100u);  // stored in units of 100 Hz
    rawField(record.lamePeak);
    rawField(record.lameReplayGain);
    const std::uint8_t flagsAth = tag.u8();
    byteField(record.lameEncFlags, flagsAth >> 4);
    byteField(record.lameAthType, flagsAth & 0x0F);
    const std::uint8_t abr = tag.u8();
    byteField(record.lameAbrBitrate, abr);
    rawField(record.lameDelays);
    const std::uint8_t misc = tag.u8();
    byteField(record.lameNoiseShaping, misc & 0x03);
    byteField(record.lameStereoMode, (misc >> 2) & 0x07);
    byteField(record.lameUnwise, (misc >> 5) & 0x01);
    byteField(record.lameSourceFreq, misc >> 6);
    rawField(record.lameGainPreset);
    const std::uint8_t presetLow = tag.u8();
    byteField(record.lamePresetLow, presetLow);
    const std::uint32_t musicLength = tag.u32be();
    byteField(record.lameMusicLength, musicLength);
    const std::uint16_t musicCrc = tag.u16be();
    byteField(record.lameMusicCrc, musicCrc);
    const std::uint16_t tagCrc = tag.u16be();
    if (!tag.ok()) {
        return;  // the tag runs past the bytes read: its CRC cannot be checked
    }
    record.lameTagCrc = tagCrc;
    if (Crc16Arc(frame.first(tagPosition + kLameTagCrcPosition)) == tagCrc) {
        record.lameTagValid = true;
        if (record.lameVersion.size() > kLameVersionProven) {
            record.lameVersion.resize(kLameVersionProven);
        }
    }
    static_assert(kLameTagCrcPosition + 2 == kLameTagLength);
}

int ParseVbri(Mp3Info& record, std::span<const std::uint8_t> frame) {
    ByteReader reader(frame);
    reader.seek(VbrTagOffset(frame));
    if (reader.text(4) != "VBRI" || !reader.ok()) {
        return 0;
    }
    const std::uint16_t unknown1 = reader.u16be();
    const std::uint16_t unknown2 = reader.u16be();
    const std::uint16_t scale = reader.u16be();
    const std::uint32_t bytes = reader.u32be();
    const std::uint32_t frames = reader.u32be();
    const std::uint16_t tocSize = reader.u16be();
    const std::uint16_t unknown3 = reader.u16be();
    const std::uint16_t unknown4 = reader.u16be();
    const std::uint16_t framesPerEntry = reader.u16be();
    if (!reader.ok()) {
        return 1;  // the header's words run past the bytes read
    }
    record.vbriUnknown1 = unknown1;
    record.vbriUnknown2 = unknown2;
    record.vbriScale = scale;
    record.vbriBytes = bytes;
    record.vbriFrames = frames;
    record.vbriTocSize = tocSize;
    record.vbriUnknown3 = unknown3;
    record.vbriUnknown4 = unknown4;
    record.vbriFramesPerEntry = framesPerEntry;
    // Entries are read as 2-byte words whatever the entry size word says; only those that
    // were read are stored.
    record.vbriToc.clear();
    if (tocSize >= 1 && tocSize <= Mp3Info::kVbriTocMax) {
        for (std::size_t i = 0; i < tocSize; ++i) {
            const std::uint16_t entry = reader.u16be();
            if (!reader.ok()) {
                break;
            }
            record.vbriToc.push_back(entry);
        }
    }
    return 1;
}

void CMp3File::ReadVbrHeaders(Mp3Info& record) {
    const std::int64_t position = reader_.tell();
    std::array<std::uint8_t, kVbrReadSize> buffer;
    const std::size_t got = reader_.readAt(position, buffer.data(), buffer.size());
    const std::span<const std::uint8_t> frame(buffer.data(), got);

    const std::size_t xing = std::min(Find(frame, "Xing"), Find(frame, "Info"));
    record.hasXing = xing <= kLastMagicPosition && ParseXing(record, frame, position) == 1;
    const std::size_t vbri = Find(frame, "VBRI");
    record.hasVbri = vbri <= kLastMagicPosition && ParseVbri(record, frame) == 1;
    reader_.seek(position);
}

}  // namespace vornik
