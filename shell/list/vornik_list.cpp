// SPDX-License-Identifier: GPL-3.0-or-later
#include "vornik_list.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDrag>
#include <QDragEnterEvent>
#include <QFileInfo>
#include <QHeaderView>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <algorithm>
#include <filesystem>
#include <thread>
#include <unordered_set>

#include "background_job.h"
#include "command_ids.h"
#include "desktop_open.h"
#include "file_analysis.h"
#include "file_clipboard.h"
#include "list_cell_delegate.h"
#include "list_export.h"
#include "list_sub_header.h"
#include "listed_folder.h"
#include "local_path.h"
#include "log.h"
#include "prop_list_columns.h"
#include "prop_list_filetypes.h"
#include "prop_list_general.h"
#include "prop_list_quality.h"
#include "settings_sheet.h"
#include "show_files.h"
#include "summary_text.h"
#include "tag_dlg.h"
#include "tag_rows.h"

namespace vornik {
namespace {

int WorkersPerCore() {
    return static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
}

constexpr char kDetailsRefusedText[] = "Details only supported for mp3 files... sorry!";
constexpr char kListErrorCaption[] = "Vornik Error";

}  // namespace

CVornikList::CVornikList(QWidget* parent)
    : QTableView(parent),
      workers_(WorkersPerCore(), poster_),
      model_(workers_, lister_, *this),
      table_(model_),
      header_(new CListSubHeader(this)),
      actions_(new ListFileActions(model_, this, [this] { StartShortWatch(); })),
      watch_(new FolderWatch(model_,
                             {[this] { return listingRequest_; }, [this] { return listing_; },
                              [this](const std::string& folder) {
                                  ListLoadFolder(folder, /*clear=*/true, /*completeScan=*/false);
                              }},
                             this)) {
    table_.SetRenamer([this](int row, const QString& name) { return RenameRow(row, name); });
    poster_.SetHandler([this](ListWorkerMessage& message) { OnWorkerMessage(message); });
    workers_.SetAlerts(this);

    setHorizontalHeader(header_);
    setModel(&table_);
    setItemDelegate(new ListCellDelegate(
        [this](int column) {
            return column >= 0 && column < model_.Columns().ShownCount() &&
                   model_.Columns().ShownIds()[static_cast<std::size_t>(column)] ==
                       kQualityColumnId;
        },
        this));
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setShowGrid(false);
    setWordWrap(false);
    setEditTriggers(QAbstractItemView::NoEditTriggers);  // F2 and "&Rename" start editing
    setDragEnabled(true);
    setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    setDropIndicatorShown(false);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    header_->setStretchLastSection(false);
    UpdatePalette();
    RebuildColumns();

    connect(header_, &QHeaderView::sectionClicked, this, [this](int column) {
        model_.ClickColumn(column);
        ShowSortColumn();
    });
    connect(header_, &CListSubHeader::CustomizeRequested, this,
            [this] { Q_EMIT ViewSettings(/*page=*/2); });
    connect(this, &QAbstractItemView::doubleClicked, this,
            [this](const QModelIndex& index) { OpenDetails(index.row()); });

    // Posted, so that it reaches the status bar once the view has connected the list.
    QTimer::singleShot(0, this, [this] {
        Q_EMIT FrameSetStatusText(kFramesPane,
                                  QString::fromStdString(FramesText(model_.Settings().frameres)));
    });
}

CVornikList::~CVornikList() {
    // The rows must outlive every worker that may still hold one.
    workers_.StopProcessing();
    workers_.Shutdown();
    setModel(nullptr);
}

void CVornikList::SaveSettings(CIniFile& ini) {
    model_.SaveSettings(ini);
}

void CVornikList::LoadSettings(const CIniFile& ini) {
    model_.LoadSettings(ini);
    RebuildColumns();
}

void CVornikList::CreatePages(int* changeFlags) {
    pageValues_ = PageValuesFrom(model_.Settings(), model_.Columns());
    changeFlags_ = changeFlags;
}

void CVornikList::AddPages(CSettingsSheet& sheet) {
    sheet.AddPage(new CPropListGeneral(pageValues_, changeFlags_));
    sheet.AddPage(new CPropListQuality(pageValues_, changeFlags_));
    sheet.AddPage(new CPropListColumns(pageValues_, changeFlags_));
    sheet.AddPage(new CPropListFiletypes(pageValues_));
}

void CVornikList::ApplyPages(int changeFlags) {
    changeFlags_ = nullptr;
    ListSettings settings = model_.Settings();
    TakePageValues(pageValues_, settings);
    // The widths the user left, so that a column shown before keeps its width.
    CopyColumnWidths();
    model_.Columns().SetShownIds(ColumnIdsOf(pageValues_.chosenColumns));
    // New columns reset the table, and with it the view's selection: the same files are
    // selected again afterwards.
    const std::vector<std::uint64_t> selected = SelectedRowIds();
    model_.SetSettings(settings);
    RebuildColumns();
    SelectRowIds(selected);
    if (changeFlags != 0) {
        ViewRefresh(/*completeScan=*/false);
    } else {
        if (settings.autosize) {
            AutoSizeFirstColumn();
        }
        viewport()->update();
    }
    Q_EMIT FrameSetStatusText(kFramesPane, QString::fromStdString(FramesText(settings.frameres)));
}

void CVornikList::RebuildColumns() {
    table_.ColumnsChanged();
    for (int column = 0; column < model_.Columns().ShownCount(); ++column) {
        setColumnWidth(column, model_.Columns().Shown(column).width);
    }
    ShowSortColumn();
}

void CVornikList::ShowSortColumn() {
    header_->SetSortColumn(model_.Columns().ColumnOf(model_.Settings().sortColumnId),
                           model_.Settings().sortReverse);
}

void CVornikList::ListLoadFolder(const QString& folder, bool clear, bool completeScan) {
    ListLoadFolder(PathBytes(folder), clear, completeScan);
}

void CVornikList::ListLoadFolder(const std::string& folder, bool clear, bool completeScan) {
    Log("CVornikList::OnFill");
    // Listing a folder of thousands of files and making their rows takes a while, longer on a
    // slow mount: it runs on a pool thread, and only the latest request is taken.
    const std::uint64_t request = ++listingRequest_;
    listing_ = true;
    Q_EMIT FrameAnimate(true);
    RunInBackground(
        this,
        [path = folder, fileTypes = model_.Settings().fileTypes] {
            return ListFolderRows(DiskFolderLister(), path, fileTypes);
        },
        [this, request, folder, clear, completeScan](ListedFolder listed) {
            if (request != listingRequest_) {
                return;  // a later fill or Stop came first
            }
            listing_ = false;
            if (!model_.TakeFolder(std::move(listed), clear, completeScan)) {
                // The rows of the folder shown before stay; the status bar says why.
                Q_EMIT FrameSetStatusText(kProgressPane,
                                          tr("Cannot read the folder %1").arg(DisplayPath(folder)));
                return;
            }
            Q_EMIT FrameShownFolder(DisplayPath(folder));
        });
}

void CVornikList::ViewRefresh(bool completeScan) {
    if (const std::optional<std::string>& folder = model_.CurrentFolder()) {
        ListLoadFolder(*folder, /*clear=*/true, completeScan);
    }
}

void CVornikList::ViewSelectAll(bool select) {
    setFocus();
    if (select) {
        selectAll();
    } else {
        clearSelection();
    }
}

void CVornikList::ViewCommand(int command) {
    if (command == CmdStop) {
        if (listing_) {
            ++listingRequest_;  // the listing still running is not taken
            listing_ = false;
            Q_EMIT FrameAnimate(false);
            Q_EMIT FrameSetStatusText(kProgressPane, tr(kInterruptedText));
        }
        model_.Stop();
    } else if (command == CmdTagDialog) {
        const std::vector<int> selected = SelectedRows();
        if (!selected.empty()) {
            OpenTagDialog(selected.front());
        }
    } else if (command == CmdExport) {
        ExportList();
    } else if (command == CmdDelete) {
        DeleteSelected(/*forGood=*/false);
    }
}

void CVornikList::OpenTagDialog(int row) {
    if (row < 0 || row >= model_.DisplayedCount()) {
        return;
    }
    const _LVItemData& item = model_.Displayed(row);
    if (TagPagesOf(item.record).empty()) {
        QMessageBox::information(this, QString(),
                                 tr("\"%1\" has no Lame tag, Xing or VBRI header to show.")
                                     .arg(QString::fromStdString(item.fileName)));
        return;
    }
    auto* dialog = new CTagDlg(item.record, item.texts.Unpacked(), item.fullPath,
                               QString::fromStdString(item.fileName), window());
    dialog->show();
}

void CVornikList::ExportList() {
    ExportListWithDialog(this, model_);
}

bool CVornikList::RenameRow(int row, const QString& newName) {
    return actions_->RenameRow(row, newName);
}

void CVornikList::DeleteSelected(bool forGood) {
    actions_->Delete(SelectedPaths(), forGood);
}

void CVornikList::TransferInto(const std::vector<std::string>& paths, bool move, bool filter) {
    actions_->TransferInto(paths, move, filter);
}

void CVornikList::CheckFolder() {
    watch_->Check();
}

void CVornikList::StartShortWatch() {
    watch_->StartShort();
}

void CVornikList::ViewRename() {
    const int column = model_.Columns().ColumnOf(kNameColumnId);
    const int row = currentIndex().row();
    if (column >= 0 && row >= 0 && row < model_.DisplayedCount()) {
        edit(table_.index(row, column));
    }
}

void CVornikList::startDrag(Qt::DropActions /*supportedActions*/) {
    const std::vector<std::string> paths = SelectedPaths();
    if (paths.empty()) {
        return;
    }
    auto* drag = new QDrag(this);
    drag->setMimeData(FilesMimeData(paths, /*cut=*/false));
    // The target chooses between a copy and a move.
    if (drag->exec(Qt::CopyAction | Qt::MoveAction, Qt::CopyAction) != Qt::IgnoreAction) {
        StartShortWatch();
    }
}

void CVornikList::dragEnterEvent(QDragEnterEvent* event) {
    if (!ReadFilesMimeData(*event->mimeData()).paths.empty()) {
        event->acceptProposedAction();
    }
}

void CVornikList::dragMoveEvent(QDragMoveEvent* event) {
    const Qt::KeyboardModifiers keys = event->modifiers();
    if ((keys & Qt::ControlModifier) && !(keys & Qt::ShiftModifier)) {
        event->setDropAction(Qt::CopyAction);
    } else if ((keys & Qt::ShiftModifier) && !(keys & Qt::ControlModifier)) {
        event->setDropAction(Qt::MoveAction);
    } else {
        event->setDropAction(event->proposedAction());
    }
    event->accept();
}

void CVornikList::dropEvent(QDropEvent* event) {
    const ClipboardFiles files = ReadFilesMimeData(*event->mimeData());
    if (files.paths.empty()) {
        return;
    }
    event->acceptProposedAction();
    const std::vector<std::string> paths = files.paths;
    const Qt::KeyboardModifiers keys = event->modifiers();
    Log("CVornikList::OnDrop");
    // Handled once the drag has ended, so that the source is not kept waiting.
    QTimer::singleShot(0, this, [this, paths, keys] { ShowDroppedFiles(paths, keys); });
}

void CVornikList::ViewClipboard(int command) {
    if (command == CmdPaste) {
        const QMimeData* data = QApplication::clipboard()->mimeData();
        const ClipboardFiles files = data != nullptr ? ReadFilesMimeData(*data) : ClipboardFiles{};
        if (files.effect != FileEffect::None) {
            TransferInto(files.paths, files.effect == FileEffect::Move, /*filter=*/true);
        }
        return;
    }
    if (command != CmdCut && command != CmdCopy) {
        return;
    }
    const std::vector<std::string> paths = SelectedPaths();
    if (!paths.empty()) {
        QApplication::clipboard()->setMimeData(FilesMimeData(paths, command == CmdCut));
    }
}

void CVornikList::ListShowFiles(const std::vector<std::string>& paths) {
    ShowDroppedFiles(paths, Qt::NoModifier);
}

void CVornikList::ShowDroppedFiles(const std::vector<std::string>& paths,
                                   Qt::KeyboardModifiers keys) {
    const auto isFolder = [](const std::string& path) {
        std::error_code error;
        return std::filesystem::is_directory(path, error);
    };
    const bool ctrl = keys & Qt::ControlModifier;
    const bool shift = keys & Qt::ShiftModifier;
    const bool oneFolder = paths.size() == 1 && isFolder(paths.front());
    if (!paths.empty() && !oneFolder && ctrl != shift) {
        TransferInto(paths, /*move=*/shift, /*filter=*/false);
        return;
    }
    const ShowFilesPlan plan = PlanShowFiles(paths, isFolder);
    if (!plan.openDetails.empty()) {
        Log("Do details: " + plan.openDetails);
        if (IsMpegPlusPath(plan.openDetails)) {
            QMessageBox::information(this, kListErrorCaption, kDetailsRefusedText);
        } else {
            Q_EMIT ViewOpenDetails(plan.openDetails);
        }
    }
    if (!plan.goToFolder.empty()) {
        Q_EMIT TreeGoToFolder(DisplayPath(plan.goToFolder));
    }
    if (!plan.listFiles.empty()) {
        ++listingRequest_;  // a folder listing still under way is not taken
        listing_ = false;
        model_.LoadFiles(plan.listFiles, /*completeScan=*/false);
        Q_EMIT FrameShownFolder(QString());
    }
}

void CVornikList::Shutdown() {
    ++listingRequest_;
    workers_.StopProcessing();
    watch_->Stop();
    CopyColumnWidths();
}

void CVornikList::CopyColumnWidths() {
    for (int column = 0; column < model_.Columns().ShownCount(); ++column) {
        model_.Columns().SetWidth(model_.Columns().ShownIds()[static_cast<std::size_t>(column)],
                                  columnWidth(column));
    }
}

void CVornikList::OpenDetails(int row) {
    if (row < 0 || row >= model_.DisplayedCount()) {
        return;
    }
    const _LVItemData& item = model_.Displayed(row);
    Log("Do details: " + item.fileName);
    if (IsMpegPlusPath(item.fullPath)) {
        QMessageBox::information(this, kListErrorCaption, kDetailsRefusedText);
        return;
    }
    Q_EMIT ViewOpenDetails(item.fullPath);
}

std::vector<std::string> CVornikList::SelectedPaths() const {
    std::vector<std::string> paths;
    for (const int row : SelectedRows()) {
        paths.push_back(model_.Displayed(row).fullPath);
    }
    return paths;
}

std::vector<int> CVornikList::SelectedRows() const {
    std::vector<int> rows;
    if (selectionModel() == nullptr) {
        return rows;
    }
    for (const QModelIndex& index : selectionModel()->selectedRows()) {
        if (index.row() < model_.DisplayedCount()) {
            rows.push_back(index.row());
        }
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}

void CVornikList::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && event->modifiers() == Qt::NoModifier && state() != EditingState) {
        OpenDetails(currentIndex().row());
        return;
    }
    if (event->key() == Qt::Key_Delete && event->modifiers() == Qt::ShiftModifier) {
        DeleteSelected(/*forGood=*/true);
        return;
    }
    if (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier) {
        // The row menu from the keyboard, as the Menu key opens it, at the current row.
        const QPoint at = visualRect(currentIndex()).center();
        QContextMenuEvent menu(QContextMenuEvent::Keyboard, at, viewport()->mapToGlobal(at));
        contextMenuEvent(&menu);
        return;
    }
    QTableView::keyPressEvent(event);
}

