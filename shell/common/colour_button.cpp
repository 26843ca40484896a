// SPDX-License-Identifier: GPL-3.0-or-later
#include "colour_button.h"

#include <QColorDialog>
#include <QPainter>
#include <QStyleOptionButton>
#include <QStylePainter>

namespace vornik {

QColor ChooseColour(const QColor& initial, QWidget* parent) {
    // Qt keeps the custom colours for the whole process, but starts them from what an earlier
    // program left in the toolkit's own settings: ours start white.
    static const bool startedWhite = [] {
        for (int index = 0; index < QColorDialog::customCount(); ++index) {
            QColorDialog::setCustomColor(index, Qt::white);
        }
        return true;
    }();
    (void)startedWhite;
    const QColor chosen = QColorDialog::getColor(initial, parent);
    return chosen.isValid() ? chosen : initial;
}

ColourButton::ColourButton(const QColor& colour, QWidget* parent)
    : QPushButton(parent), colour_(colour) {
    connect(this, &QPushButton::clicked, this,
            [this] { SetColour(ChooseColour(colour_, window())); });
}

void ColourButton::SetColour(const QColor& colour) {
    if (colour == colour_) {
        return;
    }
    colour_ = colour;
    update();
    Q_EMIT ColourChanged(colour_);
}

void ColourButton::paintEvent(QPaintEvent* /*event*/) {
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    painter.drawControl(QStyle::CE_PushButtonBevel, option);
    const QRect contents = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
    painter.fillRect(contents, colour_);
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = contents.adjusted(-2, -2, 2, 2);
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
}

}  // namespace vornik
