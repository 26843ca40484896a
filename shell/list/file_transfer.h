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

// Copies or moves every item. A move is a rename where the file system allows it; else, as a
// copy, the bytes go to a new file beside the target, its size is checked, it is renamed to
// the target, and only then is the source removed. A failed or cancelled copy removes its
// partial file and keeps the source. `progress` gets bytes done and bytes in all; `cancel` is
// read between blocks.
TransferResult RunTransfer(const std::vector<TransferItem>& items, bool move,
                           const std::atomic<bool>& cancel,
                           const std::function<void(std::uint64_t, std::uint64_t)>& progress,
                           const RenameCall& rename = SystemRename);

}  // namespace vornik
