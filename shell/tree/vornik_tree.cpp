// SPDX-License-Identifier: GPL-3.0-or-later
#include "vornik_tree.h"

#include <QContextMenuEvent>
#include <QDesktopServices>
#include <QDir>
#include <QFileIconProvider>
#include <QHeaderView>
#include <QMenu>
#include <QStandardPaths>
#include <QStorageInfo>
#include <QTimer>
#include <QUrl>

#include "background_job.h"
#include "log.h"
#include "prop_tree.h"
#include "select_path.h"
#include "settings_sheet.h"
#include "subfolders.h"
#include "top_folders.h"

namespace vornik {
namespace {

enum Role : int {
    PathRole = Qt::UserRole,
    IdRole,
    ChildrenRole,
};

QString DesktopFolder() {
    const QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    // Where there is no desktop folder, the home folder is the root.
    return !desktop.isEmpty() && QDir(desktop).exists() ? QDir::cleanPath(desktop)
                                                        : QDir::cleanPath(QDir::homePath());
}

QString DocumentsFolder() {
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return !documents.isEmpty() && QDir(documents).exists() ? QDir::cleanPath(documents)
                                                            : QString();
}

std::vector<MountedVolume> Volumes() {
    std::vector<MountedVolume> volumes;
    for (const QStorageInfo& storage : QStorageInfo::mountedVolumes()) {
        if (storage.isValid() && storage.isReady()) {
            volumes.push_back({storage.rootPath().toStdString(),
                               QString::fromLatin1(storage.fileSystemType()).toStdString(),
                               storage.displayName().toStdString()});
        }
    }
    return volumes;
}

QIcon IconFor(TopFolder::Kind kind) {
    const QFileIconProvider icons;
    switch (kind) {
        case TopFolder::Kind::Home:
            return QIcon::fromTheme("user-home", icons.icon(QFileIconProvider::Folder));
        case TopFolder::Kind::Documents:
            return QIcon::fromTheme("folder-documents", icons.icon(QFileIconProvider::Folder));
        case TopFolder::Kind::FileSystemRoot:
            return icons.icon(QFileIconProvider::Computer);
        case TopFolder::Kind::Volume:
            return icons.icon(QFileIconProvider::Drive);
    }
    return icons.icon(QFileIconProvider::Folder);
}

}  // namespace

CVornikTree::CVornikTree(QWidget* parent) : QTreeWidget(parent) {
    setHeaderHidden(true);
    setColumnCount(1);
    setRootIsDecorated(true);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    header()->setStretchLastSection(false);
    connect(this, &QTreeWidget::itemExpanded, this, &CVornikTree::LoadChildren);
    connect(this, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* current) { OnSelChanged(current); });
    BuildRoot();
}

void CVornikTree::SaveSettings(CIniFile& ini) {
    SaveTreeSettings(ini, settings_);
}

void CVornikTree::LoadSettings(const CIniFile& ini) {
    LoadTreeSettings(ini, settings_);
}

void CVornikTree::CreatePages(int* /*changeFlags*/) {
    pageValues_ = settings_;
}

void CVornikTree::AddPages(CSettingsSheet& sheet) {
    sheet.AddPage(new CPropTree(pageValues_));
}

void CVornikTree::ApplyPages(int /*changeFlags*/) {
    settings_ = pageValues_;
}

void CVornikTree::BuildRoot() {
    desktopPath_ = DesktopFolder();
    const QFileIconProvider icons;
    root_ = AddNode(nullptr, QFileInfo(desktopPath_).fileName(), desktopPath_,
                    QIcon::fromTheme("user-desktop", icons.icon(QFileIconProvider::Desktop)));
    anchors_ = {IdOf(root_)};
    documents_ = nullptr;
    const QString documents = DocumentsFolder();
    for (const TopFolder& top :
         TopFolders(desktopPath_.toStdString(), QDir::cleanPath(QDir::homePath()).toStdString(),
                    documents.toStdString(), Volumes())) {
        QTreeWidgetItem* const node = AddNode(root_, QString::fromStdString(top.name),
                                              QString::fromStdString(top.path), IconFor(top.kind));
        anchors_.push_back(IdOf(node));
        if (top.kind == TopFolder::Kind::Documents) {
            documents_ = node;
        }
    }
    root_->setExpanded(true);
}

QTreeWidgetItem* CVornikTree::AddNode(QTreeWidgetItem* parent, const QString& text,
                                      const QString& path, const QIcon& icon) {
    auto* node = parent == nullptr ? new QTreeWidgetItem(this) : new QTreeWidgetItem(parent);
    node->setText(0, text.isEmpty() ? path : text);
    node->setIcon(0, icon);
    node->setData(0, PathRole, path);
    node->setData(0, IdRole, nextId_);
    node->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
    SetChildren(node, Children::Unknown);
    nodes_.insert(nextId_, node);
    ++nextId_;
    return node;
}

void CVornikTree::LoadChildren(QTreeWidgetItem* node) {
    if (node == nullptr || ChildrenOf(node) != Children::Unknown) {
        return;
    }
    Log("CVornikTree::OnItemExpanding");
    SetChildren(node, Children::Loading);
    SetBusy(+1);
    // A folder of thousands of folders, or one on a slow mount, is read on a pool thread.
    const quint64 id = IdOf(node);
    const int generation = generation_;
    RunInBackground(
        this, [path = PathOf(node)] { return ListSubfolders(path); },
        [this, id, generation](const QStringList& names) {
            ChildrenArrived(id, generation, names);
        });
}

