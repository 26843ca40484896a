// SPDX-License-Identifier: GPL-3.0-or-later
#include "prop_list_general.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace vornik {

CPropListGeneral::CPropListGeneral(ListPageValues& values, int* changeFlags, QWidget* parent)
    : CSettingsPage(parent),
      values_(values),
      changeFlags_(changeFlags),
      frames_(new QLineEdit(QString::number(values.frameres))),
      readAllUnknown_(new QCheckBox(tr("Encoder 'Unknown'"))),
      readAllInitial_(new QCheckBox(tr("Initial scan finished"))),
      xml_(new QCheckBox(tr("Substitute HTML codes in XML"))) {
    // Digits only; a stored negative budget (all frames) still shows, and its "-" can be
    // edited away.
    frames_->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("-?[0-9]*")), frames_));
    frames_->setMaximumWidth(fontMetrics().horizontalAdvance(QStringLiteral("0000000000000")));
    readAllUnknown_->setChecked(values.readAllUnknown);
    readAllInitial_->setChecked(values.readAllInitial);
    xml_->setChecked(values.xml);

    auto* scan = new QGroupBox(tr("Initial scan"));
    auto* scanRow = new QHBoxLayout(scan);
    auto* framesLabel = new QLabel(tr("Frames to read:"));
    framesLabel->setBuddy(frames_);
    scanRow->addWidget(framesLabel);
    scanRow->addWidget(frames_);
    scanRow->addWidget(new QLabel(tr("(0 = all frames)")));
    scanRow->addStretch();

    auto* readAll = new QGroupBox(tr("Read all frames when:"));
    auto* readAllColumn = new QVBoxLayout(readAll);
    readAllColumn->addWidget(readAllUnknown_);
    readAllColumn->addWidget(readAllInitial_);

    auto* exportGroup = new QGroupBox(tr("Export"));
    auto* exportColumn = new QVBoxLayout(exportGroup);
    exportColumn->addWidget(xml_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(scan);
    layout->addWidget(readAll);
    layout->addWidget(exportGroup);
    layout->addStretch();
}

void CPropListGeneral::Apply() {
    const GeneralPageResult result =
        ApplyGeneralPage({frames_->text().toStdString(), readAllUnknown_->isChecked(),
                          readAllInitial_->isChecked(), xml_->isChecked()},
                         values_);
    if (!result.isNumber) {
        QApplication::beep();
        frames_->setFocus();
    }
    if (result.needsRefill) {
        *changeFlags_ = 1;
    }
}

}  // namespace vornik
