// Writing a whole file so that a failure never leaves a destroyed one behind.
#pragma once

#include <string>
#include <string_view>

namespace vornik {

// Writes `bytes` to a new file beside `path` and renames it over `path` (through symbolic
// links to the file they name), so that the old file stays whole until the new one is on
// disk. The new file keeps the old one's permissions. False, with `path` untouched and no
// temporary file left, when anything fails.
bool WriteFileReplacing(const std::string& path, std::string_view bytes);

}  // namespace vornik
