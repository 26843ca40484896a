#include "vornik_list.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDrag>
#include <QDragEnterEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPointer>
#include <QProgressDialog>
#include <QPushButton>
#include <algorithm>
#include <filesystem>
#include <thread>
#include <unordered_set>

#include "background_job.h"
#include "command_ids.h"
#include "desktop_open.h"
#include "file_analysis.h"
#include "file_clipboard.h"
#include "file_operations.h"
#include "file_transfer.h"
#include "file_type_filter.h"
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
#include "replace_file.h"
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
      header_(new CListSubHeader(this)) {
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

    watch_.setInterval(kWatchIntervalMs);
    connect(&watch_, &QTimer::timeout, this, &CVornikList::CheckFolder);
    watch_.start();
    shortWatch_.setSingleShot(true);
    shortWatch_.setInterval(kShortWatchMs);
    connect(&shortWatch_, &QTimer::timeout, this, &CVornikList::CheckFolder);

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
            }
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
        ++listingRequest_;  // a listing still running is not taken
        listing_ = false;
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
        return;  // no tag to show
    }
    auto* dialog = new CTagDlg(item.record, item.texts, item.fullPath,
                               QString::fromStdString(item.displayName), window());
    dialog->show();
}

void CVornikList::ExportList() {
    QFileDialog chooser(window(), tr("Export"));
    chooser.setAcceptMode(QFileDialog::AcceptSave);
    chooser.setNameFilters({tr("XML Files (*.xml)"), tr("Text Files (*.txt)"),
                            tr("JSON Files (*.json)"), tr("CSV Files (*.csv)")});
    chooser.setDefaultSuffix(QStringLiteral("xml"));
    if (chooser.exec() != QDialog::Accepted || chooser.selectedFiles().isEmpty()) {
        return;
    }
    const std::string path = PathBytes(chooser.selectedFiles().front());
    const std::optional<std::string> format = ExportFormatOf(path);
    if (!format) {
        QMessageBox::information(this, QString(), tr("Unrecognized filetype"));
        return;
    }
    // Written beside the old file and renamed over it: a failed write leaves the old file.
    std::error_code error;
    if (!WriteFileReplacing(path, ListDocument(model_, *format), error, ReadOnlyFile::kKeep)) {
        QMessageBox box(QMessageBox::Warning, QString(), tr("Unable to write to file"),
                        QMessageBox::Ok, this);
        box.setInformativeText(DisplayPath(path) + QStringLiteral(": ") +
                               QString::fromStdString(error.message()));
        box.exec();
        return;
    }
    OpenWithDefaultApplication(path);
}

void CVornikList::ViewRename() {
    const int column = model_.Columns().ColumnOf(kNameColumnId);
    const int row = currentIndex().row();
    if (column >= 0 && row >= 0 && row < model_.DisplayedCount()) {
        edit(table_.index(row, column));
    }
}

bool CVornikList::RenameRow(int row, const QString& newName) {
    if (row < 0 || row >= model_.DisplayedCount()) {
        return false;
    }
    const _LVItemData& item = model_.Displayed(row);
    if (newName == DisplayPath(item.fileName)) {
        return true;  // unchanged: the row keeps its bytes, whatever the text shows
    }
    if (const std::optional<QString> question =
            ExtensionQuestion(DisplayPath(item.fileName), newName)) {
        if (QMessageBox::question(this, QString(), *question, QMessageBox::Yes | QMessageBox::No,
                                  QMessageBox::No) != QMessageBox::Yes) {
            return false;
        }
    }
    if (const std::optional<QString> error = RenameFile(item.folder, item.fileName, newName)) {
        // The editor closes and the old name comes back.
        QMessageBox::warning(this, QString(), *error);
        return false;
    }
    return model_.RowRenamed(row, PathBytes(newName));
}

void CVornikList::DeleteSelected(bool forGood) {
    const std::vector<std::string> paths = SelectedPaths();
    if (paths.empty()) {
        return;
    }
    const DeleteOutcome outcome = DeleteFiles(paths, forGood, [this](const QString& question) {
        return QMessageBox::question(this, QString(), question, QMessageBox::Yes | QMessageBox::No,
                                     QMessageBox::No) == QMessageBox::Yes;
    });
    if (!outcome.removed.empty()) {
        StartShortWatch();
    }
    // Files the user chose to keep need no word; files that could not go do, with the reason.
    if (!outcome.failed.empty()) {
        QMessageBox::warning(
            this, QString(),
            tr("These files could not be deleted:\n%1").arg(FailureLines(outcome.failed)));
    }
}

void CVornikList::TransferInto(const std::vector<std::string>& paths, bool move, bool filter) {
    const std::optional<std::string>& folder = model_.CurrentFolder();
    if (!folder || paths.empty()) {
        return;
    }
    const FileTypeFilter wanted(model_.Settings().fileTypes);
    std::vector<std::string> sources;
    for (const std::string& path : paths) {
        if (!filter || wanted.Wants(path)) {
            sources.push_back(path);
        }
    }
    std::optional<std::vector<TransferItem>> items = PlanTransferItems(
        sources, *folder, [this](const QString& name) { return AskAboutConflict(name); });
    if (!items || items->empty()) {
        return;
    }
    StartTransfer(std::move(*items), move, /*fromClipboardCut=*/filter && move);
}

