// SPDX-License-Identifier: GPL-3.0-or-later
#include "file_table_model.h"

#include <QFileIconProvider>
#include <QFileInfo>
#include <QMimeDatabase>
#include <unordered_map>

namespace vornik {
namespace {

QString CellQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

FileTableModel::FileTableModel(const FileListModel& list, QObject* parent)
    : QAbstractTableModel(parent), list_(list) {}

void FileTableModel::AboutToChange(const DisplayChange& change) {
    switch (change.kind) {
        case DisplayChange::Kind::Reset:
            beginResetModel();
            break;
        case DisplayChange::Kind::Layout:
            Q_EMIT layoutAboutToBeChanged();
            KeepPersistentRows();
            break;
        case DisplayChange::Kind::Insert:
            beginInsertRows(QModelIndex(), change.index, change.index);
            break;
        case DisplayChange::Kind::Move:
            beginMoveRows(QModelIndex(), change.index, change.index, QModelIndex(), change.before);
            break;
        case DisplayChange::Kind::Remove:
            beginRemoveRows(QModelIndex(), change.index, change.index);
            break;
        case DisplayChange::Kind::Update:
            break;
    }
}

void FileTableModel::Changed(const DisplayChange& change) {
    switch (change.kind) {
        case DisplayChange::Kind::Reset:
            endResetModel();
            break;
        case DisplayChange::Kind::Layout:
            MovePersistentRows();
            Q_EMIT layoutChanged();
            break;
        case DisplayChange::Kind::Insert:
            endInsertRows();
            break;
        case DisplayChange::Kind::Move:
            endMoveRows();
            break;
        case DisplayChange::Kind::Remove:
            endRemoveRows();
            break;
        case DisplayChange::Kind::Update:
            if (change.index < 0) {
                RowsChanged(0, rowCount() - 1);
            } else {
                RowsChanged(change.index, change.index);
            }
            break;
    }
}

void FileTableModel::KeepPersistentRows() {
    persistentBefore_ = persistentIndexList();
    persistentIds_.clear();
    for (const QModelIndex& index : persistentBefore_) {
        persistentIds_.push_back(index.row() < list_.DisplayedCount()
                                     ? list_.Displayed(index.row()).id
                                     : std::uint64_t{0});
    }
}

void FileTableModel::MovePersistentRows() {
    std::unordered_map<std::uint64_t, int> placeOf;
    for (int row = 0; row < list_.DisplayedCount(); ++row) {
        placeOf[list_.Displayed(row).id] = row;
    }
    QModelIndexList after;
    for (qsizetype i = 0; i < persistentBefore_.size(); ++i) {
        const auto place = placeOf.find(persistentIds_[static_cast<std::size_t>(i)]);
        after << (place == placeOf.end() ? QModelIndex()
                                         : index(place->second, persistentBefore_[i].column()));
    }
    changePersistentIndexList(persistentBefore_, after);
    persistentBefore_.clear();
    persistentIds_.clear();
}

void FileTableModel::RowsChanged(int first, int last) {
    if (first <= last && columnCount() > 0) {
        Q_EMIT dataChanged(index(first, 0), index(last, columnCount() - 1));
    }
}

void FileTableModel::ColumnsChanged() {
    beginResetModel();
    endResetModel();
}

void FileTableModel::SetPalette(const ListPalette& palette) {
    palette_ = palette;
    RowsChanged(0, rowCount() - 1);
}

int FileTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : list_.DisplayedCount();
}

int FileTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : list_.Columns().ShownCount();
}

