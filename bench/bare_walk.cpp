// SPDX-License-Identifier: GPL-3.0-or-later
// The floor for a frame walk: read the file in large blocks and follow the header chain,
// nothing else. The benchmark compares vornik-cli's full scan against this.
#include <sys/types.h>

#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

// MPEG-1 Layer III and MPEG-2/2.5 Layer III, Layer II and Layer I rows, kbps.
constexpr int kBitrates[2][3][16] = {
    {{0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448, 0},
     {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384, 0},
     {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0}},
    {{0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256, 0},
     {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0},
     {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0}}};
constexpr int kRates[3][3] = {{44100, 48000, 32000}, {22050, 24000, 16000}, {11025, 12000, 8000}};

int FrameLength(std::uint32_t h) {
    if ((h >> 21) != 0x7FF)
        return 0;
    const int version = (h >> 19) & 3, layerCode = (h >> 17) & 3;
    const int index = (h >> 12) & 15, rateIndex = (h >> 10) & 3, padding = (h >> 9) & 1;
    if (layerCode == 0 || index == 0 || index == 15 || rateIndex == 3 || version == 1)
        return 0;
    const bool mpeg1 = version == 3;
    const int layer = 4 - layerCode;
    const int rate = kRates[mpeg1 ? 0 : (version == 2 ? 1 : 2)][rateIndex];
    const int bps = kBitrates[mpeg1 ? 0 : 1][layer - 1][index] * 1000;
    if (layer == 1)
        return (12 * bps / rate + padding) * 4;
    if (layer == 2 || mpeg1)
        return 144 * bps / rate + padding;
    return 72 * bps / rate + padding;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: bare_walk FILE\n");
        return 2;
    }
    std::FILE* file = std::fopen(argv[1], "rb");
    if (file == nullptr)
        return 1;
    std::vector<std::uint8_t> block(1 << 20);
    // Walk out of a sliding 1 MiB window.
    std::uint64_t base = 0, position = 0, frames = 0;
    std::size_t filled = 0;
    bool synced = false;
    for (;;) {
        if (position + 4 > base + filled) {
            // Slide the window so that `position` is at its start.
            if (fseeko(file, static_cast<off_t>(position), SEEK_SET) != 0)
                break;
            base = position;
            filled = std::fread(block.data(), 1, block.size(), file);
            if (filled < 4)
                break;
        }
        const std::uint8_t* p = block.data() + (position - base);
        const std::uint32_t h =
            std::uint32_t{p[0]} << 24 | std::uint32_t{p[1]} << 16 | std::uint32_t{p[2]} << 8 | p[3];
        const int length = FrameLength(h);
        if (length == 0) {
            if (synced)
                break;   // end of the frame chain
            ++position;  // still looking for the first frame
            continue;
        }
        synced = true;
        ++frames;
        position += static_cast<std::uint64_t>(length);
    }
    std::fclose(file);
    std::printf("%llu frames\n", static_cast<unsigned long long>(frames));
    return 0;
}
