// SPDX-License-Identifier: GPL-3.0-or-later
// The file list without its widget: rows, fills, results, order, status texts and settings.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "column_table.h"
#include "folder_lister.h"
#include "folder_snapshot.h"
#include "list_row.h"
#include "list_settings.h"
#include "list_worker_port.h"
#include "listed_folder.h"
#include "settings_keeper.h"

namespace vornik {

// A change of the shown rows, announced before (except Update) and after it happens, so that
// a table model can bracket it. Indexes count shown rows.
struct DisplayChange {
    enum class Kind {
        Reset,   // every row went
        Layout,  // the rows were sorted again
        Insert,  // a row appeared at `index` (its index after the change)
        Move,    // the row at `index` moved in front of the row at `before` (both counted
                 // before the move, as a table model's row move takes them)
        Remove,  // the row at `index` went
        Update,  // the row at `index` changed where it stands; -1: every shown row; announced
                 // only after the change
    };
    Kind kind = Kind::Update;
    int index = -1;
    int before = -1;

    friend bool operator==(const DisplayChange&, const DisplayChange&) = default;
};

// What the list tells the window around it: the table's changes, the status bar, the busy
// animation. Every call comes on the list's thread, from inside a FileListModel call.
class FileListObserver {
  public:
    virtual ~FileListObserver() = default;
    virtual void DisplayAboutToChange(const DisplayChange& /*change*/) {}
    virtual void DisplayChanged(const DisplayChange& /*change*/) {}
    // `FrameSetStatusText`: `pane` is kProgressPane or kFramesPane.
    virtual void SetStatusText(int /*pane*/, const std::string& /*text*/) {}
    // `FrameAnimate`: true plays the busy animation, false stops it.
    virtual void Animate(bool /*play*/) {}
    // A fill is complete and "autosize" is on: give column 0 the width of
    // AutoSizedFirstColumnWidth and rebuild the header tool tips.
    virtual void AutoSizeFirstColumn() {}
};

// The rows of one folder and the rules that fill, order and summarise them.
//
// Rows are created hidden, one per matching file, and handed to the worker in one batch;
// each becomes shown when its result arrives and is put in its sorted place. Shown rows are
// always the first DisplayedCount() rows, in display order; hidden rows follow.
//
// The worker gets copies of the rows' paths and names, each with the row's id and the
// generation of the request; a result counts only while its row is listed and answers the
// row's latest request. Rows can therefore go at any time, and a batch posted while another is
// under way (a complete scan during a fill) takes nothing from the other.
class FileListModel : public SettingsKeeper {
  public:
    FileListModel(ListWorkerPort& worker, const FolderLister& lister, FileListObserver& observer);
    ~FileListModel() override;
    FileListModel(const FileListModel&) = delete;
    FileListModel& operator=(const FileListModel&) = delete;

    // The "list_settings" and "export" sections.
    void SaveSettings(CIniFile& ini) override;
    void LoadSettings(const CIniFile& ini) override;

    const ListSettings& Settings() const { return settings_; }
    // Replaces the live settings, passes the worker its options and sorts the rows by the
    // (possibly new) sort column.
    void SetSettings(const ListSettings& settings);
    // Column widths and shown columns; the widget writes the user's widths back before saving.
    ColumnTable& Columns() { return columns_; }
    const ColumnTable& Columns() const { return columns_; }

    // `ListLoadFolder`: stops the worker, lists `folder`, removes the rows first when `clear`,
    // adds a hidden row per file the "filetypes" filter wants and posts them all as one batch:
    // budget "frameres" (0 or less: all frames), or all frames for a `completeScan`; the walk
    // only when a shown column needs it. False, with the rows left as they were, when the
    // folder cannot be listed.
    bool LoadFolder(const std::string& folder, bool clear, bool completeScan);
    // The second half of LoadFolder, for a folder listed elsewhere (ListFolderRows on another
    // thread): the worker stopped, the rows taken over and posted. False, with the rows left
    // as they were, when the folder could not be listed.
    bool TakeFolder(ListedFolder listed, bool clear, bool completeScan);
    // `ListShowFiles`: as LoadFolder with clearing, for files named one by one (from the command
    // line or a drop), each from its own folder, whatever its type. There is no current
    // folder afterwards, so the folder watch and Refresh do nothing.
    void LoadFiles(const std::vector<std::string>& paths, bool completeScan);
    // `ViewRefresh`: fills the current folder again, clearing first; false when there is none
    // or it cannot be listed.
    bool Refresh(bool completeScan);
    // The folder watch's tick: when the matching files' names or sizes changed since the last
    // fill, refills as Refresh(false) does. True when it found a change (a folder that can no
    // longer be listed counts as empty; its refill then fails and keeps the rows).
    bool CheckFolder();
    // True when `now` (SnapshotFolder of the current folder) differs from the last fill.
    bool DiffersFromFill(const FolderSnapshot& now) const;
    // Stop loading: rows not yet reported stay hidden until the next fill, and the status says
    // how many of the rows were read. Nothing happens when nothing is under way.
    void Stop();
    // Posts the shown rows at `indexes` (the view's selection) that were not scanned to their
    // end as one batch with no frame budget. Returns the number of rows posted.
    int CompleteScan(const std::vector<int>& indexes);

