// SPDX-License-Identifier: GPL-3.0-or-later
// What the desktop benchmarks measure from inside the program: memory and GUI-thread stalls.
#pragma once

#include <sys/resource.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <algorithm>
#include <fstream>

namespace vornik::bench {

inline long ResidentKib() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0;
    long resident = 0;
    statm >> pages >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

inline long PeakResidentKib() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// The largest gap between the ticks of a 10 ms timer: how long the GUI thread was held.
class StallMeter : public QObject {
  public:
    StallMeter() {
        timer_.setInterval(10);
        QObject::connect(&timer_, &QTimer::timeout, this,
                         [this] { longest_ = std::max(longest_, sinceTick_.restart()); });
    }
    void Start() {
        sinceTick_.start();
        timer_.start();
    }
    qint64 Longest() const { return longest_; }

  private:
    QTimer timer_;
    QElapsedTimer sinceTick_;
    qint64 longest_ = 0;
};

}  // namespace vornik::bench
