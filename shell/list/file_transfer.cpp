// SPDX-License-Identifier: GPL-3.0-or-later
#include "file_transfer.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <map>
#include <mutex>
#include <random>
#include <regex>
#include <set>

namespace vornik {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kBlock = 1 << 20;

std::string Reason(int error) {
    return std::strerror(error);
}

constexpr std::size_t kNameMax = 255;
constexpr char kPartSuffix[] = ".vornik-part";

// Taken when the program starts: part files older than this are no longer being written by it.
const std::time_t kProcessStart = std::time(nullptr);

std::mutex& ClaimsMutex() {
    static std::mutex mutex;
    return mutex;
}

std::map<std::string, int>& Claims() {
    static std::map<std::string, int> claims;
    return claims;
}

// One transfer at a time: two pastes of the same file must not race for its name. A flag
// under a plain mutex rather than a timed mutex, whose timed wait a race detector cannot see.
class TransferTurn {
  public:
    // Waits for the turn, asking `cancel` every 100 ms; false when cancelled first.
    bool Take(const std::atomic<bool>& cancel) {
        std::unique_lock lock(mutex_);
        while (busy_) {
            if (cancel) {
                return false;
            }
            given_.wait_for(lock, std::chrono::milliseconds(100));
        }
        busy_ = true;
        return true;
    }
    void Give() {
        {
            const std::lock_guard lock(mutex_);
            busy_ = false;
        }
        given_.notify_one();
    }

  private:
    std::mutex mutex_;
    std::condition_variable given_;
    bool busy_ = false;
};

TransferTurn& Transfers() {
    static TransferTurn turn;
    return turn;
}

// Gives the turn back however the transfer ends.
struct TurnTaken {
    ~TurnTaken() { Transfers().Give(); }
};

unsigned RandomTag() {
    static std::mutex mutex;
    static std::mt19937 generator{std::random_device{}()};
    const std::lock_guard lock(mutex);
    return static_cast<unsigned>(generator());
}

// Copies `source` to a new file beside `target` under a name of its own, kept in `part` once
// made; 0 or an errno value (ECANCELED when cancelled).
int CopyBytes(const std::string& source, const std::string& target, std::string& part,
              const std::atomic<bool>& cancel, const std::function<void(std::uint64_t)>& advance) {
    const int in = ::open(source.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) {
        return errno;
    }
    int out = -1;
    for (int attempt = 0; attempt < 100 && out < 0; ++attempt) {
        const std::string name = PartName(target, RandomTag());
        out = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (out >= 0) {
            part = name;
        } else if (errno != EEXIST) {
            break;
        }
    }
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

TransferClaim::TransferClaim(std::vector<std::string> targets) : targets_(std::move(targets)) {
    const std::lock_guard lock(ClaimsMutex());
    for (const std::string& target : targets_) {
        ++Claims()[target];
    }
}

TransferClaim::~TransferClaim() {
    const std::lock_guard lock(ClaimsMutex());
    for (const std::string& target : targets_) {
        const auto claim = Claims().find(target);
        if (claim != Claims().end() && --claim->second == 0) {
            Claims().erase(claim);
        }
    }
}

bool IsClaimedTarget(const std::string& target) {
    const std::lock_guard lock(ClaimsMutex());
    return Claims().count(target) > 0;
}

std::string PartName(const std::string& target, unsigned tag) {
    const fs::path path(target);
    char suffix[48];
    std::snprintf(suffix, sizeof suffix, ".%ld-%08x%s", static_cast<long>(::getpid()), tag,
                  kPartSuffix);
    std::string name = path.filename().string();
    const std::size_t room = kNameMax - 1 - std::strlen(suffix);
    if (name.size() > room) {
        name.resize(room);
    }
    return (path.parent_path() / ("." + name + suffix)).string();
}

void RemoveStaleParts(const std::string& folder) {
    static const std::regex kPattern(R"(^\..*\.([0-9]+)-[0-9a-f]{8}\.vornik-part$)");
    DIR* const listing = ::opendir(folder.c_str());
    if (listing == nullptr) {
        return;
    }
    while (const dirent* entry = ::readdir(listing)) {
        const std::string name = entry->d_name;
        std::smatch match;
        if (!std::regex_match(name, match, kPattern)) {
            continue;
        }
        const std::string path = folder + "/" + name;
        struct stat status {};
        if (::lstat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode) ||
            status.st_uid != ::getuid() || status.st_mtime >= kProcessStart) {
            continue;
        }
        const long pid = std::strtol(match[1].str().c_str(), nullptr, 10);
        const bool processGone = pid > 0 && pid != ::getpid() &&
                                 ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH;
        if (processGone) {
            ::unlink(path.c_str());
        }
    }
    ::closedir(listing);
}

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
    if (!Transfers().Take(cancel)) {
        result.cancelled = true;
        return result;
    }
    const TurnTaken turn;
    std::uint64_t total = 0;
    for (const TransferItem& item : items) {
        total += SizeOf(item.source);
    }
    std::uint64_t done = 0;
    std::set<std::string> cleaned;  // folders whose stale part files are gone
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
        const std::string folder = fs::path(item.target).parent_path().string();
        if (cleaned.insert(folder).second) {
            RemoveStaleParts(folder);
        }
        std::string part;  // empty until the copy made its file
        int error = CopyBytes(item.source, item.target, part, cancel, [&](std::uint64_t bytes) {
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
            if (!part.empty()) {
                ::unlink(part.c_str());
            }
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
