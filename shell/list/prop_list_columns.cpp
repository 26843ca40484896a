// SPDX-License-Identifier: GPL-3.0-or-later
#include "prop_list_columns.h"

#include <QCheckBox>
#include <QVBoxLayout>

#include "export_tree.h"

namespace vornik {

CPropListColumns::CPropListColumns(ListPageValues& values, int* changeFlags, QWidget* parent)
    : CSettingsPage(parent),
      values_(values),
      changeFlags_(changeFlags),
      tree_(new CExportTree),
      autosize_(new QCheckBox(tr("Auto resize columns"))),
      tooltips_(new QCheckBox(tr("Display header tooltips"))) {
    tree_->Fill(values.chosenColumns);
    autosize_->setChecked(values.autosize);
    tooltips_->setChecked(values.tooltips);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tree_, 1);
    layout->addWidget(autosize_);
    layout->addWidget(tooltips_);
}

void CPropListColumns::Apply() {
    values_.autosize = autosize_->isChecked();
    values_.tooltips = tooltips_->isChecked();
    values_.chosenColumns = tree_->GetSelection();
    *changeFlags_ = 1;
}

}  // namespace vornik
