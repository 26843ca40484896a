// SPDX-License-Identifier: GPL-3.0-or-later
// `vornik-cli scan`: files and folders analysed as the file list does, written as an export.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace vornik {

struct ScanOptions {
    std::vector<std::string> paths;
    int frameBudget = 1000;  // 0: every frame
    std::vector<int> columns{0, 1, 2, 9, 4, 5, 6, 7};
    int sortId = 0;
    bool reverse = false;
    std::string format = "txt";  // txt, xml, json or csv
    bool xmlAmpersands = true;   // the export's "xml" setting: write "&" as "&amp;"
    bool recursive = false;
    std::string fileTypes = ".mp3;.mp2;.mp1;.mpc;.mp+;";
    int jobs = 1;  // list workers side by side, at most one per file and as many as start
};

// Writes the document to `out`, one line per file left out or unreadable to `err`, and a
// progress line to `progress` when it is not null. Returns 0, or 2 when a path could not be
// read or no list worker could be started.
int RunScan(const ScanOptions& options, std::ostream& out, std::ostream& err,
            std::ostream* progress);

// The files a scan covers: the given files, and the files of the given folders whose
// extension is on `fileTypes` (compared in lower case), in a stable order. Paths that do not
// exist or cannot be opened are reported to `err` and counted in `unreadable`.
std::vector<std::string> CollectFiles(const ScanOptions& options, std::ostream& err,
                                      int& unreadable);

}  // namespace vornik