    // `ListItemDone`: swaps the result's record and texts into its row, shows the row at its
    // sorted place (after the rows it compares equal to) and updates the status bar. False,
    // with nothing changed, for a row no longer listed or a result of an older request.
    bool ItemDone(std::unique_ptr<ListItemResult> result, bool lastOfBatch = false);

    // A click on shown column `column`: the sort column reverses the order, another column
    // becomes the sort column in the same direction; then the rows are sorted again.
    void ClickColumn(int column);
    // Sorts every row by the sort column; rows that compare equal keep their order.
    void SortRows();
    // The file of shown row `index` was renamed to `newName` in its folder: the row takes the
    // name and path, and the folder snapshot the name, so that the folder watch sees no
    // change; a row still waiting for a worker is asked again under its new path. False for
    // an index that is not shown.
    bool RowRenamed(int index, const std::string& newName);

    int DisplayedCount() const { return static_cast<int>(displayed_); }
    // Shown row `index`, which must be below DisplayedCount().
    const _LVItemData& Displayed(int index) const;
    _LVItemData& Displayed(int index);
    // The text of shown row `index` in shown column `column` (the Quality column's word shows
    // on its colour).
    std::string_view CellText(int index, int column) const;

    // Every row, shown ones first; `position` must be below RowCount().
    std::size_t RowCount() const { return rows_.size(); }
    const _LVItemData& Row(std::size_t position) const { return *rows_.at(position); }
    // The listed row with `id`, or null.
    const _LVItemData* RowWithId(std::uint64_t id) const;

    // The summary of the shown rows, as the status bar shows it when a fill is complete.
    std::string SummaryText() const;

    bool FullReadRequested() const { return fullReadRequested_; }
    // Rows posted to the worker and not answered yet (none after a stop).
    std::size_t Awaited() const { return awaited_; }
    // Fills begun so far (folders, refreshes, files named one by one).
    std::uint64_t FillCount() const { return fills_; }
    const std::optional<std::string>& CurrentFolder() const { return currentFolder_; }
    const FolderSnapshot& Snapshot() const { return snapshot_; }

  private:
    bool Before(const _LVItemData& a, const _LVItemData& b) const;
    // The position of the row that `ref` answers, if it is listed and `ref` is its latest
    // request.
    std::optional<std::size_t> Position(ListRowRef ref) const;
    // Gives `row` the next id and lists it.
    void Adopt(std::unique_ptr<_LVItemData> row);
    // Where a done row belongs among the shown rows other than position `skip` (none when
    // `skip` is not a shown position): after every row that it does not sort before.
    std::size_t SortedPlace(const _LVItemData& row, std::size_t skip) const;
    void Post(std::vector<_LVItemData*> rows, int frameBudget, bool walk);
    // Starts a fill: every row goes when `clear`; otherwise the rows stay and no result of
    // their earlier requests counts any more.
    void BeginFill(bool clear);
    // Adds the hidden row of `name` in `folder` and returns it.
    _LVItemData* AddRow(const std::string& folder, const std::string& name);
    // Posts the rows of a fill as one batch.
    void PostFill(std::vector<_LVItemData*> batch, bool completeScan);
    // After a row's result or failure: the progress or the all-done step, and the animation
    // stopped once the latest batch has no row left to answer.
    void Answered();
    void AllDone();

    ListWorkerPort& worker_;
    const FolderLister& lister_;
    FileListObserver& observer_;

    ListSettings settings_;
    ColumnTable columns_;
    std::vector<std::unique_ptr<_LVItemData>> rows_;
    std::size_t displayed_ = 0;  // rows_[0, displayed_) are done and shown
    std::optional<std::string> currentFolder_;
    FolderSnapshot snapshot_;
    // What each row still waiting for its answer was asked, by row id: a renamed row is asked
    // again under its new name.
    struct Asked {
        int frameBudget = 0;
        bool walk = true;
    };
    std::unordered_map<std::uint64_t, Asked> asked_;
    // Every listed row by its id, for the results: found without walking the rows.
    std::unordered_map<std::uint64_t, _LVItemData*> byId_;
    std::uint64_t lastId_ = 0;  // ids are never reused
    std::uint64_t fills_ = 0;
    // Rows posted and not yet answered. Counted here rather than taken from the batch's
    // last-row mark: with several workers each marks the end of its own share.
    std::size_t awaited_ = 0;
    bool fullReadRequested_ = false;
};

}  // namespace vornik
