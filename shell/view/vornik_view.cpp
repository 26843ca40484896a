// SPDX-License-Identifier: GPL-3.0-or-later
#include "vornik_view.h"

#include <QCursor>
#include <QTimer>
#include <algorithm>

#include "info_dlg.h"
#include "log.h"
#include "settings_sheet.h"
#include "vornik_list.h"
#include "vornik_tree.h"

namespace vornik {

CVornikView::CVornikView(QWidget* parent) : QSplitter(Qt::Horizontal, parent) {
    list_ = CreateRegisteredWindow<CVornikList>(kListWindowId, this);
    tree_ = CreateRegisteredWindow<CVornikTree>(kTreeWindowId, this);
    setChildrenCollapsible(false);
    if (tree_ != nullptr) {
        tree_->setMinimumWidth(kMinimumPaneWidth);
        addWidget(tree_);
        setStretchFactor(indexOf(tree_), 0);
    }
    if (list_ != nullptr) {
        list_->setMinimumWidth(kMinimumPaneWidth);
        addWidget(list_);
        setStretchFactor(indexOf(list_), 1);
    }
    if (tree_ != nullptr && list_ != nullptr) {
        connect(tree_, &CVornikTree::TreeSelChanged, list_, [this](const QString& folder) {
            list_->ListLoadFolder(folder, /*clear=*/true, /*completeScan=*/false);
        });
        connect(tree_, &CVornikTree::ListShowFiles, list_, &CVornikList::ListShowFiles,
                Qt::QueuedConnection);
        connect(list_, &CVornikList::TreeGoToFolder, tree_, &CVornikTree::TreeGoToFolder);
    }
    if (list_ != nullptr) {
        connect(list_, &CVornikList::FrameSetStatusText, this, &CVornikView::FrameSetStatusText,
                Qt::QueuedConnection);
        connect(list_, &CVornikList::FrameAnimate, this, &CVornikView::FrameAnimate,
                Qt::QueuedConnection);
        connect(list_, &CVornikList::ViewOpenDetails, this, &CVornikView::ViewOpenDetails);
        connect(list_, &CVornikList::FrameShownFolder, this, &CVornikView::FrameShownFolder);
        connect(list_, &CVornikList::ViewSettings, this, [this](int page) {
            // After the header's menu has closed: the sheet runs a loop of its own.
            QTimer::singleShot(0, this, [this, page] { ViewSettingsSheet(page); });
        });
    }
}

void CVornikView::SaveSettings(CIniFile& ini) {
    if (list_ != nullptr) {
        list_->SaveSettings(ini);
    }
    if (tree_ != nullptr) {
        tree_->SaveSettings(ini);
    }
    SaveViewSettings(ini, settings_);
}

void CVornikView::LoadSettings(const CIniFile& ini) {
    if (list_ != nullptr) {
        list_->LoadSettings(ini);
    }
    if (tree_ != nullptr) {
        tree_->LoadSettings(ini);
    }
    LoadViewSettings(ini, settings_);
}

void CVornikView::RefreshPaneUnderMouse() {
    if (MouseOverTree()) {
        tree_->ViewRefresh();
    } else if (list_ != nullptr) {
        list_->ViewRefresh(/*completeScan=*/false);
    }
}

void CVornikView::ClipboardToPaneUnderMouse(int command) {
    // The tree has no clipboard commands of its own.
    if (!MouseOverTree() && list_ != nullptr) {
        list_->ViewClipboard(command);
    }
}

bool CVornikView::MouseOverTree() const {
    return tree_ != nullptr && tree_->isVisible() &&
           tree_->rect().contains(tree_->mapFromGlobal(QCursor::pos()));
}

void CVornikView::ViewStartup(const StartupRequest& request) {
    const int total = width() - handleWidth();
    const int position = ClampSplitterPosition(settings_.splitterPosition, total, kMinimumPaneWidth,
                                               kMinimumPaneWidth);
    setSizes({position, total - position});
    if (tree_ != nullptr) {
        tree_->Startup(request);
    }
}

void CVornikView::Shutdown() {
    if (tree_ != nullptr) {
        tree_->Shutdown();
    }
    if (list_ != nullptr) {
        list_->Shutdown();
    }
    if (!sizes().isEmpty() && tree_ != nullptr) {
        settings_.splitterPosition = sizes().front();
    }
}

void CVornikView::ViewSwitchPane() {
    if (tree_ == nullptr || list_ == nullptr) {
        return;
    }
    if (tree_->hasFocus()) {
        list_->setFocus(Qt::TabFocusReason);
    } else {
        tree_->setFocus(Qt::TabFocusReason);
    }
}

void CVornikView::ViewOpenDetails(const std::string& path) {
    Log("CVornikView::OnDetails:" + path);
    // A window of its own, owned by the view: it stays above the main window.
    auto* dialog = new CInfoDlg(path, settings_.details, this);
    const DetailsSettings& d = settings_.details;
    // A hand-edited rectangle of no size still gives a window that can be seen.
    dialog->setGeometry(d.left, d.top, std::max(d.right - d.left, 200),
                        std::max(d.bottom - d.top, 150));
    connect(dialog, &CInfoDlg::DetailsClosed, this, &CVornikView::DetailsClosed,
            Qt::QueuedConnection);
    details_.push_back(dialog);
    dialog->show();
}

void CVornikView::DetailsClosed(CInfoDlg* dialog) {
    const auto open = std::find(details_.begin(), details_.end(), dialog);
    if (open == details_.end()) {
        return;
    }
    // The one closed last decides what is stored.
    settings_.details = dialog->Settings();
    details_.erase(open);
    dialog->deleteLater();
}

void CVornikView::ViewSettingsSheet(int page) {
    if (page < 0 || page >= 10) {
        page = 0;
    }
    if (sheet_ != nullptr) {
        return;  // one sheet at a time; a second request while it is open is dropped
    }
    int changeFlags = 0;
    std::vector<CWindowWithSettings*> participants;
    if (tree_ != nullptr) {
        participants.push_back(tree_);
    }
    if (list_ != nullptr) {
        participants.push_back(list_);
    }
    for (CWindowWithSettings* participant : participants) {
        participant->CreatePages(&changeFlags);
    }
    // On the heap: if the window goes while the sheet's loop runs, the sheet goes with it.
    sheet_ = new CSettingsSheet(this);
    if (list_ != nullptr) {
        list_->AddPages(*sheet_);
    }
    if (tree_ != nullptr) {
        tree_->AddPages(*sheet_);
    }
    sheet_->SetStartPage(page);
    Q_EMIT SettingsSheetOpened(sheet_);
    const QPointer<CVornikView> alive(this);
    const bool accepted = sheet_->exec() == QDialog::Accepted;
    if (alive.isNull()) {
        return;
    }
    delete sheet_;
    if (accepted) {
        for (CWindowWithSettings* participant : participants) {
            participant->ApplyPages(changeFlags);
        }
    }
}

}  // namespace vornik
