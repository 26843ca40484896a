// SPDX-License-Identifier: GPL-3.0-or-later
#include "scan_command.h"

#include <algorithm>
#include <filesystem>
#include <map>

#include "attribute_catalogue.h"
#include "file_list_model.h"
#include "file_reader.h"
#include "file_type_filter.h"
#include "list_workers.h"
#include "queued_results.h"
#include "scan_rows.h"
#include "terminal_text.h"

namespace vornik {
namespace {

namespace fs = std::filesystem;

void AddFolder(const fs::path& folder, const ScanOptions& options, std::vector<std::string>& files,
               std::ostream& err, int& unreadable) {
    std::error_code error;
    const FileTypeFilter filter(options.fileTypes);
    const auto add = [&](const fs::directory_entry& entry) {
        std::error_code statError;
        if (entry.is_regular_file(statError) && filter.Wants(entry.path().filename().string())) {
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
            // A named pipe or a device named here is refused, not waited on.
            FileReader probe;
            if (probe.open(path)) {
                files.push_back(path);
            } else {
                err << path << ": " << probe.openError() << '\n';
                ++unreadable;
            }
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

    QueuedResults results;
    // More workers than files would only wait.
    const std::size_t jobs = std::min<std::size_t>(std::max(options.jobs, 1), files.size());
    ListWorkers workers(static_cast<int>(jobs), results);
    if (workers.Count() == 0) {
        err << "cannot start a list worker: " << workers.StartError() << '\n';
        return 2;
    }
    const DiskFolderLister lister;
    FileListObserver quiet;
    FileListModel list(workers, lister, quiet);
    ListSettings settings;
    settings.frameres = options.frameBudget;
    settings.sortColumnId = options.sortId;
    settings.sortReverse = options.reverse;
    list.Columns().SetShownIds(options.columns);
    list.SetSettings(settings);
    list.LoadFiles(files, /*completeScan=*/false);

    // The rows in the order the files were given: ties of the sort keep it, whichever worker
    // finished first.
    std::map<std::uint64_t, std::size_t> givenOrder;  // by row id
    for (std::size_t i = 0; i < list.RowCount(); ++i) {
        givenOrder[list.Row(i).id] = i;
    }
    for (std::size_t answered = 0; answered < files.size(); ++answered) {
        QueuedResults::Message message = results.Next();
        const _LVItemData* row = list.RowWithId(message.result->ref.id);
        if (row == nullptr) {
            continue;  // cannot happen: no row leaves the list of a scan
        }
        if (progress != nullptr) {
            *progress << "\r\033[K" << answered + 1 << "/" << files.size() << " "
                      << TerminalText(row->fileName) << std::flush;
        }
        // A file without audio keeps its row, its Encoder cell saying why; one that cannot
        // be read is an error of the scan.
        if (message.result->content != RowContent::Audio) {
            if (progress != nullptr) {
                *progress << "\r\033[K" << std::flush;  // the line goes where progress stood
            }
            err << row->fullPath << ": " << message.result->texts[kSlotEncoder] << '\n';
        }
        if (message.result->content == RowContent::Unreadable) {
            ++unreadable;
        }
        list.ItemDone(std::move(message.result), message.lastOfBatch);
    }
    workers.Shutdown();
    if (progress != nullptr && !files.empty()) {
        *progress << "\r\033[K" << std::flush;
    }

    // Views of the list's rows, in the order given: the document is written from the rows
    // themselves, never from copies of them.
    std::vector<std::pair<std::size_t, ScanRow>> shown;
    shown.reserve(static_cast<std::size_t>(list.DisplayedCount()));
    for (int i = 0; i < list.DisplayedCount(); ++i) {
        const _LVItemData& row = list.Displayed(i);
        shown.push_back({givenOrder[row.id], {row.fullPath, &row.record, &row.texts}});
    }
    givenOrder.clear();
    std::sort(shown.begin(), shown.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<ScanRow> rows;
    rows.reserve(shown.size());
    for (const auto& [given, row] : shown) {
        rows.push_back(row);
    }
    shown = {};
    SortRows(rows, options.sortId, options.reverse);
    out << FormatRows(rows, {options.columns, options.format, options.xmlAmpersands});
    return unreadable > 0 ? 2 : 0;
}

}  // namespace vornik
