// SPDX-License-Identifier: GPL-3.0-or-later
#include "dump_command.h"

#include <filesystem>

#include "attribute_texts.h"
#include "file_analysis.h"
#include "mp3_file.h"
#include "mpc_file.h"
#include "record_json.h"
#include "scan_error.h"

namespace vornik {
namespace {

std::string FileNameOf(const std::string& path) {
    return std::filesystem::path(path).filename().string();
}

nlohmann::ordered_json CannotOpen(nlohmann::ordered_json line, const FileReader& reader) {
    line["ok"] = false;
    line["error"] = reader.openError();
    return line;
}

nlohmann::ordered_json DumpMpegPlus(nlohmann::ordered_json line, const std::string& path) {
    MpcFile file;
    if (!file.Open(path)) {
        return CannotOpen(std::move(line), file.reader());
    }
    Mp3Info record{};
    line["ok"] = true;
    line["result"] = file.FillRecord(record);
    AttributeTexts texts;
    texts[kSlotName] = FileNameOf(path);
    const int quality = ComputeAttributeTexts(texts, record, /*monoQuality=*/false);
    line["record"] = RecordToJson(record);
    line["texts"] = texts.slots;
    line["quality"] = quality;
    return line;
}

nlohmann::ordered_json DumpFile(const std::string& path, const DumpOptions& options) {
    nlohmann::ordered_json line;
    line["path"] = path;
    if (IsMpegPlusPath(path)) {
        return DumpMpegPlus(std::move(line), path);
    }
    CMp3File file;
    if (!file.Open(path)) {
        return CannotOpen(std::move(line), file.reader());
    }
    Mp3Info record{};
    FrameSeries series;
    FrameSeries* seriesOut = options.series ? &series : nullptr;
    AttributeTexts texts;
    texts[kSlotName] = FileNameOf(path);
    int quality = -1;
    try {
        const int result =
            file.ProcessFrames(options.walk, record, options.frameLimit, seriesOut, nullptr);
        line["ok"] = true;
        line["result"] = result;
        if (result != 0) {
            quality = ComputeAttributeTexts(texts, record, /*monoQuality=*/false);
        }
    } catch (const ScanError& error) {
        line["ok"] = false;
        line["error"] = error.what();
        SetEngineErrorTexts(texts);
    }
    line["record"] = RecordToJson(record);
    line["texts"] = texts.slots;
    line["quality"] = quality;
    if (seriesOut != nullptr) {
        line["series"] = SeriesToJson(series);
    }
    return line;
}

}  // namespace

int RunDump(const DumpOptions& options, std::ostream& out) {
    int status = 0;
    for (const std::string& path : options.files) {
        const nlohmann::ordered_json line = DumpFile(path, options);
        if (!line["ok"].get<bool>()) {
            status = 1;
        }
        // Raw bytes of a tag need not be UTF-8; replace what is not, so each line stays JSON.
        out << line.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace) << '\n';
    }
    return status;
}

}  // namespace vornik
