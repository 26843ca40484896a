// SPDX-License-Identifier: GPL-3.0-or-later
#include "zoom_spin.h"

#include <QLineEdit>
#include <limits>

namespace vornik {

ZoomSpin::ZoomSpin(QWidget* parent) : QSpinBox(parent) {
    setRange(0, std::numeric_limits<int>::max());
    setValue(1);
    lineEdit()->setReadOnly(true);
}

void ZoomSpin::stepBy(int steps) {
    for (int i = 0; i < std::abs(steps); ++i) {
        Q_EMIT ZoomRequested(steps > 0 ? 2.0 : 0.5);
    }
}

}  // namespace vornik
