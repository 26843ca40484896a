// SPDX-License-Identifier: GPL-3.0-or-later
#include "file_report.h"

#include <filesystem>

#include "attribute_texts.h"
#include "engine_message.h"
#include "file_analysis.h"
#include "mp3_file.h"
#include "scan_error.h"
#include "text_report.h"
#include "version_text.h"

namespace vornik {
FileReport CompleteFileReport(const std::string& path) {
    FileReport report;
    CMp3File file;
    if (!file.Open(path)) {
        report.error = file.reader().openError();
        return report;
    }
    if (IsMpegPlusPath(path)) {
        // The report walks MPEG audio frames; an MPEG Plus file has none to walk.
        report.error = "reports are for MPEG audio files; this is an MPEG Plus file";
        return report;
    }
    Mp3Info record{};
    try {
        // As the details view: every frame walked.
        if (!file.ProcessFrames(/*walkFrames=*/true, record, /*frameLimit=*/-1, nullptr, nullptr)) {
            report.error = "the file is empty";
            return report;
        }
    } catch (const ScanError& error) {
        report.error = EngineMessageLine(error.what());
        return report;
    }
    report.text = ReportOf(path, record);
    report.ok = true;
    return report;
}

std::string ReportOf(const std::string& path, const Mp3Info& record) {
    AttributeTexts texts;
    texts[kSlotName] = std::filesystem::path(path).filename().string();
    // "Copy Info" judges quality without the mono bonus.
    ComputeAttributeTexts(texts, record, /*monoQuality=*/false);
    return BuildReport(texts, record, VersionText());
}

}  // namespace vornik
