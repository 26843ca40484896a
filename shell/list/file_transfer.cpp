#include "file_transfer.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <filesystem>

namespace vornik {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kBlock = 1 << 20;

std::string Reason(int error) {
    return std::strerror(error);
}

// A name of its own beside `target`, for the copy on its way.
std::string PartName(const std::string& target) {
    const fs::path path(target);
    return (path.parent_path() / ("." + path.filename().string() + ".vornik-part")).string();
}

// Copies `source` to a new file `part`; 0 or an errno value (ECANCELED when cancelled).
int CopyBytes(const std::string& source, const std::string& part, const std::atomic<bool>& cancel,
              const std::function<void(std::uint64_t)>& advance) {
    const int in = ::open(source.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) {
        return errno;
    }
    const int out = ::open(part.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (out < 0) {
        const int error = errno;
        ::close(in);
        return error;
    }
    std::vector<char> block(kBlock);
    int error = 0;
    while (error == 0) {
        if (cancel) {
            error = ECANCELED;
            break;
        }
        const ssize_t got = ::read(in, block.data(), block.size());
        if (got == 0) {
            break;
        }
        if (got < 0) {
            error = errno == EINTR ? 0 : errno;
            continue;
        }
        for (ssize_t written = 0; written < got && error == 0;) {
            const ssize_t put =
                ::write(out, block.data() + written, static_cast<std::size_t>(got - written));
            if (put < 0) {
                error = errno == EINTR ? 0 : errno;
            } else {
                written += put;
            }
        }
        advance(static_cast<std::uint64_t>(got));
    }
    struct stat from {};
    if (error == 0 && ::fstat(in, &from) == 0) {
        ::fchmod(out, from.st_mode & 07777);
    }
    if (error == 0 && ::fsync(out) != 0) {
        error = errno;
    }
    if (::close(out) != 0 && error == 0) {
        error = errno;
    }
    ::close(in);
    return error;
}

std::uint64_t SizeOf(const std::string& path) {
    std::error_code error;
    const auto size = fs::file_size(path, error);
    return error ? 0 : size;
}

}  // namespace

int SystemRename(const std::string& from, const std::string& to, bool replace) {
    if (replace) {
        return ::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
    }
    return ::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0 ? 0
                                                                                            : errno;
}

TransferResult RunTransfer(const std::vector<TransferItem>& items, bool move,
                           const std::atomic<bool>& cancel,
                           const std::function<void(std::uint64_t, std::uint64_t)>& progress,
                           const RenameCall& rename) {
    TransferResult result;
    std::uint64_t total = 0;
    for (const TransferItem& item : items) {
        total += SizeOf(item.source);
    }
    std::uint64_t done = 0;
    for (const TransferItem& item : items) {
        if (cancel) {
            result.cancelled = true;
            break;
        }
        const std::uint64_t size = SizeOf(item.source);
        if (move) {
            const int error = rename(item.source, item.target, item.replace);
            if (error == 0) {
                result.done.push_back(item.source);
                done += size;
                progress(done, total);
                continue;
            }
            if (error != EXDEV) {
                result.failed.push_back({item.source, Reason(error)});
                continue;
            }
        }
        const std::string part = PartName(item.target);
        int error = CopyBytes(item.source, part, cancel, [&](std::uint64_t bytes) {
            done += bytes;
            progress(done, total);
        });
        if (error == 0 && SizeOf(part) != size) {
            error = EIO;  // the copy is not whole
        }
        if (error == 0) {
            error = rename(part, item.target, item.replace);
        }
        if (error != 0) {
            ::unlink(part.c_str());
            if (error == ECANCELED) {
                result.cancelled = true;
                break;
            }
            result.failed.push_back({item.source, Reason(error)});
            continue;
        }
        // Only a whole copy under its own name lets the source go.
        if (move && ::unlink(item.source.c_str()) != 0) {
            result.failed.push_back(
                {item.source, "copied, but the original stays: " + Reason(errno)});
            continue;
        }
        result.done.push_back(item.source);
    }
    return result;
}

}  // namespace vornik
