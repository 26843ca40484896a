// SPDX-License-Identifier: GPL-3.0-or-later
// The list's "Quality" settings page: the quality cell's three colours and the mono rule.
#pragma once

#include "list_page_values.h"
#include "settings_sheet.h"

class QCheckBox;

namespace vornik {

class ColourButton;

class CPropListQuality : public CSettingsPage {
    Q_OBJECT

  public:
    CPropListQuality(ListPageValues& values, int* changeFlags, QWidget* parent = nullptr);

    QString Title() const override { return tr("Quality"); }
    // A colour alone needs no refill: the list only paints again.
    void Apply() override;

    ColourButton* GoodButton() const { return good_; }
    ColourButton* NotBadButton() const { return notBad_; }
    ColourButton* BadButton() const { return bad_; }
    QCheckBox* MonoQualityBox() const { return monoQuality_; }

  private:
    ListPageValues& values_;
    int* changeFlags_;
    ColourButton* good_;
    ColourButton* notBad_;
    ColourButton* bad_;
    QCheckBox* monoQuality_;
};

}  // namespace vornik
