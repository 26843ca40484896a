// SPDX-License-Identifier: GPL-3.0-or-later
// CVornikView: the splitter with the folder tree on the left and the file list on the right,
// and the switchboard between them and the main window.
#pragma once

#include <QPointer>
#include <QSplitter>
#include <vector>

#include "command_line.h"
#include "view_settings.h"
#include "window_factory.h"
#include "window_with_settings.h"

namespace vornik {

class CInfoDlg;
class CSettingsSheet;
class CVornikList;
class CVornikTree;

class CVornikView : public QSplitter, public CFrameWindowStuff, public CWindowWithSettings {
    Q_OBJECT

  public:
    // The panes' smallest widths.
    static constexpr int kMinimumPaneWidth = 60;

    explicit CVornikView(QWidget* parent = nullptr);

    QWidget* GetHwnd() override { return this; }
    // The list's, then the tree's, then the view's own sections.
    void SaveSettings(CIniFile& ini) override;
    void LoadSettings(const CIniFile& ini) override;

    CVornikTree* Tree() const { return tree_; }
    CVornikList* List() const { return list_; }
    ViewSettings& Settings() { return settings_; }

    // F5 and the clipboard commands go to the pane under the mouse: the tree when the cursor
    // is over it, else the list.
    void RefreshPaneUnderMouse();
    void ClipboardToPaneUnderMouse(int command);
    // Tab and Shift+Tab: the focus goes to the other pane.
    void ViewSwitchPane();
    // `ViewSettings`: the "Settings" sheet at `page` (a number past the pages opens the first).
    void ViewSettingsSheet(int page);

    // `ViewStartup`: the stored splitter position, then the folder to open with.
    void ViewStartup(const StartupRequest& request);
    // The window is going: the panes keep what they save.
    void Shutdown();

    // True when the mouse cursor is over the tree.
    bool MouseOverTree() const;

    // `ViewOpenDetails`: a details dialog for `path`, placed at "details_rect".
    void ViewOpenDetails(const std::string& path);
    // `DetailsClosed`: the dialog's settings become the view's, and the dialog goes.
    void DetailsClosed(CInfoDlg* dialog);
    const std::vector<CInfoDlg*>& OpenDetails() const { return details_; }

  Q_SIGNALS:
    void FrameSetStatusText(int pane, const QString& text);
    void FrameAnimate(bool play);
    void FrameShownFolder(const QString& folder);
    // The "Settings" sheet was made and is about to run its loop (tests drive it from here).
    void SettingsSheetOpened(CSettingsSheet* sheet);

  private:
    CVornikList* list_ = nullptr;
    CVornikTree* tree_ = nullptr;
    ViewSettings settings_;
    QPointer<CSettingsSheet> sheet_;  // the sheet while it is open
    std::vector<CInfoDlg*> details_;  // open details dialogs, owned as children
};

}  // namespace vornik