void CVornikTree::ChildrenArrived(quint64 nodeId, int generation, const QStringList& names) {
    SetBusy(-1);
    QTreeWidgetItem* const node = generation == generation_ ? nodes_.value(nodeId) : nullptr;
    if (node == nullptr) {
        return;  // the tree was rebuilt meanwhile
    }
    const QIcon folderIcon = QFileIconProvider().icon(QFileIconProvider::Folder);
    const QString base = PathOf(node) == "/" ? QString() : PathOf(node);
    for (const QString& name : names) {
        AddNode(node, name, base + "/" + name, folderIcon);
    }
    SetChildren(node, Children::Loaded);
    if (node->childCount() == 0) {
        node->setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicatorWhenChildless);
    }
    if (pending_.active && pending_.node == nodeId) {
        ContinueSelect();
    }
}

void CVornikTree::SetBusy(int change) {
    loading_ += change;
    if (loading_ > 0) {
        viewport()->setCursor(Qt::BusyCursor);
    } else {
        viewport()->unsetCursor();
    }
}

void CVornikTree::Startup(const StartupRequest& request) {
    switch (request.kind) {
        case StartupRequest::Kind::InitialFolder:
            SelectPath(settings_.initDir.empty() ? desktopPath_
                                                 : QString::fromStdString(settings_.initDir));
            break;
        case StartupRequest::Kind::SelectPath:
            SelectPath(QString::fromStdString(request.paths.front()));
            break;
        case StartupRequest::Kind::ShowFiles: {
            SelectQuietly(root_);
            Q_EMIT ListShowFiles(request.paths);
            break;
        }
    }
}

QString CVornikTree::GetSelectedPath() const {
    const QTreeWidgetItem* const node = currentItem();
    return node == nullptr ? QString() : PathOf(node);
}

void CVornikTree::SelectPath(const QString& path) {
    std::vector<std::string> anchorPaths;
    for (const quint64 id : anchors_) {
        anchorPaths.push_back(PathOf(nodes_.value(id)).toStdString());
    }
    const QString clean = QDir::cleanPath(QDir(QDir::currentPath()).absoluteFilePath(path));
    const SelectPathPlan plan = PlanSelectPath(clean.toStdString(), anchorPaths);
    if (plan.anchor < 0) {
        return;
    }
    pending_ = {true, anchors_[static_cast<std::size_t>(plan.anchor)], plan.names};
    ContinueSelect();
}

void CVornikTree::ContinueSelect() {
    QTreeWidgetItem* node = nodes_.value(pending_.node);
    while (node != nullptr && !pending_.names.empty()) {
        if (ChildrenOf(node) != Children::Loaded) {
            node->setExpanded(true);  // loads it; the walk goes on when the names arrive
            LoadChildren(node);
            return;
        }
        const QString name = QString::fromStdString(pending_.names.front());
        QTreeWidgetItem* next = nullptr;
        for (int i = 0; i < node->childCount() && next == nullptr; ++i) {
            if (QFileInfo(PathOf(node->child(i))).fileName() == name) {
                next = node->child(i);
            }
        }
        if (next == nullptr) {
            break;  // the deepest folder that exists
        }
        node->setExpanded(true);
        node = next;
        pending_.node = IdOf(node);
        pending_.names.erase(pending_.names.begin());
    }
    pending_.active = false;
    if (node != nullptr) {
        setCurrentItem(node);
        scrollToItem(node);
    }
}

void CVornikTree::SelectQuietly(QTreeWidgetItem* node) {
    // The flag is spent by the selection change, so it is set only when one will come.
    oneShot_ = node != currentItem();
    setCurrentItem(node);
}

void CVornikTree::OnSelChanged(QTreeWidgetItem* current) {
    if (oneShot_) {
        oneShot_ = false;
        return;
    }
    if (current == nullptr) {
        return;
    }
    pending_.active = pending_.active && IdOf(current) == pending_.node;
    Log("CVornikTree::OnSelChanged");
    Q_EMIT TreeSelChanged(PathOf(current));
}

void CVornikTree::ViewRefresh() {
    const QString selected = GetSelectedPath();
    {
        const QSignalBlocker quiet(this);
        clear();
    }
    nodes_.clear();
    pending_ = {};
    ++generation_;
    BuildRoot();
    SelectPath(selected.isEmpty() ? desktopPath_ : selected);
}

void CVornikTree::TreeGoToFolder(const QString& path) {
    SelectPath(path);
}

void CVornikTree::Shutdown() {
    if (settings_.useRecent) {
        settings_.initDir = GetSelectedPath().toStdString();
    }
}

void CVornikTree::contextMenuEvent(QContextMenuEvent* event) {
    QTreeWidgetItem* const node = itemAt(event->pos());
    if (node == nullptr) {
        return;
    }
    QMenu menu(this);
    QAction* scan = menu.addAction(tr("&Scan"));
    QAction* explore = menu.addAction(tr("&Explore"));
    QAction* chosen = menu.exec(event->globalPos());
    if (chosen == scan) {
        if (node == currentItem()) {
            Q_EMIT TreeSelChanged(PathOf(node));  // selected already: load it again
        } else {
            setCurrentItem(node);
        }
    } else if (chosen == explore) {
        QDesktopServices::openUrl(QUrl::fromLocalFile(PathOf(node)));
    }
}

QString CVornikTree::PathOf(const QTreeWidgetItem* node) {
    return node == nullptr ? QString() : node->data(0, PathRole).toString();
}

quint64 CVornikTree::IdOf(const QTreeWidgetItem* node) {
    return node->data(0, IdRole).toULongLong();
}

CVornikTree::Children CVornikTree::ChildrenOf(const QTreeWidgetItem* node) {
    return static_cast<Children>(node->data(0, ChildrenRole).toInt());
}

void CVornikTree::SetChildren(QTreeWidgetItem* node, Children state) {
    node->setData(0, ChildrenRole, static_cast<int>(state));
}

}  // namespace vornik
