// SPDX-License-Identifier: GPL-3.0-or-later
#include "report_command.h"

#include "file_report.h"

namespace vornik {

int RunReport(const std::string& path, std::ostream& out, std::ostream& err) {
    const FileReport report = CompleteFileReport(path);
    if (!report.ok) {
        err << path << ": " << report.error << '\n';
        return 2;
    }
    out << report.text;
    return 0;
}

}  // namespace vornik
