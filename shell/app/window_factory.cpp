// SPDX-License-Identifier: GPL-3.0-or-later
#include "window_factory.h"

#include <QMessageBox>

#include "main_frame.h"
#include "vornik_list.h"
#include "vornik_tree.h"
#include "vornik_view.h"

namespace vornik {

WindowFactory& WindowFactory::Instance() {
    static WindowFactory factory;
    return factory;
}

void WindowFactory::Register(int id, Creator creator) {
    creators_[id] = std::move(creator);
}

void WindowFactory::Unregister(int id) {
    creators_.erase(id);
}

CFrameWindowStuff* WindowFactory::Create(int id, QWidget* parent) const {
    const auto found = creators_.find(id);
    return found == creators_.end() ? nullptr : found->second(parent);
}

void RegisterWindows() {
    WindowFactory& factory = WindowFactory::Instance();
    factory.Register(kViewWindowId, StandardCreator<CVornikView>());
    factory.Register(kFrameWindowId, StandardCreator<CMainFrame>());
    factory.Register(kListWindowId, StandardCreator<CVornikList>());
    factory.Register(kTreeWindowId, StandardCreator<CVornikTree>());
}

void ReportUnregisteredWindow() {
    QMessageBox::warning(nullptr, QString(), kWindowNotRegisteredText);
}

}  // namespace vornik
