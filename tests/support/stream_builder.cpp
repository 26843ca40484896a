// SPDX-License-Identifier: GPL-3.0-or-later
#include "stream_builder.h"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace vornik::test {
namespace {

// The standard's bitrate rows, kbps, index 1..14.
constexpr std::array<std::array<int, 15>, 5> kRows{{
    {0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448},  // MPEG-1 Layer I
    {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384},     // MPEG-1 Layer II
    {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320},      // MPEG-1 Layer III
    {0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256},     // MPEG-2 Layer I
    {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160},          // MPEG-2 II, III
}};

bool IsMpeg1Rows(Version v) {
    return v == Version::Mpeg1 || v == Version::Reserved;
}

int BitrateIndex(const FrameShape& shape) {
    if (shape.kbps == 0) {
        return 0;
    }
    const std::size_t row = IsMpeg1Rows(shape.version) ? static_cast<std::size_t>(shape.layer - 1)
                                                       : (shape.layer == 1 ? 3u : 4u);
    const auto& rates = kRows[row];
    const auto it = std::find(rates.begin() + 1, rates.end(), shape.kbps);
    if (it == rates.end()) {
        throw std::invalid_argument("no such bitrate for this version and layer");
    }
    return static_cast<int>(it - rates.begin());
}

int SamplingIndex(const FrameShape& shape) {
    static constexpr std::array<int, 3> kMpeg1{44100, 48000, 32000};
    static constexpr std::array<int, 3> kMpeg2{22050, 24000, 16000};
    static constexpr std::array<int, 3> kMpeg25{11025, 12000, 8000};
    const auto& rates = shape.version == Version::Mpeg1   ? kMpeg1
                        : shape.version == Version::Mpeg2 ? kMpeg2
                                                          : kMpeg25;
    const auto it = std::find(rates.begin(), rates.end(), shape.sampleRate);
    if (it == rates.end()) {
        throw std::invalid_argument("no such sample rate for this version");
    }
    return static_cast<int>(it - rates.begin());
}

std::uint32_t VersionBits(Version v) {
    switch (v) {
        case Version::Mpeg1:
            return 3;
        case Version::Mpeg2:
            return 2;
        case Version::Mpeg25:
            return 0;
        case Version::Reserved:
            return 1;
    }
    return 3;
}

void WriteSideInfo(BitWriter& bits, const FrameShape& shape) {
    const bool mpeg1 = shape.version == Version::Mpeg1;
    const int channels = shape.channels();
    bits.put(shape.mainDataBegin, mpeg1 ? 9 : 8);
    bits.put(0, mpeg1 ? (channels == 1 ? 5 : 3) : (channels == 1 ? 1 : 2));
    if (mpeg1) {
        for (int ch = 0; ch < channels; ++ch) {
            bits.put(shape.scfsi, 4);
        }
    }
    const int granules = (mpeg1 ? 2 : 1) * channels;
    for (int i = 0; i < granules; ++i) {
        const GranuleShape g = static_cast<std::size_t>(i) < shape.granules.size()
                                   ? shape.granules[static_cast<std::size_t>(i)]
                                   : GranuleShape{};
        bits.put(100, 12);  // part2_3_length
        bits.put(g.bigValues, 9);
        bits.put(150, 8);  // global_gain
        bits.put(0, mpeg1 ? 4 : 9);
        bits.put(g.windowSwitching ? 1 : 0, 1);
        if (g.windowSwitching) {
            bits.put(static_cast<std::uint32_t>(g.blockType), 2);
            bits.put(g.mixed ? 1 : 0, 1);
            bits.put(0, 2 * 5 + 3 * 3);
        } else {
            bits.put(0, 3 * 5 + 4 + 3);
        }
        if (mpeg1) {
            bits.put(0, 1);  // preflag
        }
        bits.put(g.scalefacScale ? 1 : 0, 1);
        bits.put(0, 1);  // count1table_select
    }
}

}  // namespace

void BitWriter::put(std::uint32_t value, int bits) {
    for (int i = bits - 1; i >= 0; --i) {
        if (used_ == 8) {
            bytes_.push_back(0);
            used_ = 0;
        }
        const std::uint32_t bit = (value >> i) & 1u;
        bytes_.back() = static_cast<std::uint8_t>(bytes_.back() | bit << (7 - used_));
        ++used_;
    }
}

std::size_t StandardFrameLength(const FrameShape& shape) {
    const int bps = (shape.kbps == 0 ? 128 : shape.kbps) * 1000;
    const int pad = shape.padding ? 1 : 0;
    if (shape.layer == 1) {
        return static_cast<std::size_t>((12 * bps / shape.sampleRate + pad) * 4);
    }
    const bool halfFrame = shape.layer == 3 && !IsMpeg1Rows(shape.version);
    return static_cast<std::size_t>((halfFrame ? 72 : 144) * bps / shape.sampleRate + pad);
}