QVariant FileTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount()) {
        return {};
    }
    const ColumnEntry& column = list_.Columns().Shown(index.column());
    const bool quality =
        list_.Columns().ShownIds()[static_cast<std::size_t>(index.column())] == kQualityColumnId;
    const bool audio = list_.Displayed(index.row()).content == RowContent::Audio;
    switch (role) {
        case Qt::DisplayRole:
            return CellQString(list_.CellText(index.row(), index.column()));
        case Qt::EditRole:
            // The rename editor starts from the file's current name.
            return flags(index) & Qt::ItemIsEditable
                       ? QVariant(QString::fromStdString(list_.Displayed(index.row()).fileName))
                       : QVariant();
        case Qt::TextAlignmentRole:
            return QVariant::fromValue(
                (column.alignment == ColumnAlignment::Right ? Qt::AlignRight : Qt::AlignLeft) |
                Qt::AlignVCenter);
        case Qt::BackgroundRole:
            if (quality) {
                const std::optional<QColor> colour = QualityCellBackground(
                    list_.Settings(), list_.Displayed(index.row()).record.qualityFigure);
                return colour ? QVariant(*colour) : QVariant(RowBackground(index.row(), palette_));
            }
            return RowBackground(index.row(), palette_);
        case Qt::ForegroundRole:
            if (!audio) {
                return palette_.disabledText;  // greyed: the file holds no audio
            }
            if (quality) {
                // Dark text on a light class colour, light on a dark one.
                const QColor back = data(index, Qt::BackgroundRole).value<QColor>();
                return back.lightnessF() > 0.5 ? QColor(Qt::black) : QColor(Qt::white);
            }
            return palette_.text;
        case Qt::AccessibleTextRole:
            return CellQString(list_.CellText(index.row(), index.column()));
        case Qt::DecorationRole:
            return index.column() == 0 ? QVariant(FileIcon(list_.Displayed(index.row())))
                                       : QVariant();
        case Qt::ToolTipRole:
            if (quality) {
                return tr("Quality estimate \"%1\": from the bitrate and, for VBR, the encoder's "
                          "settings (Options > Settings > Quality sets the colours)")
                    .arg(CellQString(list_.CellText(index.row(), index.column())));
            }
            // The Name column is often cut short: its tool tip holds the whole path.
            return index.column() == 0
                       ? QVariant(QString::fromStdString(list_.Displayed(index.row()).fullPath))
                       : QVariant();
        default:
            return {};
    }
}

QVariant FileTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount()) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    const ColumnEntry& column = list_.Columns().Shown(section);
    switch (role) {
        case Qt::DisplayRole:
            return QString::fromStdString(column.name);
        case Qt::ToolTipRole:
            return list_.Settings().tooltips ? QVariant(QString::fromStdString(column.description))
                                             : QVariant();
        case Qt::TextAlignmentRole:
            return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
        default:
            return {};
    }
}

Qt::ItemFlags FileTableModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (index.isValid()) {
        flags |= Qt::ItemIsDragEnabled;  // rows drag out to file managers and other programs
    }
    if (index.isValid() && index.column() < columnCount() &&
        list_.Columns().ShownIds()[static_cast<std::size_t>(index.column())] == kNameColumnId) {
        flags |= Qt::ItemIsEditable;
    }
    return flags;
}

bool FileTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable) || !renamer_) {
        return false;
    }
    return renamer_(index.row(), value.toString());
}

QIcon FileTableModel::FileIcon(const _LVItemData& row) const {
    // One lookup per extension: the MIME database by name only, never the file's content.
    const QString extension = QFileInfo(QString::fromStdString(row.fileName)).suffix().toLower();
    const auto cached = iconsByExtension_.constFind(extension);
    if (cached != iconsByExtension_.constEnd()) {
        return *cached;
    }
    const QMimeType type = QMimeDatabase().mimeTypeForFile(QString::fromStdString(row.fileName),
                                                           QMimeDatabase::MatchExtension);
    QIcon icon = QIcon::fromTheme(type.iconName(), QIcon::fromTheme(type.genericIconName()));
    if (icon.isNull()) {
        icon = QFileIconProvider().icon(QFileIconProvider::File);
    }
    iconsByExtension_.insert(extension, icon);
    return icon;
}

}  // namespace vornik