void CVornikList::contextMenuEvent(QContextMenuEvent* event) {
    // From the keyboard with nothing selected, the menu is for the current row.
    if (event->reason() == QContextMenuEvent::Keyboard && !selectionModel()->hasSelection() &&
        currentIndex().isValid()) {
        selectRow(currentIndex().row());
    }
    const std::vector<int> selected = SelectedRows();
    if (selected.empty()) {
        return;
    }
    const _LVItemData& first = model_.Displayed(selected.front());
    const std::string firstPath = first.fullPath;
    QMenu menu(this);
    QAction* details = menu.addAction(tr("&Details"));
    menu.setDefaultAction(details);
    QAction* lameHeader = menu.addAction(tr("&Lame Header"));
    // A VBRI header alone has a page too.
    lameHeader->setEnabled(!TagPagesOf(first.record).empty());
    QAction* completeScan = menu.addAction(tr("&Complete Scan"));
    QAction* rename = menu.addAction(tr("&Rename"));
    menu.addSeparator();
    QAction* openDefault = menu.addAction(tr("Open With Default Application"));
    QAction* openFolder = menu.addAction(tr("Open Containing Folder"));

    QAction* chosen = menu.exec(event->globalPos());
    if (chosen == details) {
        // Copies: a message box of one row's details lets the list change under the loop.
        std::vector<std::string> paths;
        for (const int row : selected) {
            paths.push_back(model_.Displayed(row).fullPath);
        }
        for (const std::string& path : paths) {
            for (int row = 0; row < model_.DisplayedCount(); ++row) {
                if (model_.Displayed(row).fullPath == path) {
                    OpenDetails(row);
                    break;
                }
            }
        }
    } else if (chosen == lameHeader) {
        OpenTagDialog(selected.front());
    } else if (chosen == completeScan) {
        model_.CompleteScan(SelectedRows());  // the rows may have moved while the menu was open
    } else if (chosen == rename) {
        ViewRename();
    } else if (chosen == openDefault) {
        OpenWithDefaultApplication(firstPath);
    } else if (chosen == openFolder) {
        OpenContainingFolder(firstPath, this);
    }
}