std::uint32_t HeaderWord(const FrameShape& shape) {
    BitWriter bits;
    bits.put(0x7FF, 11);
    bits.put(VersionBits(shape.version), 2);
    bits.put(static_cast<std::uint32_t>(4 - shape.layer), 2);
    bits.put(shape.crc ? 0 : 1, 1);
    bits.put(static_cast<std::uint32_t>(BitrateIndex(shape)), 4);
    bits.put(static_cast<std::uint32_t>(SamplingIndex(shape)), 2);
    bits.put(shape.padding ? 1 : 0, 1);
    bits.put(0, 1);
    bits.put(static_cast<std::uint32_t>(shape.mode), 2);
    bits.put(static_cast<std::uint32_t>(shape.modeExtension), 2);
    bits.put(shape.copyright ? 1 : 0, 1);
    bits.put(shape.original ? 1 : 0, 1);
    bits.put(static_cast<std::uint32_t>(shape.emphasis), 2);
    const auto& b = bits.bytes();
    return std::uint32_t{b[0]} << 24 | std::uint32_t{b[1]} << 16 | std::uint32_t{b[2]} << 8 | b[3];
}

std::uint16_t ReferenceFrameCrc(const std::vector<std::uint8_t>& frame, int bits) {
    std::uint16_t crc = 0xFFFF;
    const auto add = [&crc](bool bit) {
        const bool top = (crc & 0x8000) != 0;
        crc = static_cast<std::uint16_t>(crc << 1);
        if (top != bit) {
            crc ^= 0x8005;
        }
    };
    const auto bitAt = [&frame](std::size_t index) {
        const std::size_t byte = index / 8;
        return byte < frame.size() && ((frame[byte] >> (7 - index % 8)) & 1) != 0;
    };
    for (std::size_t i = 16; i < 32; ++i) {
        add(bitAt(i));
    }
    for (std::size_t i = 0; i < static_cast<std::size_t>(bits); ++i) {
        add(bitAt(48 + i));
    }
    return crc;
}

std::vector<std::uint8_t> BuildFrame(const FrameShape& shape) {
    BitWriter bits;
    bits.put(HeaderWord(shape), 32);
    if (shape.crc) {
        bits.put(0, 16);  // sealed below, once the protected bits are written
    }
    if (shape.layer == 3) {
        WriteSideInfo(bits, shape);
    }
    std::vector<std::uint8_t> frame = bits.bytes();
    const int protectedBits =
        shape.layer == 3 ? static_cast<int>(frame.size() - 6) * 8 : shape.layer12ProtectedBits;
    frame.resize(StandardFrameLength(shape), 0);
    if (shape.crc) {
        const std::uint16_t crc =
            ReferenceFrameCrc(frame, protectedBits) ^ (shape.wrongCrc ? 1 : 0);
        frame[4] = static_cast<std::uint8_t>(crc >> 8);
        frame[5] = static_cast<std::uint8_t>(crc & 0xFF);
    }
    return frame;
}

StreamBuilder& StreamBuilder::frames(const FrameShape& shape, int count) {
    const std::vector<std::uint8_t> frame = BuildFrame(shape);
    for (int i = 0; i < count; ++i) {
        data_.insert(data_.end(), frame.begin(), frame.end());
    }
    return *this;
}

StreamBuilder& StreamBuilder::cutFrame(const FrameShape& shape, std::size_t keep) {
    std::vector<std::uint8_t> frame = BuildFrame(shape);
    frame.resize(std::min(keep, frame.size()));
    return bytes(frame);
}

StreamBuilder& StreamBuilder::junk(std::size_t count, std::uint8_t value) {
    data_.insert(data_.end(), count, value);
    return *this;
}

StreamBuilder& StreamBuilder::bytes(const std::vector<std::uint8_t>& data) {
    data_.insert(data_.end(), data.begin(), data.end());
    return *this;
}

StreamBuilder& StreamBuilder::id3v2(std::uint32_t size) {
    const std::vector<std::uint8_t> header{'I',
                                           'D',
                                           '3',
                                           3,
                                           0,
                                           0,
                                           static_cast<std::uint8_t>(size >> 21 & 0x7F),
                                           static_cast<std::uint8_t>(size >> 14 & 0x7F),
                                           static_cast<std::uint8_t>(size >> 7 & 0x7F),
                                           static_cast<std::uint8_t>(size & 0x7F)};
    bytes(header);
    return junk(size);
}

StreamBuilder& StreamBuilder::id3v1(const std::string& title, std::uint8_t track,
                                    std::uint8_t genre) {
    std::vector<std::uint8_t> tag(128, 0);
    tag[0] = 'T';
    tag[1] = 'A';
    tag[2] = 'G';
    std::copy_n(title.begin(), std::min<std::size_t>(title.size(), 30), tag.begin() + 3);
    tag[126] = track;
    tag[127] = genre;
    return bytes(tag);
}

namespace {
std::string NewTempPath(const std::string& suffix) {
    static std::atomic<int> counter{0};
    const auto dir = std::filesystem::temp_directory_path();
    return (dir / ("vornik-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++) +
                   suffix))
        .string();
}
}  // namespace

TempFile::TempFile(const std::vector<std::uint8_t>& data, const std::string& suffix)
    : path_(NewTempPath(suffix)) {
    std::ofstream out(path_, std::ios::binary);
    out.write(reinterpret_cast<const char*>(data.data()),
              static_cast<std::streamsize>(data.size()));
    if (!out) {
        throw std::runtime_error("cannot write " + path_);
    }
}

TempFile::TempFile(const std::string& suffix) : path_(NewTempPath(suffix)) {}

TempFile::~TempFile() {
    std::error_code ignored;
    std::filesystem::remove(path_, ignored);
}

}  // namespace vornik::test
