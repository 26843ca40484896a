// SPDX-License-Identifier: GPL-3.0-or-later
#include "file_safety.h"

#include <grp.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace vornik::test {

std::string ShellQuoted(const std::string& text) {
    std::string quoted = "'";
    for (const char c : text) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

std::map<std::string, std::string> TreeChecksums(const std::string& folder) {
    // NUL-separated both ways, so that no name is mangled; sha256sum -z ends records with NUL.
    const std::string command = "cd " + ShellQuoted(folder) +
                                " && find . -type f -print0 | sort -z | xargs -0 -r sha256sum -z";
    std::map<std::string, std::string> sums;
    FILE* const pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return sums;
    }
    std::string output;
    std::array<char, 4096> block{};
    for (std::size_t got; (got = std::fread(block.data(), 1, block.size(), pipe)) > 0;) {
        output.append(block.data(), got);
    }
    ::pclose(pipe);
    std::size_t start = 0;
    while (start < output.size()) {
        std::size_t end = output.find('\0', start);
        if (end == std::string::npos) {
            end = output.size();
        }
        const std::string record = output.substr(start, end - start);
        // "HASH  ./NAME"
        if (record.size() > 68) {
            sums[record.substr(68)] = record.substr(0, 64);
        }
        start = end + 1;
    }
    return sums;
}

std::optional<ScratchMount> ScratchMount::Mount(int kib, std::string& reason) {
    std::string pattern = (std::filesystem::temp_directory_path() / "vornik-mount-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        reason = std::strerror(errno);
        return std::nullopt;
    }
    const std::string options = "size=" + std::to_string(kib) + "k,mode=0755";
    if (::mount("tmpfs", pattern.c_str(), "tmpfs", 0, options.c_str()) != 0) {
        reason = std::string("cannot mount a tmpfs: ") + std::strerror(errno);
        ::rmdir(pattern.c_str());
        return std::nullopt;
    }
    return ScratchMount(pattern);
}

ScratchMount::ScratchMount(ScratchMount&& other) noexcept
    : path_(std::move(other.path_)), bound_(std::move(other.bound_)) {
    other.path_.clear();
    other.bound_.clear();
}

ScratchMount::~ScratchMount() {
    if (path_.empty()) {
        return;
    }
    if (!bound_.empty()) {
        ::umount2(bound_.c_str(), MNT_DETACH);
    }
    ::umount2(path_.c_str(), MNT_DETACH);
    ::rmdir(path_.c_str());
}

bool ScratchMount::MakeReadOnly() const {
    return ::mount(nullptr, path_.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0;
}

bool ScratchMount::BindReadOnly(const std::string& folder) {
    if (::mount(folder.c_str(), folder.c_str(), nullptr, MS_BIND, nullptr) != 0) {
        return false;
    }
    bound_ = folder;
    return ::mount(nullptr, folder.c_str(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) ==
           0;
}

bool CanRunAsOrdinaryUser(std::string& why) {
    if (::geteuid() != 0) {
        why = "not root: cannot switch to another user";
        return false;
    }
    if (::access("/usr/bin/setpriv", X_OK) != 0) {
        why = "setpriv (util-linux) is missing";
        return false;
    }
    return true;
}

int RunAsOrdinaryUser(const std::string& command, const std::string& environment) {
    const std::string line = "setpriv --reuid=" + std::to_string(kOrdinaryUid) +
                             " --regid=" + std::to_string(kOrdinaryGid) + " --clear-groups env " +
                             environment + " sh -c " + ShellQuoted(command);
    const int status = std::system(line.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

int RunInChildAsOrdinaryUser(const std::function<int()>& check) {
    const pid_t child = ::fork();
    if (child < 0) {
        return -1;
    }
    if (child == 0) {
        const bool switched = ::setgroups(0, nullptr) == 0 &&
                              ::setresgid(kOrdinaryGid, kOrdinaryGid, kOrdinaryGid) == 0 &&
                              ::setresuid(kOrdinaryUid, kOrdinaryUid, kOrdinaryUid) == 0;
        ::_exit(switched ? check() : 255);
    }
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) == 255) {
        return -1;
    }
    return WEXITSTATUS(status);
}

}  // namespace vornik::test
