// SPDX-License-Identifier: GPL-3.0-or-later
#include "file_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace vornik {

FileReader::~FileReader() {
    close();
}

bool FileReader::open(const std::string& path) {
    close();
    path_ = path;
    failure_ = OpenFailure::System;
    // Without O_NONBLOCK, opening a named pipe waits for a writer; the flag goes again once the
    // file is known to be a regular one.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        failureErrno_ = errno;
        return false;
    }
    struct stat status {};
    if (::fstat(fd, &status) != 0) {
        failureErrno_ = errno;
        ::close(fd);
        return false;
    }
    if (!S_ISREG(status.st_mode)) {
        failure_ = S_ISDIR(status.st_mode) ? OpenFailure::Folder : OpenFailure::NotRegularFile;
        ::close(fd);
        return false;
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0 ||
        (file_ = ::fdopen(fd, "rb")) == nullptr) {
        failureErrno_ = errno;
        ::close(fd);
        return false;
    }
    // Reads go into our own block; the stream's buffer would only copy them twice.
    std::setvbuf(file_, nullptr, _IONBF, 0);
    failure_ = OpenFailure::None;
    size_ = status.st_size;
    position_ = 0;
    blockLength_ = 0;
    return true;
}

std::string FileReader::openError() const {
    switch (failure_) {
        case OpenFailure::None:
            return {};
        case OpenFailure::Folder:
            return "is a folder";
        case OpenFailure::NotRegularFile:
            return "is not a regular file";
        case OpenFailure::System:
            break;
    }
    return std::string("cannot open the file: ") + std::strerror(failureErrno_);
}

void FileReader::close() {
    if (file_ != nullptr) {
        std::fclose(file_);
        file_ = nullptr;
    }
    size_ = 0;
    position_ = 0;
    blockLength_ = 0;
    blockCapacity_ = 0;
    block_.reset();
}

bool FileReader::loadBlock(std::int64_t position) {
    blockLength_ = 0;
    if (file_ == nullptr || position >= size_) {
        return false;
    }
    if (blockCapacity_ == 0) {
        blockCapacity_ = static_cast<std::size_t>(std::min<std::int64_t>(size_, kBlockSize));
        block_ = std::make_unique_for_overwrite<std::uint8_t[]>(blockCapacity_);
    }
    if (fseeko(file_, static_cast<off_t>(position), SEEK_SET) != 0) {
        return false;
    }
    blockStart_ = position;
    blockLength_ = std::fread(block_.get(), 1, blockCapacity_, file_);
    return blockLength_ > 0;
}

std::size_t FileReader::readAt(std::int64_t position, std::uint8_t* out, std::size_t count) {
    std::size_t copied = 0;
    while (copied < count && position < size_) {
        const std::int64_t offset = position - blockStart_;
        if (blockLength_ == 0 || offset < 0 || offset >= static_cast<std::int64_t>(blockLength_)) {
            if (!loadBlock(position)) {
                break;
            }
            continue;
        }
        const std::size_t available = blockLength_ - static_cast<std::size_t>(offset);
        const std::size_t take = std::min(available, count - copied);
        std::memcpy(out + copied, block_.get() + offset, take);
        copied += take;
        position += static_cast<std::int64_t>(take);
    }
    return copied;
}

std::size_t FileReader::read(std::uint8_t* out, std::size_t count) {
    const std::size_t copied = readAt(position_, out, count);
    position_ += static_cast<std::int64_t>(copied);
    return copied;
}

std::uint32_t FileReader::headerAt(std::int64_t position) {
    std::uint8_t bytes[4] = {0xFF, 0xFF, 0xFF, 0xFF};
    readAt(position, bytes, 4);
    return std::uint32_t{bytes[0]} << 24 | std::uint32_t{bytes[1]} << 16 |
           std::uint32_t{bytes[2]} << 8 | bytes[3];
}

}  // namespace vornik
