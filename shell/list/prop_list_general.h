// SPDX-License-Identifier: GPL-3.0-or-later
// The list's "General" settings page: the frame budget, when to read all frames, the export.
#pragma once

#include "list_page_values.h"
#include "settings_sheet.h"

class QCheckBox;
class QLineEdit;

namespace vornik {

class CPropListGeneral : public CSettingsPage {
    Q_OBJECT

  public:
    // `values` and `changeFlags` belong to the list and outlive the page.
    CPropListGeneral(ListPageValues& values, int* changeFlags, QWidget* parent = nullptr);

    QString Title() const override { return tr("General"); }
    void Apply() override;

    QLineEdit* FramesEdit() const { return frames_; }
    QCheckBox* ReadAllUnknownBox() const { return readAllUnknown_; }
    QCheckBox* ReadAllInitialBox() const { return readAllInitial_; }
    QCheckBox* XmlBox() const { return xml_; }

  private:
    ListPageValues& values_;
    int* changeFlags_;
    QLineEdit* frames_;
    QCheckBox* readAllUnknown_;
    QCheckBox* readAllInitial_;
    QCheckBox* xml_;
};

}  // namespace vornik
