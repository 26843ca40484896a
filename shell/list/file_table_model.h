// SPDX-License-Identifier: GPL-3.0-or-later
// The table the list view shows: a thin window onto FileListModel's shown rows.
#pragma once

#include <QAbstractTableModel>
#include <QHash>
#include <QIcon>
#include <cstdint>
#include <functional>
#include <vector>

#include "cell_colours.h"
#include "file_list_model.h"

namespace vornik {

// Answers every cell from the shown rows and announces each DisplayChange with the matching
// begin/end calls, so that views and selection models follow the rows as they are inserted,
// moved and sorted. Owns nothing but its icon cache.
class FileTableModel : public QAbstractTableModel {
  public:
    explicit FileTableModel(const FileListModel& list, QObject* parent = nullptr);

    // Bracket a change of the shown rows (FileListObserver's two calls).
    void AboutToChange(const DisplayChange& change);
    void Changed(const DisplayChange& change);
    // The shown columns were replaced.
    void ColumnsChanged();
    // The desktop's colours changed (or are first known).
    void SetPalette(const ListPalette& palette);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    // The Name cell is edited to rename the file; `renamer` does it and says whether it did.
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    using Renamer = std::function<bool(int row, const QString& newName)>;
    void SetRenamer(Renamer renamer) { renamer_ = std::move(renamer); }

  private:
    QIcon FileIcon(const _LVItemData& row) const;
    // Around a sort: the rows the persistent indexes (the view's selection and current row)
    // stood on, by row id, and their places afterwards.
    void KeepPersistentRows();
    void MovePersistentRows();
    void RowsChanged(int first, int last);

    const FileListModel& list_;
    ListPalette palette_;
    mutable QHash<QString, QIcon> iconsByExtension_;
    Renamer renamer_;
    QModelIndexList persistentBefore_;
    std::vector<std::uint64_t> persistentIds_;
};

}  // namespace vornik
