// SPDX-License-Identifier: GPL-3.0-or-later
// CMainFrame: the main window with its menus, toolbar, busy animation and status bar, around
// the splitter view.
#pragma once

#include <QMainWindow>
#include <QRect>
#include <array>
#include <map>
#include <memory>

#include "command_line.h"
#include "frame_settings.h"
#include "log_file.h"
#include "window_factory.h"
#include "window_with_settings.h"

class QLabel;
class QMenu;
class QToolBar;

namespace vornik {

class BusyAnimation;
class CVornikView;

// The main window's title: the shown folder's name first, as file managers put it ("Live 1999
// — Vornik"); "Vornik" alone for no folder (files named one by one).
QString WindowTitle(const QString& folder);

class CMainFrame : public QMainWindow, public CFrameWindowStuff, public CWindowWithSettings {
    Q_OBJECT

  public:
    // Where the status bar's panes end, from the left.
    static constexpr std::array<int, 2> kPaneEnds{200, 400};

    explicit CMainFrame(QWidget* parent = nullptr);
    ~CMainFrame() override;

    QWidget* GetHwnd() override { return this; }
    // The favourites, the view (list, tree, its own), "mainframe" and "global".
    void SaveSettings(CIniFile& ini) override;
    void LoadSettings(const CIniFile& ini) override;

    // Where log lines go while logging is on; loading the settings with logging on starts
    // the file afresh.
    void SetLogFile(const std::string& path) { log_ = LogFile(path); }
    // Shows the window at its stored place and starts the view on `request`.
    void Startup(const StartupRequest& request);

    // Runs a command of the menus, toolbar or keys: the main window's own, or the slot of the
    // view or the list that does it.
    void OnCommand(int command);

    CVornikView* View() const { return view_; }
    FrameSettings& Settings() { return settings_; }
    Favourites& FavouriteFolders() { return favourites_; }
    QString StatusText(int pane) const;
    bool IsAnimating() const;
    QAction* Action(int command) const;

    // `FrameSetStatusText` and `FrameAnimate`.
    void SetStatusText(int pane, const QString& text);
    void Animate(bool play);

  protected:
    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    void BuildMenus();
    void BuildToolbar();
    void BuildStatusBar();
    void RebuildFavouritesMenu();
    static bool IsFrameCommand(int command);
    void HandleFrameCommand(int command);
    void HandleViewCommand(int command);
    void SetLogging(bool on);
    void TrackPlacement();
    void AddCurrentFavourite();
    void OrganizeFavourites();

    CVornikView* view_ = nullptr;
    FrameSettings settings_;
    Favourites favourites_;
    LogFile log_{""};
    std::map<int, QAction*> actions_;
    QMenu* favouritesMenu_ = nullptr;
    QToolBar* toolbar_ = nullptr;
    QToolBar* animationBar_ = nullptr;
    BusyAnimation* animation_ = nullptr;
    std::array<QLabel*, 3> panes_{};
    bool shutDown_ = false;
};

}  // namespace vornik