ConflictAnswer CVornikList::AskAboutConflict(const QString& name) {
    QMessageBox box(QMessageBox::Question, QString(),
                    tr("\"%1\" is there already. Replace it?").arg(name), QMessageBox::NoButton,
                    this);
    QPushButton* replace = box.addButton(tr("Replace"), QMessageBox::DestructiveRole);
    QPushButton* skip = box.addButton(tr("Skip"), QMessageBox::AcceptRole);
    box.addButton(QMessageBox::Cancel);
    box.setDefaultButton(skip);
    auto* all = new QCheckBox(tr("Apply to all"));
    box.setCheckBox(all);
    box.exec();
    ConflictAnswer answer;
    answer.choice = box.clickedButton() == replace ? ConflictChoice::Replace
                    : box.clickedButton() == skip  ? ConflictChoice::Skip
                                                   : ConflictChoice::Cancel;
    answer.toAll = all->isChecked();
    return answer;
}

void CVornikList::StartTransfer(std::vector<TransferItem> items, bool move, bool fromClipboardCut) {
    auto cancel = std::make_shared<std::atomic<bool>>(false);
    QPointer<QProgressDialog> progress = new QProgressDialog(
        move ? tr("Moving files...") : tr("Copying files..."), tr("Cancel"), 0, 1000, this);
    progress->setAttribute(Qt::WA_DeleteOnClose);
    progress->setMinimumDuration(500);  // short transfers never show it
    progress->setAutoClose(false);
    progress->setAutoReset(false);
    connect(progress, &QProgressDialog::canceled, this, [cancel] { *cancel = true; });
    std::vector<std::string> targets;
    for (const TransferItem& item : items) {
        targets.push_back(item.target);
    }
    // Claimed until the transfer ends, so that a second paste meanwhile asks about them.
    auto claim = std::make_shared<TransferClaim>(std::move(targets));
    RunInBackground(
        this,
        [items = std::move(items), move, cancel, progress, claim] {
            return RunTransfer(
                items, move, *cancel, [progress](std::uint64_t done, std::uint64_t all) {
                    const int value = all > 0 ? static_cast<int>(done * 1000 / all) : 0;
                    QMetaObject::invokeMethod(
                        QCoreApplication::instance(),
                        [progress, value] {
                            if (progress) {
                                progress->setValue(value);
                            }
                        },
                        Qt::QueuedConnection);
                });
        },
        [this, progress, move, fromClipboardCut](const TransferResult& result) {
            if (progress) {
                progress->close();
            }
            StartShortWatch();
            if (fromClipboardCut && result.failed.empty() && !result.cancelled) {
                QApplication::clipboard()->clear();  // moved files are no longer where it says
            }
            if (!result.failed.empty()) {
                QStringList lines;
                for (const TransferFailure& failure : result.failed) {
                    lines << DisplayFileName(failure.source) + QStringLiteral(": ") +
                                 QString::fromStdString(failure.reason);
                }
                QMessageBox::warning(this, QString(),
                                     (move ? tr("Some files were not moved:\n%1")
                                           : tr("Some files were not copied:\n%1"))
                                         .arg(lines.join('\n')));
            }
        });
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
}

void CVornikList::CheckFolder() {
    const std::optional<std::string>& folder = model_.CurrentFolder();
    if (!folder || checking_ || listing_) {
        return;
    }
    checking_ = true;
    const std::uint64_t request = listingRequest_;
    RunInBackground(
        this,
        [path = *folder, fileTypes = model_.Settings().fileTypes] {
            return SnapshotFolder(DiskFolderLister(), path, fileTypes);
        },
        [this, request, path = *folder](const FolderSnapshot& now) {
            checking_ = false;
            // Compared only when no fill began meanwhile, against the same folder.
            if (request == listingRequest_ && model_.CurrentFolder() == path &&
                model_.DiffersFromFill(now)) {
                ListLoadFolder(path, /*clear=*/true,
                               /*completeScan=*/false);
            }
        });
}

void CVornikList::StartShortWatch() {
    shortWatch_.start();
}

void CVornikList::Shutdown() {
    ++listingRequest_;
    workers_.StopProcessing();
    watch_.stop();
    shortWatch_.stop();
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
    Log("Do details: " + item.displayName);
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
    QTableView::keyPressEvent(event);
}

void CVornikList::contextMenuEvent(QContextMenuEvent* event) {
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
                       palette().color(QPalette::AlternateBase)});
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
    if (message.result) {
        model_.ItemDone(std::move(message.result), message.lastOfBatch);
    } else {
        model_.ItemFailed(message.failedRow);
    }
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
