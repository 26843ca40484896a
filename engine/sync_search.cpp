// SPDX-License-Identifier: GPL-3.0-or-later
// Finding frames: the sync search and the check of the stream's end.
#include <algorithm>

#include "frame_header.h"
#include "mp3_file.h"

namespace vornik {

std::int64_t CMp3File::FindSync(int chain) {
    const std::int64_t origin = reader_.tell();
    // The search works on the bytes one block read would give; only their count matters, so
    // the bytes themselves are fetched as the search reaches them.
    const std::int64_t available = std::max<std::int64_t>(reader_.size() - origin, 0);
    const std::int64_t n = std::min(available, kSyncWindow);
    // A chain found must be whole: a window with more of the file behind it leaves room for
    // the longest chain; one that ends with the file is searched to its end (frames after
    // 400 KB of junk in the middle of a stream are still found).
    const std::int64_t room = std::int64_t{chain} * kLongestFrame;
    const std::int64_t searched = n == available ? n : std::max<std::int64_t>(n - room, 0);
    FrameHeader header;
    for (std::int64_t start = 0; start < searched; ++start) {
        std::int64_t p = start;
        std::uint32_t length = 1;
        int decoded = 0;
        while (decoded < chain && length != 0) {
            // A header must lie wholly inside the window; only the first of a tiny window can
            // reach past it.
            length = n - p >= 4
                         ? FrameLength(reader_.headerAt(origin + p), header, freeFormatLength_)
                         : 0;
            p += length;
            if (p + 4 >= n) {
                // A chain that runs to the window's end ends the whole search.
                reader_.seek(origin + n);
                return -1;
            }
            ++decoded;
        }
        if (decoded == chain) {
            // The last position needs no valid header, only room inside the window.
            reader_.seek(origin + start);
            return start;
        }
    }
    reader_.seek(origin);
    return -1;
}

std::uint32_t CMp3File::FindFreeFormatLength(std::int64_t from) {
    // The header bits every frame of one stream shares: all but padding, the private bit and
    // the mode extension.
    constexpr std::uint32_t kSameStream = 0xFFFFFCCF;
    constexpr std::int64_t kSearched = 65536;
    const std::int64_t size = reader_.size();
    const std::int64_t end = std::min(size, from + kSearched);
    for (std::int64_t p = std::max<std::int64_t>(from, 0); p + 4 <= end; ++p) {
        const std::uint32_t word = reader_.headerAt(p);
        FrameHeader h;
        if ((word & 0xF000u) != 0 || DecodeHeader(word, h) == 0) {
            continue;  // not a header, or one of a table bitrate
        }
        const std::int64_t slot = h.layer == 1 ? 4 : 1;
        const std::int64_t last = std::min(size - 4, p + kLongestFrame);
        for (std::int64_t q = p + 16; q <= last; ++q) {
            if ((reader_.headerAt(q) & kSameStream) != (word & kSameStream)) {
                continue;
            }
            const auto length = static_cast<std::uint32_t>(q - p - h.padding * slot);
            if (FreeFormatChainAt(p, length)) {
                return length;
            }
        }
    }
    return 0;
}

bool CMp3File::FreeFormatChainAt(std::int64_t position, std::uint32_t length) {
    const std::uint32_t first = reader_.headerAt(position);
    FrameHeader h;
    for (int i = 0; i < kChainLength; ++i) {
        const std::uint32_t word = reader_.headerAt(position);
        const std::uint32_t frame = FrameLength(word, h, length);
        if (frame == 0 || (word & 0xFFFF0C00u) != (first & 0xFFFF0C00u)) {
            return false;
        }
        position += frame;
    }
    return true;
}

void CMp3File::CopyTail(std::int64_t end, std::array<std::uint8_t, 10>& tail) {
    // The ten bytes end one byte before `end`; bytes outside the file stay zero.
    tail.fill(0);
    const std::int64_t first = end - 11;
    for (std::size_t i = 0; i < tail.size(); ++i) {
        const std::int64_t at = first + static_cast<std::int64_t>(i);
        if (at >= 0) {
            reader_.readAt(at, &tail[i], 1);
        }
    }
}

bool CMp3File::CheckLastFrame(std::int64_t audioStart, std::array<std::uint8_t, 10>& tail) {
    const std::int64_t size = reader_.size();
    reader_.seek(std::max(audioStart, size - std::min(size, kEndWindow)));
    if (FindSync(kChainLength) < 0) {
        return false;
    }
    std::int64_t p = reader_.tell();
    FrameHeader header;
    for (;;) {
        const std::uint32_t length = FrameLength(reader_.headerAt(p), header, freeFormatLength_);
        if (length == 0) {
            CopyTail(p, tail);
            return true;
        }
        const std::int64_t q = p + length;
        if (q == size) {
            CopyTail(q, tail);
            return true;
        }
        if (q > size) {
            return false;
        }
        p = q;
    }
}

}  // namespace vornik
