// SPDX-License-Identifier: GPL-3.0-or-later
// The text report of one file after a complete scan, as "Copy Info" and `vornik-cli report`
// give it.
#pragma once

#include <string>

#include "mp3_info.h"

namespace vornik {

struct FileReport {
    bool ok = false;
    std::string text;   // with ok: the report, CR LF line ends
    std::string error;  // without ok: why, in a few words ("is a folder", ...)
};

// Walks every frame of the file at `path` and builds its report. Never throws for what the
// file holds; a file that cannot be read as audio gives ok false and the reason.
FileReport CompleteFileReport(const std::string& path);

// The report of the file at `path` whose scan filled `record`.
std::string ReportOf(const std::string& path, const Mp3Info& record);

}  // namespace vornik
