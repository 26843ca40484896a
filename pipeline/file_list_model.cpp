// SPDX-License-Identifier: GPL-3.0-or-later
#include "file_list_model.h"

#include <algorithm>
#include <filesystem>
#include <utility>

#include "listed_folder.h"
#include "log.h"
#include "row_order.h"
#include "summary_text.h"

namespace vornik {
namespace {

RowKey KeyOf(const _LVItemData& row) {
    return {row.done, &row.record, &row.texts};
}

}  // namespace

FileListModel::FileListModel(ListWorkerPort& worker, const FolderLister& lister,
                             FileListObserver& observer)
    : worker_(worker), lister_(lister), observer_(observer) {}

FileListModel::~FileListModel() = default;

void FileListModel::SaveSettings(CIniFile& ini) {
    SaveListSettings(ini, settings_, columns_);
}

void FileListModel::LoadSettings(const CIniFile& ini) {
    LoadListSettings(ini, settings_, columns_);
}

void FileListModel::SetSettings(const ListSettings& settings) {
    settings_ = settings;
    SortRows();
}

bool FileListModel::LoadFolder(const std::string& folder, bool clear, bool completeScan) {
    Log("CVornikList::OnFill");
    return TakeFolder(ListFolderRows(lister_, folder, settings_.fileTypes), clear, completeScan);
}

bool FileListModel::TakeFolder(ListedFolder listed, bool clear, bool completeScan) {
    worker_.StopProcessing();
    observer_.Animate(false);
    if (!listed.listed) {
        return false;
    }
    BeginFill(clear);
    std::vector<_LVItemData*> batch;
    for (std::unique_ptr<_LVItemData>& row : listed.rows) {
        batch.push_back(row.get());
        Adopt(std::move(row));
    }
    PostFill(std::move(batch), completeScan);

    currentFolder_ = listed.folder;
    snapshot_ = std::move(listed.snapshot);
    return true;
}

void FileListModel::LoadFiles(const std::vector<std::string>& paths, bool completeScan) {
    Log("CVornikList::OnShowFiles");
    worker_.StopProcessing();
    observer_.Animate(false);
    BeginFill(/*clear=*/true);
    std::vector<_LVItemData*> batch;
    for (const std::string& path : paths) {
        const std::filesystem::path file(path);
        batch.push_back(AddRow(file.parent_path().string(), file.filename().string()));
    }
    PostFill(std::move(batch), completeScan);
    currentFolder_.reset();
    snapshot_ = {};
}

void FileListModel::BeginFill(bool clear) {
    fullReadRequested_ = false;
    awaited_ = 0;
    asked_.clear();
    ++fills_;
    if (clear && !rows_.empty()) {
        observer_.DisplayAboutToChange({DisplayChange::Kind::Reset});
        rows_.clear();
        byId_.clear();
        displayed_ = 0;
        observer_.DisplayChanged({DisplayChange::Kind::Reset});
    }
    for (const std::unique_ptr<_LVItemData>& row : rows_) {
        ++row->generation;
    }
}

_LVItemData* FileListModel::AddRow(const std::string& folder, const std::string& name) {
    Adopt(MakeRow(folder, name));
    return rows_.back().get();
}

void FileListModel::PostFill(std::vector<_LVItemData*> batch, bool completeScan) {
    const bool nothingToRead = batch.empty();
    if (!nothingToRead) {
        observer_.Animate(true);
    }
    // An empty batch is posted all the same; it only costs the worker a wake-up.
    Post(std::move(batch), completeScan ? 0 : std::max(settings_.frameres, 0),
         columns_.AnyShownNeedsWalk());
    if (nothingToRead) {
        // No result will come to write the summary: the folder shown before must not keep
        // its own in the status bar.
        AllDone();
    }
}

bool FileListModel::Refresh(bool completeScan) {
    if (!currentFolder_) {
        return false;
    }
    const std::string folder = *currentFolder_;
    return LoadFolder(folder, /*clear=*/true, completeScan);
}

bool FileListModel::CheckFolder() {
    if (!currentFolder_ ||
        !DiffersFromFill(SnapshotFolder(lister_, *currentFolder_, settings_.fileTypes))) {
        return false;
    }
    const std::string folder = *currentFolder_;
    LoadFolder(folder, /*clear=*/true, /*completeScan=*/false);
    return true;
}

bool FileListModel::DiffersFromFill(const FolderSnapshot& now) const {
    return SnapshotsDiffer(snapshot_, now);
}

void FileListModel::Stop() {
    if (awaited_ == 0) {
        return;  // nothing under way: the summary stays
    }
    worker_.StopProcessing();
    // What is still on its way no longer counts: the rows not yet reported stay hidden, and
    // the status keeps saying how far the fill got.
    for (const auto& [id, asked] : asked_) {
        if (const auto row = byId_.find(id); row != byId_.end()) {
            ++row->second->generation;
        }
    }
    awaited_ = 0;
    asked_.clear();
    observer_.Animate(false);
    observer_.SetStatusText(kProgressPane, std::string(kInterruptedText) + ": " +
                                               std::to_string(displayed_) + " of " +
                                               std::to_string(rows_.size()) + " read");
}

int FileListModel::CompleteScan(const std::vector<int>& indexes) {
    std::vector<_LVItemData*> batch;
    for (const int index : indexes) {
        if (index >= 0 && index < DisplayedCount() &&
            !rows_[static_cast<std::size_t>(index)]->record.scanComplete) {
            batch.push_back(rows_[static_cast<std::size_t>(index)].get());
        }
    }
    const int count = static_cast<int>(batch.size());
    if (count > 0) {
        observer_.Animate(true);
        Post(std::move(batch), /*frameBudget=*/0, /*walk=*/true);
    }
    return count;
}

bool FileListModel::ItemDone(std::unique_ptr<ListItemResult> result, bool /*lastOfBatch*/) {
    if (!result) {
        return false;
    }
    const std::optional<std::size_t> found = Position(result->ref);
    if (!found) {
        return false;
    }
    const std::size_t from = *found;
    _LVItemData& row = *rows_[from];
    asked_.erase(row.id);
    Log("CVornikList::OnThreadDone: inserting item  " + row.fileName);
    // The worker wrote only its own copy; the row changes here, on the list's thread.
    std::swap(row.record, result->record);
    std::swap(row.texts, result->texts);
    row.content = result->content;
    // The row's own name: the file may have been renamed while this result was on its way.
    row.texts.Set(kSlotName, row.fileName);
    const bool wasShown = row.done;
    row.done = true;

    const std::size_t to = SortedPlace(row, from);
    const auto moveRow = [this, from, to] {
        const auto first = rows_.begin();
        const auto fromIt = first + static_cast<std::ptrdiff_t>(from);
        const auto toIt = first + static_cast<std::ptrdiff_t>(to);
        if (to < from) {
            std::rotate(toIt, fromIt, fromIt + 1);
        } else if (to > from) {
            std::rotate(fromIt, fromIt + 1, toIt + 1);
        }
    };
    if (!wasShown) {
        const DisplayChange change{DisplayChange::Kind::Insert, static_cast<int>(to)};
        observer_.DisplayAboutToChange(change);
        moveRow();
        ++displayed_;
        observer_.DisplayChanged(change);
    } else if (to == from) {
        observer_.DisplayChanged({DisplayChange::Kind::Update, static_cast<int>(from)});
    } else {
        const int before = static_cast<int>(to > from ? to + 1 : to);
        const DisplayChange change{DisplayChange::Kind::Move, static_cast<int>(from), before};
        observer_.DisplayAboutToChange(change);
        moveRow();
        observer_.DisplayChanged(change);
    }

    Answered();
    return true;
}

void FileListModel::Answered() {
    if (awaited_ > 0) {
        --awaited_;
    }
    if (displayed_ == rows_.size()) {
        AllDone();  // may post the full read, which is awaited in turn
    } else {
        observer_.SetStatusText(kProgressPane,
                                ProgressText(static_cast<int>(displayed_),
                                             static_cast<int>(rows_.size() - displayed_)));
    }
    if (awaited_ == 0) {
        observer_.Animate(false);
    }
}

void FileListModel::ClickColumn(int column) {
    if (column < 0 || column >= columns_.ShownCount()) {
        return;
    }
    const int id = columns_.ShownIds()[static_cast<std::size_t>(column)];
    if (id == settings_.sortColumnId) {
        settings_.sortReverse = !settings_.sortReverse;
    } else {
        settings_.sortColumnId = id;
    }
    SortRows();
}

void FileListModel::SortRows() {
    observer_.DisplayAboutToChange({DisplayChange::Kind::Layout});
    // Rows that are not done sort after all done ones, so the shown rows stay in front.
    std::stable_sort(rows_.begin(), rows_.end(),
                     [this](const std::unique_ptr<_LVItemData>& a,
                            const std::unique_ptr<_LVItemData>& b) { return Before(*a, *b); });
    observer_.DisplayChanged({DisplayChange::Kind::Layout});
}

bool FileListModel::RowRenamed(int index, const std::string& newName) {
    if (index < 0 || index >= DisplayedCount()) {
        return false;
    }
    _LVItemData& row = *rows_[static_cast<std::size_t>(index)];
    const std::string oldName = row.fileName;
    row.fileName = newName;
    row.fullPath = (std::filesystem::path(row.Folder()) / newName).string();
    row.texts.Set(kSlotName, newName);
    // A worker may be about to read the old path: the row is asked again under the new one,
    // and the answer to the old request no longer counts.
    if (const auto asked = asked_.find(row.id); asked != asked_.end()) {
        const Asked again = asked->second;
        if (awaited_ > 0) {
            --awaited_;
        }
        Post({&row}, again.frameBudget, again.walk);
    }
    for (auto& entry : snapshot_) {
        if (entry.first == oldName) {
            entry.first = newName;
            break;
        }
    }
    std::sort(snapshot_.begin(), snapshot_.end());
    observer_.DisplayChanged({DisplayChange::Kind::Update, index});
    return true;
}

const _LVItemData& FileListModel::Displayed(int index) const {
    return *rows_.at(static_cast<std::size_t>(index));
}

_LVItemData& FileListModel::Displayed(int index) {
    return *rows_.at(static_cast<std::size_t>(index));
}

std::string_view FileListModel::CellText(int index, int column) const {
    return Displayed(index).texts[columns_.Shown(column).textSlot];
}

std::string FileListModel::SummaryText() const {
    ListSummary summary;
    for (std::size_t i = 0; i < displayed_; ++i) {
        summary.Add(rows_[i]->record, rows_[i]->content == RowContent::Audio);
    }
    return summary.Text();
}

bool FileListModel::Before(const _LVItemData& a, const _LVItemData& b) const {
    return RowBefore(KeyOf(a), KeyOf(b), settings_.sortColumnId, settings_.sortReverse);
}

void FileListModel::Adopt(std::unique_ptr<_LVItemData> row) {
    row->id = ++lastId_;
    byId_[row->id] = row.get();
    rows_.push_back(std::move(row));
}

std::optional<std::size_t> FileListModel::Position(ListRowRef ref) const {
    const _LVItemData* row = RowWithId(ref.id);
    if (row == nullptr || row->generation != ref.generation) {
        return std::nullopt;  // gone, or an answer to an earlier request
    }
    // Compared by address, so that the walk touches no row.
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        if (rows_[i].get() == row) {
            return i;
        }
    }
    return std::nullopt;
}

