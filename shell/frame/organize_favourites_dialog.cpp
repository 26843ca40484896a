// SPDX-License-Identifier: GPL-3.0-or-later
#include "organize_favourites_dialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace vornik {

OrganizeFavouritesDialog::OrganizeFavouritesDialog(const std::vector<std::string>& folders,
                                                   QWidget* parent)
    : QDialog(parent), list_(new QListWidget(this)) {
    setWindowTitle(tr("Organize Favourites"));
    for (const std::string& folder : folders) {
        list_->addItem(QString::fromStdString(folder));
    }
    auto* remove = new QPushButton(tr("&Remove"), this);
    auto* up = new QPushButton(tr("Move &Up"), this);
    auto* down = new QPushButton(tr("Move &Down"), this);
    connect(remove, &QPushButton::clicked, this, [this] { delete list_->currentItem(); });
    connect(up, &QPushButton::clicked, this, [this] { MoveCurrent(-1); });
    connect(down, &QPushButton::clicked, this, [this] { MoveCurrent(+1); });

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(remove);
    buttons->addWidget(up);
    buttons->addWidget(down);
    buttons->addStretch();
    auto* middle = new QHBoxLayout;
    middle->addWidget(list_, 1);
    middle->addLayout(buttons);
    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(box, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(middle);
    layout->addWidget(box);
    resize(480, 300);
}

void OrganizeFavouritesDialog::MoveCurrent(int step) {
    const int row = list_->currentRow();
    const int target = row + step;
    if (row < 0 || target < 0 || target >= list_->count()) {
        return;
    }
    QListWidgetItem* const item = list_->takeItem(row);
    list_->insertItem(target, item);
    list_->setCurrentRow(target);
}

std::vector<std::string> OrganizeFavouritesDialog::Folders() const {
    std::vector<std::string> folders;
    for (int row = 0; row < list_->count(); ++row) {
        folders.push_back(list_->item(row)->text().toStdString());
    }
    return folders;
}

}  // namespace vornik
