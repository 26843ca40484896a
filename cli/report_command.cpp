#include "report_command.h"

#include <filesystem>

#include "attribute_texts.h"
#include "engine_message.h"
#include "mp3_file.h"
#include "scan_error.h"
#include "text_report.h"
#include "version_text.h"

namespace vornik {

int RunReport(const std::string& path, std::ostream& out, std::ostream& err) {
    CMp3File file;
    if (!file.Open(path)) {
        err << path << ": cannot open the file\n";
        return 2;
    }
    Mp3Info record{};
    try {
        // As the details view: every frame walked.
        if (file.ProcessFrames(/*walkFrames=*/true, record, /*frameLimit=*/-1, nullptr, nullptr) ==
            0) {
            err << path << ": the file is empty\n";
            return 2;
        }
    } catch (const ScanError& error) {
        err << path << ": " << EngineMessageLine(error.what()) << '\n';
        return 2;
    }
    AttributeTexts texts;
    texts[kSlotName] = std::filesystem::path(path).filename().string();
    // "Copy Info" judges quality without the mono bonus.
    ComputeAttributeTexts(texts, record, /*monoQuality=*/false);
    out << BuildReport(texts, record, VersionText());
    return 0;
}

}  // namespace vornik
