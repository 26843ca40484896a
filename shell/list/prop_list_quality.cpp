// SPDX-License-Identifier: GPL-3.0-or-later
#include "prop_list_quality.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QVBoxLayout>

#include "colour_button.h"
#include "colour_word.h"

namespace vornik {
namespace {

ColourButton* MakeColourButton(std::uint32_t word) {
    auto* button = new ColourButton(ColourFromWord(word));
    button->setMinimumSize(80, 24);
    return button;
}

}  // namespace

CPropListQuality::CPropListQuality(ListPageValues& values, int* changeFlags, QWidget* parent)
    : CSettingsPage(parent),
      values_(values),
      changeFlags_(changeFlags),
      good_(MakeColourButton(values.colorGood)),
      notBad_(MakeColourButton(values.colorNotBad)),
      bad_(MakeColourButton(values.colorBad)),
      monoQuality_(new QCheckBox(tr("Double quality per bitrate"))) {
    monoQuality_->setChecked(values.monoQuality);

    auto* colours = new QGroupBox(tr("Colors"));
    auto* form = new QFormLayout(colours);
    form->addRow(tr("Good:"), good_);
    form->addRow(tr("Not bad:"), notBad_);
    form->addRow(tr("Bad:"), bad_);

    auto* mono = new QGroupBox(tr("Mono files"));
    auto* monoColumn = new QVBoxLayout(mono);
    monoColumn->addWidget(monoQuality_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(colours);
    layout->addWidget(mono);
    layout->addStretch();
}

void CPropListQuality::Apply() {
    values_.colorGood = WordFromColour(good_->Colour());
    values_.colorNotBad = WordFromColour(notBad_->Colour());
    values_.colorBad = WordFromColour(bad_->Colour());
    if (monoQuality_->isChecked() != values_.monoQuality) {
        *changeFlags_ = 1;
    }
    values_.monoQuality = monoQuality_->isChecked();
}

}  // namespace vornik
