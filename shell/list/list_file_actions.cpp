// SPDX-License-Identifier: GPL-3.0-or-later
#include "list_file_actions.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QMessageBox>
#include <QPointer>
#include <QProgressDialog>
#include <QPushButton>
#include <atomic>
#include <memory>

#include "background_job.h"
#include "file_operations.h"
#include "file_transfer.h"
#include "file_type_filter.h"
#include "local_path.h"

namespace vornik {

ListFileActions::ListFileActions(FileListModel& model, QWidget* list,
                                 std::function<void()> folderMayHaveChanged)
    : QObject(list),
      model_(model),
      list_(list),
      folderMayHaveChanged_(std::move(folderMayHaveChanged)) {}

bool ListFileActions::RenameRow(int row, const QString& newName) {
    if (row < 0 || row >= model_.DisplayedCount()) {
        return false;
    }
    const _LVItemData& item = model_.Displayed(row);
    if (newName == DisplayPath(item.fileName)) {
        return true;  // unchanged: the row keeps its bytes, whatever the text shows
    }
    if (const std::optional<QString> question =
            ExtensionQuestion(DisplayPath(item.fileName), newName)) {
        if (QMessageBox::question(list_, QString(), *question, QMessageBox::Yes | QMessageBox::No,
                                  QMessageBox::No) != QMessageBox::Yes) {
            return false;
        }
    }
    if (const std::optional<QString> error = RenameFile(item.Folder(), item.fileName, newName)) {
        // The editor closes and the old name comes back.
        QMessageBox::warning(list_, QString(), *error);
        return false;
    }
    return model_.RowRenamed(row, PathBytes(newName));
}

void ListFileActions::Delete(const std::vector<std::string>& paths, bool forGood) {
    if (paths.empty()) {
        return;
    }
    const DeleteOutcome outcome = DeleteFiles(paths, forGood, [this](const QString& question) {
        return QMessageBox::question(list_, QString(), question, QMessageBox::Yes | QMessageBox::No,
                                     QMessageBox::No) == QMessageBox::Yes;
    });
    if (!outcome.removed.empty()) {
        folderMayHaveChanged_();
    }
    // Files the user chose to keep need no word; files that could not go do, with the reason.
    if (!outcome.failed.empty()) {
        QMessageBox::warning(
            list_, QString(),
            tr("These files could not be deleted:\n%1").arg(FailureLines(outcome.failed)));
    }
}

void ListFileActions::TransferInto(const std::vector<std::string>& paths, bool move, bool filter) {
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

ConflictAnswer ListFileActions::AskAboutConflict(const QString& name) {
    QMessageBox box(QMessageBox::Question, QString(),
                    tr("\"%1\" is there already. Replace it?").arg(name), QMessageBox::NoButton,
                    list_);
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

void ListFileActions::StartTransfer(std::vector<TransferItem> items, bool move,
                                    bool fromClipboardCut) {
    auto cancel = std::make_shared<std::atomic<bool>>(false);
    QPointer<QProgressDialog> progress = new QProgressDialog(
        move ? tr("Moving files...") : tr("Copying files..."), tr("Cancel"), 0, 1000, list_);
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
            folderMayHaveChanged_();
            if (fromClipboardCut && result.failed.empty() && !result.cancelled) {
                QApplication::clipboard()->clear();  // moved files are no longer where it says
            }
            if (!result.failed.empty()) {
                QStringList lines;
                for (const TransferFailure& failure : result.failed) {
                    lines << DisplayFileName(failure.source) + QStringLiteral(": ") +
                                 QString::fromStdString(failure.reason);
                }
                QMessageBox::warning(list_, QString(),
                                     (move ? tr("Some files were not moved:\n%1")
                                           : tr("Some files were not copied:\n%1"))
                                         .arg(lines.join('\n')));
            }
        });
}

}  // namespace vornik
