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
            length = n - p >= 4 ? DecodeHeader(reader_.headerAt(origin + p), header) : 0;
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
        const std::uint32_t length = DecodeHeader(reader_.headerAt(p), header);
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
