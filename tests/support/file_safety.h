// SPDX-License-Identifier: GPL-3.0-or-later
// What tests of file actions need to prove that nothing was lost: the checksums of every file
// under a folder, a small file system of the test's own (to fill up or make read-only), and a
// way to run a case as an ordinary user, since tests run as root and root ignores permissions.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>

namespace vornik::test {

// SHA-256 of every regular file under `folder`, by path relative to it (names as bytes).
std::map<std::string, std::string> TreeChecksums(const std::string& folder);

// A tmpfs of `kib` KiB mounted on a fresh folder, unmounted and removed when it goes. Mounting
// needs root (or the right capability); `Mount` gives none, with the reason, where it fails.
class ScratchMount {
  public:
    static std::optional<ScratchMount> Mount(int kib, std::string& reason);
    ScratchMount(ScratchMount&& other) noexcept;
    ScratchMount& operator=(ScratchMount&&) = delete;
    ~ScratchMount();

    const std::string& path() const { return path_; }
    // Makes the whole mount read-only (root obeys that too); false where it cannot.
    bool MakeReadOnly() const;
    // Binds `folder` (inside the mount) onto itself read-only: same device, no writes.
    bool BindReadOnly(const std::string& folder);

  private:
    explicit ScratchMount(std::string path) : path_(std::move(path)) {}
    std::string path_;
    std::string bound_;
};

// The uid and gid of an ordinary account for permission cases, and whether this process can
// become it (it is root and setpriv exists). `why` says what is missing.
bool CanRunAsOrdinaryUser(std::string& why);
inline constexpr unsigned kOrdinaryUid = 65534;
inline constexpr unsigned kOrdinaryGid = 65534;

// Runs `command` through sh as the ordinary user, with `environment` ("A=b C=d") set;
// the exit status.
int RunAsOrdinaryUser(const std::string& command, const std::string& environment = "");

// Runs `check` in a child process that has become the ordinary user; its result (0-255), or
// -1 when the child could not switch or died. The child only makes system calls: the parent
// may have threads.
int RunInChildAsOrdinaryUser(const std::function<int()>& check);

// `text` quoted for sh.
std::string ShellQuoted(const std::string& text);

}  // namespace vornik::test
