// SPDX-License-Identifier: GPL-3.0-or-later
// The tree's "Start up" settings page: the folder the program opens with.
#pragma once

#include "settings_sheet.h"
#include "tree_settings.h"

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace vornik {

class CPropTree : public CSettingsPage {
    Q_OBJECT

  public:
    // `values` belongs to the tree and outlives the page.
    explicit CPropTree(TreeSettings& values, QWidget* parent = nullptr);

    QString Title() const override { return tr("Start up"); }
    void Apply() override;

    QLineEdit* InitialDirectoryEdit() const { return initDir_; }
    QPushButton* BrowseButton() const { return browse_; }
    QCheckBox* UseRecentBox() const { return useRecent_; }

  private:
    void Browse();
    void EnableFolderChoice();

    TreeSettings& values_;
    QLineEdit* initDir_;
    QPushButton* browse_;
    QCheckBox* useRecent_;
};

}  // namespace vornik