const _LVItemData* FileListModel::RowWithId(std::uint64_t id) const {
    const auto found = byId_.find(id);
    return found == byId_.end() ? nullptr : found->second;
}

std::size_t FileListModel::SortedPlace(const _LVItemData& row, std::size_t skip) const {
    // Shown rows are sorted, so the first row that `row` sorts before is found by halving;
    // `skip` (the row's own place, when shown) is left out of the sequence searched.
    const bool skipShown = skip < displayed_;
    const std::size_t count = skipShown ? displayed_ - 1 : displayed_;
    const auto at = [this, skip, skipShown](std::size_t i) -> const _LVItemData& {
        return *rows_[skipShown && i >= skip ? i + 1 : i];
    };
    std::size_t low = 0;
    std::size_t high = count;
    while (low < high) {
        const std::size_t middle = low + (high - low) / 2;
        if (Before(row, at(middle))) {
            high = middle;
        } else {
            low = middle + 1;
        }
    }
    return low;
}

void FileListModel::Post(std::vector<_LVItemData*> rows, int frameBudget, bool walk) {
    auto request = std::make_unique<ListRequest>();
    request->rows.reserve(rows.size());
    for (_LVItemData* row : rows) {
        // A new request of the row: whatever an earlier one still sends is not its answer.
        ++row->generation;
        request->rows.push_back({{row->id, row->generation}, row->fullPath, row->fileName});
        asked_[row->id] = {frameBudget, walk};
    }
    request->frameBudget = frameBudget;
    request->walk = walk;
    request->checkIntegrity = columns_.IsShown(kIntegrityAttributeId);
    request->monoQuality = settings_.monoQuality;
    request->readAllUnknown = settings_.readAllUnknown;
    awaited_ += request->rows.size();
    worker_.Post(std::move(request));
}

void FileListModel::AllDone() {
    observer_.SetStatusText(kProgressPane, SummaryText());
    if (settings_.autosize && !fullReadRequested_) {
        observer_.AutoSizeFirstColumn();
    }
    if (settings_.readAllInitial && !fullReadRequested_) {
        fullReadRequested_ = true;
        std::vector<_LVItemData*> batch;
        for (const std::unique_ptr<_LVItemData>& row : rows_) {
            if (!row->record.scanComplete) {
                batch.push_back(row.get());
            }
        }
        if (!batch.empty()) {
            observer_.Animate(true);
            Post(std::move(batch), /*frameBudget=*/0, /*walk=*/true);
        }
    }
}

}  // namespace vornik