void CVornikList::changeEvent(QEvent* event) {
    if (event->type() == QEvent::PaletteChange) {
        UpdatePalette();
    }
    QTableView::changeEvent(event);
}

void CVornikList::UpdatePalette() {
    table_.SetPalette({palette().color(QPalette::Base), palette().color(QPalette::Text),
                       palette().color(QPalette::AlternateBase),
                       palette().color(QPalette::Disabled, QPalette::Text)});
}

void CVornikList::DisplayAboutToChange(const DisplayChange& change) {
    table_.AboutToChange(change);
}

void CVornikList::DisplayChanged(const DisplayChange& change) {
    table_.Changed(change);
}

void CVornikList::SetStatusText(int pane, const std::string& text) {
    Q_EMIT FrameSetStatusText(pane, QString::fromStdString(text));
}

void CVornikList::Animate(bool play) {
    Q_EMIT FrameAnimate(play);
}

void CVornikList::AutoSizeFirstColumn() {
    if (model_.Columns().ShownCount() == 0) {
        return;
    }
    std::vector<int> widths;
    for (int column = 0; column < model_.Columns().ShownCount(); ++column) {
        widths.push_back(columnWidth(column));
    }
    setColumnWidth(0, AutoSizedFirstColumnWidth(viewport()->width(), widths));
}

void CVornikList::Show(const std::string& text) {
    QMessageBox::warning(this, QString(), QString::fromStdString(text));
}

void CVornikList::OnWorkerMessage(ListWorkerMessage& message) {
    model_.ItemDone(std::move(message.result), message.lastOfBatch);
}

std::vector<std::uint64_t> CVornikList::SelectedRowIds() const {
    std::vector<std::uint64_t> ids;
    for (const int row : SelectedRows()) {
        ids.push_back(model_.Displayed(row).id);
    }
    return ids;
}

void CVornikList::SelectRowIds(const std::vector<std::uint64_t>& ids) {
    if (selectionModel() == nullptr || table_.columnCount() == 0 || ids.empty()) {
        return;
    }
    const std::unordered_set<std::uint64_t> wanted(ids.begin(), ids.end());
    QItemSelection selection;
    const int last = table_.columnCount() - 1;
    for (int row = 0; row < model_.DisplayedCount(); ++row) {
        if (wanted.count(model_.Displayed(row).id) > 0) {
            selection.select(table_.index(row, 0), table_.index(row, last));
        }
    }
    selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
}

}  // namespace vornik
