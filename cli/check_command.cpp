// SPDX-License-Identifier: GPL-3.0-or-later
#include "check_command.h"

#include <atomic>
#include <mutex>
#include <nlohmann/json.hpp>
#include <system_error>
#include <thread>

#include "engine_message.h"
#include "file_analysis.h"
#include "integrity_check.h"
#include "mp3_file.h"
#include "mpc_file.h"
#include "scan_command.h"
#include "scan_error.h"
#include "scan_rows.h"
#include "terminal_text.h"

namespace vornik {
namespace {

std::string Verdict(const CheckResult& result) {
    return VerdictOf(result.findings);
}

std::string Text(const std::vector<CheckResult>& results) {
    std::string document;
    for (const CheckResult& result : results) {
        document += result.path + ": " + Verdict(result) + "\n";
    }
    return document;
}

std::string Json(const std::vector<CheckResult>& results) {
    nlohmann::ordered_json document = nlohmann::ordered_json::array();
    for (const CheckResult& result : results) {
        nlohmann::ordered_json object;
        object["path"] = result.path;
        object["readable"] = result.readable;
        object["sound"] = result.readable && result.findings.empty();
        object["verdict"] = Verdict(result);
        object["findings"] = result.findings;
        document.push_back(std::move(object));
    }
    return document.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
}

std::string Csv(const std::vector<CheckResult>& results) {
    std::string document = "Path,Verdict\r\n";
    for (const CheckResult& result : results) {
        document += CsvField(result.path) + "," + CsvField(Verdict(result)) + "\r\n";
    }
    return document;
}

// The files are handed out one at a time from a shared counter; each result has its place.
std::vector<CheckResult> CheckAll(const std::vector<std::string>& files, int jobs,
                                  std::ostream* progress) {
    std::vector<CheckResult> results(files.size());
    std::atomic<std::size_t> next{0};
    std::mutex progressMutex;
    std::size_t done = 0;
    const auto work = [&] {
        for (std::size_t i = next++; i < files.size(); i = next++) {
            results[i] = CheckFile(files[i]);
            if (progress != nullptr) {
                const std::lock_guard<std::mutex> lock(progressMutex);
                *progress << "\r\033[K" << ++done << "/" << files.size() << " "
                          << TerminalText(files[i]) << std::flush;
            }
        }
    };
    // This thread is one of the workers, so the check goes on with whatever number of the
    // others the system lets start.
    std::vector<std::thread> threads;
    const std::size_t count =
        std::min<std::size_t>(static_cast<std::size_t>(std::max(jobs, 1)), files.size());
    for (std::size_t t = 1; t < count; ++t) {
        try {
            threads.emplace_back(work);
        } catch (const std::system_error&) {
            break;
        }
    }
    work();
    for (std::thread& thread : threads) {
        thread.join();
    }
    if (progress != nullptr && !files.empty()) {
        *progress << "\r\033[K" << std::flush;
    }
    return results;
}

}  // namespace

CheckResult CheckFile(const std::string& path) {
    CheckResult result;
    result.path = path;
    if (IsMpegPlusPath(path)) {
        // Of an MPEG Plus file only the header is read: it must be there and parse.
        MpcFile file;
        if (!file.Open(path)) {
            result.readable = false;
            result.findings.push_back(file.reader().openError());
            return result;
        }
        MpcHeader header;
        file.ReadHeader(header);
        const bool parsed = header.streamVersion >= 4 && header.streamVersion <= 8 &&
                            (header.frameCount > 0 || header.durationMs > 0);
        if (header.fileSize == 0 || !parsed) {
            result.readable = false;
            result.findings.push_back(header.fileSize == 0 ? "empty file" : "no MPEG Plus header");
        }
        return result;
    }
    CMp3File file;
    if (!file.Open(path)) {
        result.readable = false;
        result.findings.push_back(file.reader().openError());
        return result;
    }
    if (!CMp3File::IsMpegAudio(path)) {
        result.readable = false;
        result.findings.push_back("no MPEG audio stream found");
        return result;
    }
    Mp3Info record{};
    try {
        if (!file.ProcessFrames(/*walkFrames=*/true, record, /*frameLimit=*/-1, nullptr, nullptr)) {
            result.findings.push_back("empty file");
            return result;
        }
    } catch (const ScanError& error) {
        result.findings.push_back(EngineMessageLine(error.what()));
        return result;
    }
    if (record.lameTagValid) {
        file.ComputeMusicCrc(record, nullptr);
    }
    result.findings = IntegrityFindings(record);
    return result;
}

int RunCheck(const CheckOptions& options, std::ostream& out, std::ostream& err,
             std::ostream* progress) {
    ScanOptions collect;
    collect.paths = options.paths;
    collect.recursive = options.recursive;
    int unreadable = 0;
    const std::vector<std::string> files = CollectFiles(collect, err, unreadable);
    const std::vector<CheckResult> results = CheckAll(files, options.jobs, progress);

    bool anyUnsound = false;
    for (const CheckResult& result : results) {
        if (!result.readable) {
            err << result.path << ": " << Verdict(result) << '\n';
            ++unreadable;
        } else if (!result.findings.empty()) {
            anyUnsound = true;
        }
    }
    out << (options.format == "json"  ? Json(results)
            : options.format == "csv" ? Csv(results)
                                      : Text(results));
    return unreadable > 0 ? 2 : anyUnsound ? 1 : 0;
}

}  // namespace vornik
