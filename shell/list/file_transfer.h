// SPDX-License-Identifier: GPL-3.0-or-later
// Copying and moving files into a folder without ever replacing a file the user did not agree
// to replace, and without losing a source when anything fails.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace vornik {

struct TransferItem {
    std::string source;
    std::string target;
    bool replace = false;  // the user agreed to replace a file at the target
};

struct TransferFailure {
    std::string source;
    std::string reason;
};

struct TransferResult {
    std::vector<std::string> done;  // sources transferred
    std::vector<TransferFailure> failed;
    bool cancelled = false;
};

// The file system's rename, replaceable in tests (a move across file systems fails with
// EXDEV). Returns 0 or an errno value; `replace` false never replaces an existing target.
using RenameCall = std::function<int(const std::string& from, const std::string& to, bool replace)>;
int SystemRename(const std::string& from, const std::string& to, bool replace);

// Marks `targets` as being written by a transfer of this program for as long as it lives, so
// that a second paste into the same names is treated as a conflict, not as a free name.
class TransferClaim {
  public:
    explicit TransferClaim(std::vector<std::string> targets);
    ~TransferClaim();
    TransferClaim(const TransferClaim&) = delete;
    TransferClaim& operator=(const TransferClaim&) = delete;

  private:
    std::vector<std::string> targets_;
};
bool IsClaimedTarget(const std::string& target);

// The hidden name beside `target` that a copy is written under before it takes the target's
// name: "." + the name (cut so that the whole fits in 255 bytes) + ".PID-XXXXXXXX.vornik-part".
std::string PartName(const std::string& target, unsigned tag);

// Removes this program's own leftovers in `folder`: part files of this account whose process
// is gone and that are older than this process. Nothing else is touched.
void RemoveStaleParts(const std::string& folder);

// Copies or moves every item, one transfer at a time in this process (a second waits for the
// first, and can be cancelled while it waits). A move is a rename where the file system allows it;
// else, as a copy, the bytes go to a new file of its own beside the target, its size is checked, it
// is renamed to the target, and only then is the source removed. A failed or cancelled copy removes
// its partial file (and only a file it made) and keeps the source. `progress` gets bytes done and
// bytes in all; `cancel` is read between blocks.
TransferResult RunTransfer(const std::vector<TransferItem>& items, bool move,
                           const std::atomic<bool>& cancel,
                           const std::function<void(std::uint64_t, std::uint64_t)>& progress,
                           const RenameCall& rename = SystemRename);

}  // namespace vornik
