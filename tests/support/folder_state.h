// SPDX-License-Identifier: GPL-3.0-or-later
// What tests of failed writes compare: everything in a folder, byte for byte, before and after;
// and a tiny file system of the test's own to fill up.
#pragma once

#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

namespace vornik::test {

// Every entry under a folder by its path relative to the folder: a file with its whole
// contents, a folder, a symbolic link with its target.
using FolderState = std::map<std::string, std::string>;

inline FolderState StateOf(const std::filesystem::path& folder) {
    namespace fs = std::filesystem;
    FolderState state;
    std::error_code error;
    for (fs::recursive_directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error)) {
        const std::string name = it->path().lexically_relative(folder).string();
        const fs::file_status status = it->symlink_status();
        if (fs::is_symlink(status)) {
            state[name] = "link to " + fs::read_symlink(it->path()).string();
        } else if (fs::is_directory(status)) {
            state[name] = "folder";
        } else if (fs::is_regular_file(status)) {
            std::ifstream in(it->path(), std::ios::binary);
            state[name] = "file " + std::string(std::istreambuf_iterator<char>(in),
                                                std::istreambuf_iterator<char>());
        } else {
            state[name] = "other";
        }
    }
    return state;
}

// The entries added, removed or changed from `before` to `after`: a failure lists names, not
// whole files.
inline std::vector<std::string> ChangedEntries(const FolderState& before,
                                               const FolderState& after) {
    std::vector<std::string> changed;
    for (const auto& [name, contents] : before) {
        const auto found = after.find(name);
        if (found == after.end()) {
            changed.push_back("removed " + name);
        } else if (found->second != contents) {
            changed.push_back("changed " + name);
        }
    }
    for (const auto& [name, contents] : after) {
        if (before.count(name) == 0) {
            changed.push_back("added " + name);
        }
    }
    return changed;
}

// A tmpfs of `kib` KiB mounted on `folder` (made where missing) for as long as the object
// lives. Mounting needs root or CAP_SYS_ADMIN; error() says why it failed.
class TinyTmpfs {
  public:
    TinyTmpfs(const std::string& folder, int kib) : folder_(folder) {
        std::error_code ignored;
        std::filesystem::create_directories(folder, ignored);
        const std::string options = "size=" + std::to_string(kib) + "k,mode=0755";
        if (::mount("tmpfs", folder.c_str(), "tmpfs", 0, options.c_str()) == 0) {
            mounted_ = true;
        } else {
            error_ = std::strerror(errno);
        }
    }
    ~TinyTmpfs() {
        if (mounted_) {
            ::umount2(folder_.c_str(), MNT_DETACH);
        }
    }
    TinyTmpfs(const TinyTmpfs&) = delete;
    TinyTmpfs& operator=(const TinyTmpfs&) = delete;

    bool mounted() const { return mounted_; }
    const std::string& error() const { return error_; }

    // Writes the file `name` until no byte more fits; false when the file system did not end
    // up full.
    bool FillUp(const std::string& name) const {
        const int fd = ::open((folder_ + "/" + name).c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
        if (fd < 0) {
            return false;
        }
        const std::vector<char> block(4096, 'f');
        ssize_t written = 0;
        do {
            written = ::write(fd, block.data(), block.size());
        } while (written > 0);
        const bool full = written < 0 && errno == ENOSPC;
        ::close(fd);
        return full;
    }

  private:
    std::string folder_;
    bool mounted_ = false;
    std::string error_;
};

}  // namespace vornik::test
