// SPDX-License-Identifier: GPL-3.0-or-later
#include "replace_file.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <optional>
#include <sstream>
#include <vector>

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

fs::path FolderOf(const fs::path& target) {
    return target.has_parent_path() ? target.parent_path() : fs::path(".");
}

std::error_code ErrorOf(int number) {
    return {number, std::generic_category()};
}

// The new files for `target` are named this, then the process id, "-" and a serial number.
// A short stem keeps the name within the file system's limit for long target names.
std::string TemporaryStem(const fs::path& target) {
    return "." + target.filename().string().substr(0, 64) + ".tmp";
}

// Whether `text` is a number as std::to_string writes an unsigned one: decimal digits
// without a leading zero.
template <typename Number>
std::optional<Number> PlainDecimal(std::string_view text) {
    if (text.empty() || (text.size() > 1 && text.front() == '0') ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return std::nullopt;
    }
    Number value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

// The process id in the name of one of CreateTemporary's files for the stem; 0 for any other
// name.
pid_t TemporaryPid(std::string_view name, std::string_view stem) {
    if (!name.starts_with(stem)) {
        return 0;
    }
    name.remove_prefix(stem.size());
    const std::size_t dash = name.find('-');
    if (dash == std::string_view::npos) {
        return 0;
    }
    const std::optional<int> pid = PlainDecimal<int>(name.substr(0, dash));
    const std::optional<unsigned> serial = PlainDecimal<unsigned>(name.substr(dash + 1));
    return pid && serial && *pid > 0 ? static_cast<pid_t>(*pid) : 0;
}

// When this process started, in whole seconds since the epoch, from its start in clock ticks
// after boot and the boot time; nullopt when /proc does not tell.
std::optional<long long> ProcessStartSeconds() {
    std::ifstream self("/proc/self/stat");
    const std::string stat{std::istreambuf_iterator<char>(self), std::istreambuf_iterator<char>()};
    // The command name in parentheses may hold blanks and parentheses itself.
    const std::size_t nameEnd = stat.rfind(')');
    if (nameEnd == std::string::npos) {
        return std::nullopt;
    }
    std::istringstream fields(stat.substr(nameEnd + 1));
    std::string skipped;
    for (int field = 3; field < 22; ++field) {  // up to the start time, field 22
        fields >> skipped;
    }
    unsigned long long ticks = 0;
    if (!(fields >> ticks)) {
        return std::nullopt;
    }
    std::ifstream system("/proc/stat");
    std::string key;
    long long boot = -1;
    while (system >> key) {
        if (key == "btime") {
            system >> boot;
            break;
        }
        system.ignore(std::numeric_limits<std::streamsize>::max(), '\n');
    }
    const long ticksPerSecond = ::sysconf(_SC_CLK_TCK);
    if (boot < 0 || ticksPerSecond <= 0) {
        return std::nullopt;
    }
    return boot + static_cast<long long>(ticks / static_cast<unsigned long long>(ticksPerSecond));
}

bool IsReadOnly(const fs::path& target) {
    struct stat status {};
    if (::stat(target.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) {
        return false;
    }
    // A file on a read-only file system is not one the user made read-only: writing it fails
    // with its own reason.
    return (status.st_mode & 0222) == 0 ||
           (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0 && errno == EACCES);
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

// Creates a file of its own beside `target`; the open descriptor and its path, or -1 with
// errno set.
int CreateTemporary(const fs::path& target, fs::path& temporary) {
    static std::atomic<unsigned> serial{0};
    const fs::path folder = FolderOf(target);
    const std::string stem = TemporaryStem(target);
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
    const int fd = ::open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

}  // namespace

bool WriteFileReplacing(const std::string& path, std::string_view bytes) {
    std::error_code ignored;
    return WriteFileReplacing(path, bytes, ignored);
}

bool WriteFileReplacing(const std::string& path, std::string_view bytes, std::error_code& error,
                        ReadOnlyFile readOnly) {
    error.clear();
    const fs::path target = FollowLinks(path);
    if (readOnly == ReadOnlyFile::kKeep && IsReadOnly(target)) {
        error = ErrorOf(EACCES);
        return false;
    }
    fs::path temporary;
    const int fd = CreateTemporary(target, temporary);
    if (fd < 0) {
        error = ErrorOf(errno);
        return false;
    }
    // The new file keeps the permissions the user gave the old one.
    struct stat old {};
    if (::stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode)) {
        ::fchmod(fd, old.st_mode & 07777);
    }
    // The first failure is the reason; the data must be on disk before the name points at it.
    int failure = WriteAll(fd, bytes) ? 0 : errno;
    if (::fsync(fd) != 0 && failure == 0) {
        failure = errno;
    }
    if (::close(fd) != 0 && failure == 0) {
        failure = errno;
    }
    if (failure == 0 && ::rename(temporary.c_str(), target.c_str()) != 0) {
        failure = errno;
    }
    if (failure != 0) {
        ::unlink(temporary.c_str());
        error = ErrorOf(failure);
        return false;
    }
    SyncFolder(target);
    return true;
}

int RemoveStaleTemporaries(const std::string& path) {
    // Seconds of doubt between the boot time and a file's time stamp.
    constexpr long long kClockSlack = 2;
    const fs::path target = FollowLinks(path);
    const std::string stem = TemporaryStem(target);
    const std::optional<long long> started = ProcessStartSeconds();
    std::vector<fs::path> stale;
    std::error_code error;
    for (fs::directory_iterator it(FolderOf(target), error), end; !error && it != end;
         it.increment(error)) {
        const pid_t pid = TemporaryPid(it->path().filename().string(), stem);
        if (pid == 0) {
            continue;
        }
        struct stat status {};
        if (::lstat(it->path().c_str(), &status) != 0 || !S_ISREG(status.st_mode) ||
            status.st_uid != ::geteuid()) {
            continue;
        }
        // Another user's live process answers EPERM: only ESRCH says it is gone.
        const bool gone = ::kill(pid, 0) != 0 && errno == ESRCH;
        const bool older = started && status.st_mtime + kClockSlack < *started;
        if (gone || older) {
            stale.push_back(it->path());
        }
    }
    int removed = 0;
    for (const fs::path& file : stale) {
        removed += ::unlink(file.c_str()) == 0 ? 1 : 0;
    }
    return removed;
}

}  // namespace vornik
