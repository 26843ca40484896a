// SPDX-License-Identifier: GPL-3.0-or-later
#include "main_frame.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QUrl>

#include "about_box.h"
#include "busy_animation.h"
#include "frame_menus.h"
#include "organize_favourites_dialog.h"
#include "toolbar_icons.h"
#include "version_text.h"
#include "vornik_list.h"
#include "vornik_tree.h"
#include "vornik_view.h"

namespace vornik {
namespace {

QString Text(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// A stored rectangle, moved onto the screen when a hand-edited or foreign value would put the
// window out of sight, and no larger than the screen.
QRect FitOnScreen(const QRect& stored, const QRect& screen) {
    if (screen.isEmpty()) {
        return stored;
    }
    QRect placed(stored.topLeft(),
                 stored.size().boundedTo(screen.size()).expandedTo(QSize(320, 200)));
    if (!screen.intersects(placed)) {
        placed.moveTopLeft(screen.topLeft());
    }
    return placed;
}

}  // namespace

CMainFrame::CMainFrame(QWidget* parent) : QMainWindow(parent) {
    setWindowTitle("Vornik");
    view_ = CreateRegisteredWindow<CVornikView>(kViewWindowId, this);
    if (view_ != nullptr) {
        setCentralWidget(view_);
        connect(view_, &CVornikView::FrameSetStatusText, this, &CMainFrame::SetStatusText);
        connect(view_, &CVornikView::FrameAnimate, this, &CMainFrame::Animate);
        connect(view_, &CVornikView::FrameShownFolder, this,
                [this](const QString& folder) { setWindowTitle(WindowTitle(folder)); });
    }
    BuildMenus();
    BuildToolbar();
    BuildStatusBar();
}

CMainFrame::~CMainFrame() {
    SetLogSink(nullptr);
}

void CMainFrame::BuildMenus() {
    std::map<std::string_view, QMenu*> menus;
    for (const std::string_view name : kMenus) {
        menus[name] = menuBar()->addMenu(Text(name));
    }
    for (const MenuItem& item : kMenuItems) {
        QMenu* const menu = menus[item.menu];
        if (item.command == 0) {
            menu->addSeparator();
            continue;
        }
        QAction* const action = menu->addAction(Text(item.text));
        action->setShortcut(QKeySequence(Text(item.shortcut)));
        action->setCheckable(item.checkable);
        action->setChecked(item.checkable);
        const int command = item.command;
        connect(action, &QAction::triggered, this, [this, command] { OnCommand(command); });
        actions_[command] = action;
    }
    for (const Accelerator& key : kAccelerators) {
        QAction*& action = actions_[key.command];
        if (action == nullptr) {
            action = new QAction(this);
            addAction(action);
            const int command = key.command;
            connect(action, &QAction::triggered, this, [this, command] { OnCommand(command); });
        }
        action->setShortcuts(action->shortcuts() << QKeySequence(Text(key.shortcut)));
    }
    // Logging has a command but no item or key; its check mark lives on this hidden action.
    actions_[CmdLogging] = new QAction(this);
    actions_[CmdLogging]->setCheckable(true);

    favouritesMenu_ = menus["F&avourites"];
    RebuildFavouritesMenu();
}

void CMainFrame::RebuildFavouritesMenu() {
    favouritesMenu_->clear();
    favouritesMenu_->addAction(tr("&Add Current"), this, [this] { OnCommand(CmdFavouritesAdd); });
    favouritesMenu_->addAction(tr("&Organize"), this, [this] { OnCommand(CmdFavouritesOrganize); });
    favouritesMenu_->addSeparator();
    const std::vector<std::string>& folders = favourites_.Folders();
    for (std::size_t i = 0; i < folders.size() && CmdFavouriteFirst + i <= CmdFavouriteLast; ++i) {
        const int command = CmdFavouriteFirst + static_cast<int>(i);
        QString text = QString::fromStdString(folders[i]);
        favouritesMenu_->addAction(text.replace('&', "&&"), this,
                                   [this, command] { OnCommand(command); });
    }
}

void CMainFrame::BuildToolbar() {
    toolbar_ = addToolBar(tr("Toolbar"));
    toolbar_->setObjectName("toolbar");
    toolbar_->setIconSize(QSize(16, 16));
    for (const int command : kToolbarCommands) {
        if (command == 0) {
            toolbar_->addSeparator();
            continue;
        }
        QAction* const action = actions_.at(command);
        action->setIcon(ToolbarIcon(command));
        action->setToolTip(ToolbarTip(command));
        action->setIconVisibleInMenu(false);
        toolbar_->addAction(action);
    }
    animationBar_ = addToolBar(tr("Animation"));
    animationBar_->setObjectName("animation");
    animation_ = new BusyAnimation(animationBar_);
    animation_->setFixedWidth(40);
    animationBar_->addWidget(animation_);
}

void CMainFrame::BuildStatusBar() {
    int left = 0;
    for (std::size_t i = 0; i < panes_.size(); ++i) {
        panes_[i] = new QLabel(this);
        panes_[i]->setTextFormat(Qt::PlainText);
        if (i < kPaneEnds.size()) {
            // At least as wide as they always were, wider for a longer text (a summary that
            // counts files without audio) rather than cut.
            panes_[i]->setMinimumWidth(kPaneEnds[i] - left);
            left = kPaneEnds[i];
            statusBar()->addWidget(panes_[i]);
        } else {
            statusBar()->addWidget(panes_[i], 1);
        }
    }
}

void CMainFrame::SaveSettings(CIniFile& ini) {
    favourites_.Save(ini);
    if (view_ != nullptr) {
        view_->SaveSettings(ini);
    }
    SaveFrameSettings(ini, settings_);
}

void CMainFrame::LoadSettings(const CIniFile& ini) {
    favourites_.Load(ini);
    RebuildFavouritesMenu();
    if (view_ != nullptr) {
        view_->LoadSettings(ini);
    }
    LoadFrameSettings(ini, settings_);
    if (settings_.logging) {
        log_.Clear();
    }
    SetLogging(settings_.logging);
}

void CMainFrame::SetLogging(bool on) {
    settings_.logging = on;
    actions_.at(CmdLogging)->setChecked(on);
    SetLogSink(on ? &log_ : nullptr);
}

void CMainFrame::Startup(const StartupRequest& request) {
    Log(VersionText());
    const FrameSettings stored = settings_;
    const QScreen* const screen = QGuiApplication::primaryScreen();
    setGeometry(FitOnScreen(
        QRect(QPoint(stored.left, stored.top), QPoint(stored.right - 1, stored.bottom - 1)),
        screen != nullptr ? screen->availableGeometry() : QRect()));
    if (stored.maximize) {
        showMaximized();
    } else {
        show();
    }
    if (view_ != nullptr) {
        view_->ViewStartup(request);
    }
}

void CMainFrame::OnCommand(int command) {
    if (IsFrameCommand(command)) {
        HandleFrameCommand(command);
    } else if (view_ != nullptr) {
        HandleViewCommand(command);
    }
}

bool CMainFrame::IsFrameCommand(int command) {
    switch (command) {
        case CmdExit:
        case CmdToolbar:
        case CmdAnimation:
        case CmdStatusBar:
        case CmdAbout:
        case CmdDocumentation:
        case CmdLogging:
        case CmdFavouritesAdd:
        case CmdFavouritesOrganize:
            return true;
        default:
            return command >= CmdFavouriteFirst && command <= CmdFavouriteLast;
    }
}

void CMainFrame::HandleViewCommand(int command) {
    CVornikList* const list = view_->List();
    switch (command) {
        case CmdRefresh:
            view_->RefreshPaneUnderMouse();
            return;
        case CmdCut:
        case CmdCopy:
        case CmdPaste:
            view_->ClipboardToPaneUnderMouse(command);
            return;
        case CmdNextPane:
        case CmdPreviousPane:
            view_->ViewSwitchPane();
            return;
        case CmdSettings:
            view_->ViewSettingsSheet(0);
            return;
        default:
            break;
    }
    if (list == nullptr) {
        return;
    }
    switch (command) {
        case CmdCompleteScan:
            list->ViewRefresh(/*completeScan=*/true);
            break;
        case CmdRename:
            list->ViewRename();
            break;
        case CmdSelectAll:
        case CmdSelectNone:
            list->ViewSelectAll(command == CmdSelectAll);
            break;
        case CmdTagDialog:
        case CmdStop:
        case CmdDelete:
        case CmdExport:
            list->ViewCommand(command);
            break;
        default:
            break;  // the Favourites menu's own id, which only opens the menu
    }
}

void CMainFrame::HandleFrameCommand(int command) {
    switch (command) {
        case CmdExit:
            QTimer::singleShot(0, this, &QWidget::close);
            break;
        case CmdToolbar:
            toolbar_->setVisible(!toolbar_->isVisible());
            actions_.at(command)->setChecked(toolbar_->isVisible());
            break;
        case CmdAnimation:
            animationBar_->setVisible(!animationBar_->isVisible());
            actions_.at(command)->setChecked(animationBar_->isVisible());
            break;
        case CmdStatusBar:
            statusBar()->setVisible(!statusBar()->isVisible());
            actions_.at(command)->setChecked(statusBar()->isVisible());
            break;
        case CmdAbout:
            ShowAboutBox(this);
            break;
        case CmdDocumentation: {
            const QString guide = DocumentationPath(QCoreApplication::applicationDirPath());
            if (guide.isEmpty() || !QDesktopServices::openUrl(QUrl::fromLocalFile(guide))) {
                QMessageBox::information(this, QString(), tr("The user guide was not found."));
            }
            break;
        }
        case CmdLogging:
            SetLogging(!settings_.logging);
            break;
        case CmdFavouritesAdd:
            AddCurrentFavourite();
            break;
        case CmdFavouritesOrganize:
            OrganizeFavourites();
            break;
        default: {
            const std::size_t index = static_cast<std::size_t>(command - CmdFavouriteFirst);
            if (index < favourites_.Folders().size() && view_ != nullptr &&
                view_->Tree() != nullptr) {
                view_->Tree()->TreeGoToFolder(QString::fromStdString(favourites_.Folders()[index]));
            }
            break;
        }
    }
}

void CMainFrame::AddCurrentFavourite() {
    if (view_ == nullptr || view_->Tree() == nullptr) {
        return;
    }
    if (favourites_.Add(view_->Tree()->GetSelectedPath().toStdString())) {
        RebuildFavouritesMenu();
    }
}

void CMainFrame::OrganizeFavourites() {
    OrganizeFavouritesDialog dialog(favourites_.Folders(), this);
    if (dialog.exec() == QDialog::Accepted) {
        favourites_.Replace(dialog.Folders());
        RebuildFavouritesMenu();
    }
}

QString WindowTitle(const QString& folder) {
    if (folder.isEmpty()) {
        return QStringLiteral("Vornik");
    }
    const QString name = QFileInfo(folder).fileName();
    return (name.isEmpty() ? folder : name) + QStringLiteral(" \u2014 Vornik");
}

QString CMainFrame::StatusText(int pane) const {
    return pane >= 0 && pane < static_cast<int>(panes_.size())
               ? panes_[static_cast<std::size_t>(pane)]->text()
               : QString();
}

bool CMainFrame::IsAnimating() const {
    return animation_->IsPlaying();
}

QAction* CMainFrame::Action(int command) const {
    const auto found = actions_.find(command);
    return found == actions_.end() ? nullptr : found->second;
}

void CMainFrame::SetStatusText(int pane, const QString& text) {
    if (pane >= 0 && pane < static_cast<int>(panes_.size())) {
        panes_[static_cast<std::size_t>(pane)]->setText(text);
    }
}

void CMainFrame::Animate(bool play) {
    animation_->Play(play);
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (!shutDown_ && view_ != nullptr) {
        view_->Shutdown();
    }
    shutDown_ = true;
    event->accept();
}

void CMainFrame::TrackPlacement() {
    if (isMaximized() || isMinimized() || isFullScreen() || !isVisible()) {
        return;
    }
    const QRect placed = geometry();
    settings_.left = placed.left();
    settings_.top = placed.top();
    settings_.right = placed.left() + placed.width();
    settings_.bottom = placed.top() + placed.height();
}

void CMainFrame::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    TrackPlacement();
}

void CMainFrame::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    TrackPlacement();
}

void CMainFrame::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && !isMinimized()) {
        settings_.maximize = isMaximized();
    }
}

}  // namespace vornik
