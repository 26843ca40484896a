// SPDX-License-Identifier: GPL-3.0-or-later
#include "log_file.h"

#include <cstdio>

namespace vornik {

void LogFile::Line(const std::string& text) {
    if (path_.empty()) {
        return;
    }
    // A line that cannot be written is lost; logging never disturbs the program.
    if (std::FILE* const file = std::fopen(path_.c_str(), "a+")) {
        const std::string line = text + '\n';
        std::fwrite(line.data(), 1, line.size(), file);
        std::fclose(file);
    }
}

void LogFile::Clear() const {
    if (!path_.empty()) {
        std::remove(path_.c_str());
    }
}

}  // namespace vornik
