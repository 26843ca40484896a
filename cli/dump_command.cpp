#include "dump_command.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>

#include "mp3_file.h"
#include "mpc_file.h"
#include "record_json.h"
#include "scan_error.h"

namespace vornik {
namespace {

// MPEG Plus files are told by their extension, compared in lower case.
bool IsMpegPlusPath(const std::string& path) {
    const std::size_t dot = path.rfind('.');
    std::string extension = dot == std::string::npos ? path : path.substr(dot);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension == ".mpc" || extension == ".mp+";
}

nlohmann::ordered_json CannotOpen(nlohmann::ordered_json line) {
    line["ok"] = false;
    line["error"] = std::string("cannot open the file: ") + std::strerror(errno);
    return line;
}

nlohmann::ordered_json DumpMpegPlus(nlohmann::ordered_json line, const std::string& path) {
    MpcFile file;
    if (!file.Open(path)) {
        return CannotOpen(std::move(line));
    }
    Mp3Info record{};
    line["ok"] = true;
    line["result"] = file.FillRecord(record);
    line["record"] = RecordToJson(record);
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
        return CannotOpen(std::move(line));
    }
    Mp3Info record{};
    FrameSeries series;
    FrameSeries* seriesOut = options.series ? &series : nullptr;
    try {
        const int result =
            file.ProcessFrames(options.walk, record, options.frameLimit, seriesOut, nullptr);
        line["ok"] = true;
        line["result"] = result;
    } catch (const ScanError& error) {
        line["ok"] = false;
        line["error"] = error.what();
    }
    line["record"] = RecordToJson(record);
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
