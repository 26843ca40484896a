// SPDX-License-Identifier: GPL-3.0-or-later
// The graphs' "Zoom" field: it shows how many windows the file holds, and its arrows zoom.
#pragma once

#include <QSpinBox>

namespace vornik {

class ZoomSpin : public QSpinBox {
    Q_OBJECT

  public:
    explicit ZoomSpin(QWidget* parent = nullptr);

    void stepBy(int steps) override;

  Q_SIGNALS:
    // The up arrow zooms in (2), the down arrow out (0.5); the field's value is the owner's.
    void ZoomRequested(double factor);

  protected:
    StepEnabled stepEnabled() const override { return StepUpEnabled | StepDownEnabled; }
};

}  // namespace vornik
