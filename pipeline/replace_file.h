// SPDX-License-Identifier: GPL-3.0-or-later
// Writing a whole file so that a failure never leaves a destroyed one behind.
#pragma once

#include <string>
#include <string_view>
#include <system_error>

namespace vornik {

// What WriteFileReplacing does with an existing file that the user has made read-only: a
// regular file without any write permission bit (which binds root too), or one this process
// may not write to. A new file would otherwise replace it wherever the folder is writable.
enum class ReadOnlyFile {
    kReplace,  // replace it all the same
    kKeep,     // leave it as it is and fail with "permission denied"
};

// Writes `bytes` to a new file beside `path` and renames it over `path` (through symbolic
// links to the file they name), so that the old file stays whole until the new one is on
// disk. The new file keeps the old one's permissions. False, with `path` untouched and no
// temporary file left, when anything fails.
bool WriteFileReplacing(const std::string& path, std::string_view bytes);

// The same, with the reason of a failure in `error` (cleared on success).
bool WriteFileReplacing(const std::string& path, std::string_view bytes, std::error_code& error,
                        ReadOnlyFile readOnly = ReadOnlyFile::kReplace);

// Removes what writes of `path` left behind when their process was killed before it could
// clean up: the files beside the file `path` names (through symbolic links) that are named
// exactly as WriteFileReplacing names its new files for it, are regular files owned by this
// user, and were made by a process that is gone or before this process started. Nothing else
// is touched. The number of files removed.
int RemoveStaleTemporaries(const std::string& path);

}  // namespace vornik
