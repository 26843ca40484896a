// SPDX-License-Identifier: GPL-3.0-or-later
#include "prop_tree.h"

#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace vornik {
namespace {

// A whole Linux path fits; a shorter limit would cut a deep folder's path on OK.
constexpr int kMaxPathLength = 4095;

}  // namespace

CPropTree::CPropTree(TreeSettings& values, QWidget* parent)
    : CSettingsPage(parent),
      values_(values),
      initDir_(new QLineEdit(QString::fromStdString(values.initDir))),
      browse_(new QPushButton(tr("Browse..."))),
      useRecent_(new QCheckBox(tr("Use most recent"))) {
    initDir_->setMaxLength(kMaxPathLength);
    useRecent_->setChecked(values.useRecent);
    connect(browse_, &QPushButton::clicked, this, &CPropTree::Browse);
    connect(useRecent_, &QCheckBox::toggled, this, &CPropTree::EnableFolderChoice);
    EnableFolderChoice();

    auto* home = new QGroupBox(tr("Home folder"));
    auto* grid = new QGridLayout(home);
    auto* label = new QLabel(tr("Initial Directory:"));
    label->setBuddy(initDir_);
    grid->addWidget(label, 0, 0);
    grid->addWidget(initDir_, 0, 1);
    grid->addWidget(browse_, 0, 2);
    grid->addWidget(useRecent_, 1, 0, 1, 3);
    grid->setColumnStretch(1, 1);
    initDir_->setMinimumWidth(fontMetrics().horizontalAdvance(QLatin1Char('x')) * 24);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(home);
    layout->addStretch();
}

void CPropTree::EnableFolderChoice() {
    initDir_->setEnabled(!useRecent_->isChecked());
    browse_->setEnabled(!useRecent_->isChecked());
}

void CPropTree::Browse() {
    const QString start = initDir_->text().isEmpty() ? QDir::homePath() : initDir_->text();
    const QString folder = QFileDialog::getExistingDirectory(this, tr("Initial Directory"), start);
    if (!folder.isEmpty()) {
        initDir_->setText(folder);
    }
}

void CPropTree::Apply() {
    values_.initDir = initDir_->text().toStdString();
    values_.useRecent = useRecent_->isChecked();
}

}  // namespace vornik
