// SPDX-License-Identifier: GPL-3.0-or-later
// A push button that shows a colour and lets the user pick another.
#pragma once

#include <QColor>
#include <QPushButton>

namespace vornik {

// The colour dialog at `initial`, with the program's 16 custom colours, which start white at
// every program start and keep what the user put in them until the program ends. Returns the
// colour chosen, or `initial` when the dialog is cancelled.
QColor ChooseColour(const QColor& initial, QWidget* parent);

// Painted as a solid rectangle of its colour inside the button's frame; a click opens the
// colour dialog at that colour and takes what it returns.
class ColourButton : public QPushButton {
    Q_OBJECT

  public:
    explicit ColourButton(const QColor& colour, QWidget* parent = nullptr);

    QColor Colour() const { return colour_; }
    void SetColour(const QColor& colour);

  Q_SIGNALS:
    void ColourChanged(const QColor& colour);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QColor colour_;
};

}  // namespace vornik
