// SPDX-License-Identifier: GPL-3.0-or-later
// The list's "Filetypes" settings page: the extensions whose files the list analyses.
#pragma once

#include "list_page_values.h"
#include "settings_sheet.h"

class QLineEdit;
class QListWidget;
class QPushButton;

namespace vornik {

class CPropListFiletypes : public CSettingsPage {
    Q_OBJECT

  public:
    // The page needs no refill of its own: the next fill, or the folder watch, lists with the
    // new extensions.
    explicit CPropListFiletypes(ListPageValues& values, QWidget* parent = nullptr);

    QString Title() const override { return tr("Filetypes"); }
    void Apply() override;

    QListWidget* Extensions() const { return list_; }
    QLineEdit* NewExtensionEdit() const { return edit_; }
    QPushButton* AddButton() const { return add_; }
    QPushButton* RemoveButton() const { return remove_; }

  private:
    void Add();
    void Remove();

    ListPageValues& values_;
    QListWidget* list_;
    QLineEdit* edit_;
    QPushButton* add_;
    QPushButton* remove_;
};

}  // namespace vornik
