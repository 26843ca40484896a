// SPDX-License-Identifier: GPL-3.0-or-later
#include "busy_animation.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

namespace vornik {

double SpokeStrength(int frame, int spoke) {
    const int behind = ((frame - spoke) % kBusySpokes + kBusySpokes) % kBusySpokes;
    return std::max(0.15, 1.0 - behind / static_cast<double>(kBusySpokes - 4));
}

BusyAnimation::BusyAnimation(QWidget* parent) : QWidget(parent) {
    timer_.setInterval(80);
    connect(&timer_, &QTimer::timeout, this, [this] {
        frame_ = (frame_ + 1) % kBusySpokes;
        update();
    });
    setAccessibleName(tr("Busy"));
}

void BusyAnimation::Play(bool play) {
    if (play) {
        timer_.start();
    } else {
        timer_.stop();
        frame_ = 0;
        update();
    }
}

void BusyAnimation::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const double radius = std::min(width(), height()) / 2.0 - 2;
    painter.translate(width() / 2.0, height() / 2.0);
    QColor ink = palette().color(QPalette::WindowText);
    for (int spoke = 0; spoke < kBusySpokes; ++spoke) {
        ink.setAlphaF(IsPlaying() ? SpokeStrength(frame_, spoke) : 0.25);
        painter.setPen(QPen(ink, 2, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(QPointF(0, -radius * 0.45), QPointF(0, -radius));
        painter.rotate(360.0 / kBusySpokes);
    }
}

}  // namespace vornik
