// SPDX-License-Identifier: GPL-3.0-or-later
// CVornikList: the file list pane, a table view over the file list's model and its workers.
#pragma once

#include <QItemSelection>
#include <QStringList>
#include <QTableView>
#include <QTimer>
#include <cstdint>

#include "file_list_model.h"
#include "file_table_model.h"
#include "folder_watch.h"
#include "gui_result_poster.h"
#include "list_file_actions.h"
#include "list_page_values.h"
#include "list_workers.h"
#include "transfer_plan.h"
#include "window_factory.h"
#include "window_with_settings.h"
#include "worker_thread.h"

namespace vornik {

class CListSubHeader;

class CVornikList : public QTableView,
                    public CFrameWindowStuff,
                    public CWindowWithSettings,
                    private FileListObserver,
                    private WorkerAlerts {
    Q_OBJECT

  public:
    explicit CVornikList(QWidget* parent = nullptr);
    ~CVornikList() override;

    QWidget* GetHwnd() override { return this; }
    void SaveSettings(CIniFile& ini) override;
    void LoadSettings(const CIniFile& ini) override;
    // The four pages edit copies of the settings; OK puts them back, rebuilds the columns and
    // refills when a page asked for it.
    void CreatePages(int* changeFlags) override;
    void AddPages(CSettingsSheet& sheet) override;
    void ApplyPages(int changeFlags) override;

    FileListModel& Model() { return model_; }
    FileTableModel& Table() { return table_; }
    CListSubHeader& SubHeader() { return *header_; }

    // The messages the view passes on. A fill lists its folder on a pool thread; the rows
    // change once the listing is in.
    void ListLoadFolder(const std::string& folder, bool clear, bool completeScan);
    void ListLoadFolder(const QString& folder, bool clear, bool completeScan);
    void ViewRefresh(bool completeScan);
    void ViewSelectAll(bool select);
    void ViewCommand(int command);
    void ViewRename();
    void ViewClipboard(int command);
    // Paths are the files' own bytes, here and in every file action of the list.
    void ListShowFiles(const std::vector<std::string>& paths);
    // Files dropped with `keys` held: Ctrl alone copies and Shift alone moves them into the
    // current folder; otherwise as ListShowFiles.
    void ShowDroppedFiles(const std::vector<std::string>& paths, Qt::KeyboardModifiers keys);
    // Copies or moves `paths` into the current folder on a pool thread, after a question for
    // each file that is there already; `filter` keeps only the files the list shows.
    void TransferInto(const std::vector<std::string>& paths, bool move, bool filter);

    // The folder watch's tick: looks at the folder on a pool thread and refills when its
    // matching files changed.
    void CheckFolder();
    // One more look at the folder shortly, after a command that may have changed it.
    void StartShortWatch();
    // The window is going: the worker stops and the columns keep the user's widths.
    void Shutdown();
    // Opens the details of shown row `row`, or says why MPEG Plus files have none.
    void OpenDetails(int row);
    // The tag dialog of shown row `row`, when the file has a tag to show.
    void OpenTagDialog(int row);
    // Renames the file of shown row `row`; false, with a message, when it cannot be done.
    bool RenameRow(int row, const QString& newName);
    // "&Delete" (to the trash) or Shift+Del (for good), each after the user's word.
    void DeleteSelected(bool forGood);
    // "&Export": the shown rows under the shown columns, to a file the user names.
    void ExportList();

  Q_SIGNALS:
    void FrameSetStatusText(int pane, const QString& text);
    void FrameAnimate(bool play);
    void ViewSettings(int page);
    void ViewOpenDetails(const std::string& path);
    void TreeGoToFolder(const QString& folder);
    // The list shows the files of `folder` now; empty for files named one by one.
    void FrameShownFolder(const QString& folder);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void changeEvent(QEvent* event) override;
    void startDrag(Qt::DropActions supportedActions) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    // FileListObserver
    void DisplayAboutToChange(const DisplayChange& change) override;
    void DisplayChanged(const DisplayChange& change) override;
    void SetStatusText(int pane, const std::string& text) override;
    void Animate(bool play) override;
    void AutoSizeFirstColumn() override;
    // WorkerAlerts
    void Show(const std::string& text) override;

    void OnWorkerMessage(ListWorkerMessage& message);
    void RebuildColumns();
    void ShowSortColumn();
    void UpdatePalette();
    void CopyColumnWidths();
    std::vector<int> SelectedRows() const;
    std::vector<std::string> SelectedPaths() const;
    // The selection lives in the view's selection model alone; these carry it over a reset of
    // the table by the rows' ids.
    std::vector<std::uint64_t> SelectedRowIds() const;
    void SelectRowIds(const std::vector<std::uint64_t>& ids);

    GuiResultPoster poster_;
    ListWorkers workers_;
    DiskFolderLister lister_;
    FileListModel model_;
    FileTableModel table_;
    CListSubHeader* header_;
    ListFileActions* actions_;
    FolderWatch* watch_;
    std::uint64_t listingRequest_ = 0;  // the latest fill asked for; older listings are dropped
    bool listing_ = false;              // that fill's folder is still being listed
    ListPageValues pageValues_;
    int* changeFlags_ = nullptr;
};

}  // namespace vornik
