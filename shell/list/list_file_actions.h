// SPDX-License-Identifier: GPL-3.0-or-later
// What the list does to the files its rows name: renames, deletions, copies and moves in,
// the clipboard. Every question and message is asked in front of the list.
#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <string>
#include <vector>

#include "file_list_model.h"
#include "transfer_plan.h"

class QWidget;

namespace vornik {

class ListFileActions : public QObject {
  public:
    // `folderMayHaveChanged` asks the folder watch for a look soon.
    ListFileActions(FileListModel& model, QWidget* list,
                    std::function<void()> folderMayHaveChanged);

    // Renames the file of shown row `row`; false, with a message, when it cannot be done. A
    // changed or removed extension is questioned first.
    bool RenameRow(int row, const QString& newName);
    // To the trash, or for good with `forGood`, each after the user's word.
    void Delete(const std::vector<std::string>& paths, bool forGood);
    // Copies or moves `paths` into the listed folder on a pool thread, after a question for
    // each file that is there already; `filter` keeps only the files the list shows.
    void TransferInto(const std::vector<std::string>& paths, bool move, bool filter);

  private:
    ConflictAnswer AskAboutConflict(const QString& name);
    void StartTransfer(std::vector<TransferItem> items, bool move, bool fromClipboardCut);

    FileListModel& model_;
    QWidget* list_;
    std::function<void()> folderMayHaveChanged_;
};

}  // namespace vornik
