// SPDX-License-Identifier: GPL-3.0-or-later
// CVornikTree: the folder tree pane, rooted at the desktop, filled level by level as the user
// opens it.
#pragma once

#include <QHash>
#include <QStringList>
#include <QTreeWidget>
#include <string>
#include <vector>

#include "command_line.h"
#include "tree_settings.h"
#include "window_factory.h"
#include "window_with_settings.h"

namespace vornik {

class CVornikTree : public QTreeWidget, public CFrameWindowStuff, public CWindowWithSettings {
    Q_OBJECT

  public:
    explicit CVornikTree(QWidget* parent = nullptr);

    QWidget* GetHwnd() override { return this; }
    void SaveSettings(CIniFile& ini) override;
    void LoadSettings(const CIniFile& ini) override;
    // The "Start up" page edits a copy of the settings, taken back after OK.
    void CreatePages(int* changeFlags) override;
    void AddPages(CSettingsSheet& sheet) override;
    void ApplyPages(int changeFlags) override;
    TreeSettings& Settings() { return settings_; }

    // Selects the folder to open with: the command line's, else "initdir", else the desktop.
    void Startup(const StartupRequest& request);
    // The selected folder's path; the desktop's for the root, empty when nothing is selected.
    QString GetSelectedPath() const;
    // Selects the folder at `path`, opening the levels above it as their contents arrive; a
    // path that does not exist (or is not reached) leaves its deepest reachable folder selected.
    void SelectPath(const QString& path);
    // True while a folder's contents are being read.
    bool IsLoading() const { return loading_ > 0; }

    // The messages the view passes on.
    void ViewRefresh();
    void TreeGoToFolder(const QString& path);
    void ViewClipboard(int /*command*/) {}  // the tree has no clipboard commands

    // The window is going: with "userecent", the selected folder becomes the next start folder.
    void Shutdown();

  Q_SIGNALS:
    void TreeSelChanged(const QString& path);
    void ListShowFiles(const std::vector<std::string>& paths);

  protected:
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    enum class Children { Unknown, Loading, Loaded };

    void BuildRoot();
    QTreeWidgetItem* AddNode(QTreeWidgetItem* parent, const QString& text, const QString& path,
                             const QIcon& icon);
    void LoadChildren(QTreeWidgetItem* node);
    void ChildrenArrived(quint64 nodeId, int generation, const QStringList& names);
    void ContinueSelect();
    // Selects `node` without loading its files in the list.
    void SelectQuietly(QTreeWidgetItem* node);
    void OnSelChanged(QTreeWidgetItem* current);
    void SetBusy(int change);

    static QString PathOf(const QTreeWidgetItem* node);
    static quint64 IdOf(const QTreeWidgetItem* node);
    static Children ChildrenOf(const QTreeWidgetItem* node);
    static void SetChildren(QTreeWidgetItem* node, Children state);

    TreeSettings settings_;
    TreeSettings pageValues_;
    QString desktopPath_;
    QTreeWidgetItem* root_ = nullptr;
    QTreeWidgetItem* documents_ = nullptr;
    // SelectPath's top nodes, by id; the root comes first.
    std::vector<quint64> anchors_;
    QHash<quint64, QTreeWidgetItem*> nodes_;
    quint64 nextId_ = 1;
    int generation_ = 0;  // grows at every rebuild, so that late listings find no node
    int loading_ = 0;
    bool oneShot_ = false;

    struct PendingSelect {
        bool active = false;
        quint64 node = 0;
        std::vector<std::string> names;
    } pending_;
};

}  // namespace vornik
