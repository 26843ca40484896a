// SPDX-License-Identifier: GPL-3.0-or-later
// A read-only file with a position, read through one block buffer of its own.
#pragma once

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

namespace vornik {

// The frame walk touches a few dozen bytes per frame, far apart; reading them out of large
// blocks costs one system call per block instead of one per seek. Blocks are read only when
// a byte of them is asked for, so a search that stops early reads little.
class FileReader {
  public:
    FileReader() = default;
    ~FileReader();
    FileReader(const FileReader&) = delete;
    FileReader& operator=(const FileReader&) = delete;

    // Opens `path` read-only and learns its size; false when it cannot be opened or is not a
    // regular file. A named pipe or a device is refused before anything is read from it, so
    // that nothing waits on a writer that never comes or reads without end.
    bool open(const std::string& path);
    // Why the last open failed, in a few words: "is a folder", "is not a regular file" or
    // "cannot open the file: " and the system's reason; empty after a successful open.
    std::string openError() const;
    // The last open failed because nothing is at the path.
    bool missing() const { return failure_ == OpenFailure::System && failureErrno_ == ENOENT; }
    void close();
    bool isOpen() const { return file_ != nullptr; }

    const std::string& path() const { return path_; }
    std::int64_t size() const { return size_; }
    std::int64_t tell() const { return position_; }
    // Any position may be set, also past the end; reads there find nothing.
    void seek(std::int64_t position) { position_ = position < 0 ? 0 : position; }

    // Copies up to `count` bytes at `position` into `out` without moving; returns how many
    // exist there (fewer near the end of the file, 0 past it).
    std::size_t readAt(std::int64_t position, std::uint8_t* out, std::size_t count);
    // As readAt, at the current position, which then moves past the bytes copied.
    std::size_t read(std::uint8_t* out, std::size_t count);

    // The four bytes at `position`, first byte most significant. Bytes past the end of the
    // file read as 0xFF, as end-of-file reads of a C stream do, which no header accepts.
    std::uint32_t headerAt(std::int64_t position);

  private:
    bool loadBlock(std::int64_t position);

    static constexpr std::size_t kBlockSize = 256 * 1024;

    enum class OpenFailure { None, System, Folder, NotRegularFile };

    std::FILE* file_ = nullptr;
    std::string path_;
    OpenFailure failure_ = OpenFailure::None;
    int failureErrno_ = 0;
    std::int64_t size_ = 0;
    std::int64_t position_ = 0;
    std::unique_ptr<std::uint8_t[]> block_;  // no larger than the file
    std::size_t blockCapacity_ = 0;
    std::int64_t blockStart_ = 0;
    std::size_t blockLength_ = 0;
};

}  // namespace vornik
