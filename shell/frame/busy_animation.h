// SPDX-License-Identifier: GPL-3.0-or-later
// The busy animation of the main window: a small spinner that turns while the list is read.
#pragma once

#include <QTimer>
#include <QWidget>

namespace vornik {

inline constexpr int kBusySpokes = 12;

// How strongly spoke `spoke` is drawn in frame `frame`, 0.15 to 1: the leading spoke full,
// the ones behind it fading. Frame 0 is the picture shown at rest.
double SpokeStrength(int frame, int spoke);

class BusyAnimation : public QWidget {
  public:
    explicit BusyAnimation(QWidget* parent = nullptr);

    // True plays the animation in a loop; false stops it at its first frame.
    void Play(bool play);
    bool IsPlaying() const { return timer_.isActive(); }
    QSize sizeHint() const override { return {40, 22}; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QTimer timer_;
    int frame_ = 0;
};

}  // namespace vornik
