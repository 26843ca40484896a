#include "replace_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <filesystem>

namespace vornik {
namespace {

namespace fs = std::filesystem;

// The file that a chain of symbolic links ends in, so that writing keeps the links; the
// path itself when it is no link or cannot be followed.
fs::path FollowLinks(fs::path path) {
    constexpr int kMaxHops = 40;  // as the kernel's own limit
    for (int hop = 0; hop < kMaxHops; ++hop) {
        std::error_code error;
        if (!fs::is_symlink(fs::symlink_status(path, error)) || error) {
            return path;
        }
        fs::path target = fs::read_symlink(path, error);
        if (error) {
            return path;
        }
        path = target.is_absolute() ? target : path.parent_path() / target;
    }
    return path;
}

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// Creates a file of its own beside `target`; the open descriptor and its path, or -1.
int CreateTemporary(const fs::path& target, fs::path& temporary) {
    static std::atomic<unsigned> serial{0};
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    // A short stem keeps the name within the file system's limit for long target names.
    const std::string stem = "." + target.filename().string().substr(0, 64) + ".tmp";
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = folder /
                    (stem + std::to_string(::getpid()) + "-" + std::to_string(serial.fetch_add(1)));
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    return -1;
}

// The rename is on disk only once the folder is; a failure here loses nothing already
// written, so it is not reported.
void SyncFolder(const fs::path& target) {
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

}  // namespace

bool WriteFileReplacing(const std::string& path, std::string_view bytes) {
    const fs::path target = FollowLinks(path);
    fs::path temporary;
    const int fd = CreateTemporary(target, temporary);
    if (fd < 0) {
        return false;
    }
    // The new file keeps the permissions the user gave the old one.
    struct stat old {};
    if (::stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode)) {
        ::fchmod(fd, old.st_mode & 07777);
    }
    bool ok = WriteAll(fd, bytes);
    ok = ::fsync(fd) == 0 && ok;  // the data must be on disk before the name points at it
    ok = ::close(fd) == 0 && ok;
    ok = ok && ::rename(temporary.c_str(), target.c_str()) == 0;
    if (!ok) {
        ::unlink(temporary.c_str());
        return false;
    }
    SyncFolder(target);
    return true;
}

}  // namespace vornik
