// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings_sheet.h"

#include <QDialogButtonBox>
#include <QTabWidget>
#include <QVBoxLayout>

namespace vornik {

CSettingsSheet::CSettingsSheet(QWidget* parent) : QDialog(parent), tabs_(new QTabWidget(this)) {
    setWindowTitle(tr("Settings"));
    setModal(true);
    // Every tab's title in view, so that no page hides behind scroll arrows.
    tabs_->setUsesScrollButtons(false);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &CSettingsSheet::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CSettingsSheet::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_);
    layout->addWidget(buttons);
    connect(tabs_, &QTabWidget::currentChanged, this, [this](int index) {
        if (index >= 0 && isVisible()) {
            shown_.insert(index);
        }
    });
}

void CSettingsSheet::AddPage(CSettingsPage* page) {
    pages_.push_back(page);
    tabs_->addTab(page, page->Title());
}

void CSettingsSheet::SetStartPage(int index) {
    ShowPage(index >= 0 && index < PageCount() ? index : 0);
}

int CSettingsSheet::CurrentPage() const {
    return tabs_->currentIndex();
}

void CSettingsSheet::ShowPage(int index) {
    tabs_->setCurrentIndex(index);
}

void CSettingsSheet::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (CurrentPage() >= 0) {
        shown_.insert(CurrentPage());
    }
}

void CSettingsSheet::accept() {
    for (int index = 0; index < PageCount(); ++index) {
        if (shown_.contains(index)) {
            Page(index)->Apply();
        }
    }
    QDialog::accept();
}

}  // namespace vornik
