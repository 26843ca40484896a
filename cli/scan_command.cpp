#include "scan_command.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "attribute_catalogue.h"
#include "file_analysis.h"
#include "row_order.h"
#include "scan_rows.h"

namespace vornik {
namespace {

namespace fs = std::filesystem;

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// The list of file types is ".mp3;.mp2;..." with a ";" after each extension.
bool HasListedType(const fs::path& path, const std::string& fileTypes) {
    const std::string extension = Lower(path.extension().string());
    if (extension.empty()) {
        return false;
    }
    std::istringstream types(Lower(fileTypes));
    for (std::string type; std::getline(types, type, ';');) {
        if (type == extension) {
            return true;
        }
    }
    return false;
}

void AddFolder(const fs::path& folder, const ScanOptions& options, std::vector<std::string>& files,
               std::ostream& err, int& unreadable) {
    std::error_code error;
    const auto add = [&](const fs::directory_entry& entry) {
        std::error_code statError;
        if (entry.is_regular_file(statError) && HasListedType(entry.path(), options.fileTypes)) {
            files.push_back(entry.path().string());
        }
    };
    if (options.recursive) {
        for (fs::recursive_directory_iterator
                 it(folder, fs::directory_options::skip_permission_denied, error),
             end;
             !error && it != end; it.increment(error)) {
            add(*it);
        }
    } else {
        for (fs::directory_iterator it(folder, error), end; !error && it != end;
             it.increment(error)) {
            add(*it);
        }
    }
    if (error) {
        err << folder.string() << ": cannot read the folder: " << error.message() << '\n';
        ++unreadable;
    }
}

bool AnyNeedsWalk(const std::vector<int>& columns) {
    return std::any_of(columns.begin(), columns.end(), [](int id) {
        const AttributeInfo* attribute = FindAttribute(id);
        return attribute != nullptr && attribute->needsWalk;
    });
}

}  // namespace

std::vector<std::string> CollectFiles(const ScanOptions& options, std::ostream& err,
                                      int& unreadable) {
    std::vector<std::string> files;
    for (const std::string& path : options.paths) {
        std::error_code error;
        const fs::file_status status = fs::status(path, error);
        if (fs::is_directory(status)) {
            std::vector<std::string> found;
            AddFolder(path, options, found, err, unreadable);
            std::sort(found.begin(), found.end());
            files.insert(files.end(), found.begin(), found.end());
        } else if (fs::exists(status)) {
            files.push_back(path);
        } else {
            err << path << ": " << (error ? error.message() : "no such file or folder") << '\n';
            ++unreadable;
        }
    }
    return files;
}

int RunScan(const ScanOptions& options, std::ostream& out, std::ostream& err,
            std::ostream* progress) {
    int unreadable = 0;
    const std::vector<std::string> files = CollectFiles(options, err, unreadable);

    AnalysisOptions analysis;
    analysis.frameBudget = options.frameBudget;
    analysis.walk = AnyNeedsWalk(options.columns);
    analysis.readAllUnknown = true;

    std::vector<ScanRow> rows;
    rows.reserve(files.size());
    for (std::size_t i = 0; i < files.size(); ++i) {
        const std::string& path = files[i];
        if (progress != nullptr) {
            *progress << "\r\033[K" << i + 1 << "/" << files.size() << " "
                      << fs::path(path).filename().string() << std::flush;
        }
        if (!std::ifstream(path, std::ios::binary)) {
            err << path << ": cannot open the file\n";
            ++unreadable;
            continue;
        }
        FileAnalysis result = AnalyseFile(path, fs::path(path).filename().string(), analysis);
        if (result.outcome == AnalysisOutcome::Failed) {
            err << path << ": no MPEG audio stream found, left out\n";
            continue;
        }
        rows.push_back({path, std::move(result)});
    }
    if (progress != nullptr && !files.empty()) {
        *progress << "\r\033[K" << std::flush;
    }
    SortRows(rows, options.sortId, options.reverse);
    out << FormatRows(rows, options);
    return unreadable > 0 ? 2 : 0;
}

}  // namespace vornik
