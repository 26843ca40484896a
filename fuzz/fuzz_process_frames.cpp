// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target: the whole scan, the music CRC and the MPEG Plus header over arbitrary bytes.
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "mp3_file.h"
#include "mpc_file.h"
#include "scan_error.h"

namespace {

// The engine reads files by path; an in-memory file keeps each run off the disk.
class MemoryFile {
  public:
    MemoryFile() : fd_(memfd_create("vornik-fuzz", 0)) {}
    std::string write(const std::uint8_t* data, std::size_t size) {
        if (ftruncate(fd_, 0) != 0 || pwrite(fd_, data, size, 0) != static_cast<ssize_t>(size)) {
            __builtin_trap();
        }
        return "/proc/self/fd/" + std::to_string(fd_);
    }

  private:
    int fd_;
};

void Scan(const std::string& path, bool walk, int frameLimit, bool withSeries) {
    vornik::CMp3File file;
    if (!file.Open(path)) {
        return;
    }
    vornik::Mp3Info record{};
    vornik::FrameSeries series;
    try {
        file.ProcessFrames(walk, record, frameLimit, withSeries ? &series : nullptr, nullptr);
        file.ComputeMusicCrc(record, nullptr);
    } catch (const vornik::ScanError&) {
    }
}

void ReadMpegPlus(const std::string& path) {
    vornik::MpcFile file;
    if (file.Open(path)) {
        vornik::Mp3Info record{};
        file.FillRecord(record);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static MemoryFile memory;
    const std::string path = memory.write(data, size);
    Scan(path, /*walk=*/true, /*frameLimit=*/-1, /*withSeries=*/true);
    Scan(path, /*walk=*/true, /*frameLimit=*/3, /*withSeries=*/false);
    Scan(path, /*walk=*/false, /*frameLimit=*/-1, /*withSeries=*/false);
    vornik::CMp3File::IsMpegAudio(path);
    ReadMpegPlus(path);
    return 0;
}
