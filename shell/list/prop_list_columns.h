// SPDX-License-Identifier: GPL-3.0-or-later
// The list's "Columns" settings page: which attributes the list shows, and the header's
// behaviour.
#pragma once

#include "list_page_values.h"
#include "settings_sheet.h"

class QCheckBox;

namespace vornik {

class CExportTree;

class CPropListColumns : public CSettingsPage {
    Q_OBJECT

  public:
    CPropListColumns(ListPageValues& values, int* changeFlags, QWidget* parent = nullptr);

    QString Title() const override { return tr("Columns"); }
    // Always asks for a refill: a new column may need values the rows were read without.
    void Apply() override;

    CExportTree* Tree() const { return tree_; }
    QCheckBox* AutosizeBox() const { return autosize_; }
    QCheckBox* TooltipsBox() const { return tooltips_; }

  private:
    ListPageValues& values_;
    int* changeFlags_;
    CExportTree* tree_;
    QCheckBox* autosize_;
    QCheckBox* tooltips_;
};

}  // namespace vornik
