// SPDX-License-Identifier: GPL-3.0-or-later
// The details dialog over one file, measured from inside the program (bench/details).
//   details_scan FILE   opens a shown dialog, waits for the graphs, then paints the bitrate
//                       graph 1600 pixels wide with smoothing 25 by median
// Prints one line of key=value pairs: frames, scan_ms, longest_stall_ms, rss_before_kib,
// rss_open_kib, paint_ms (the mean of the paints).
#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QRadioButton>
#include <QSlider>
#include <cstdio>

#include "bench_probes.h"
#include "bitrate_graph.h"
#include "info_dlg.h"

namespace {

constexpr int kPaints = 50;

int Measure(const QString& path) {
    const long before = vornik::bench::ResidentKib();
    vornik::bench::StallMeter stalls;
    QElapsedTimer clock;
    clock.start();
    vornik::CInfoDlg dialog(path.toStdString(), vornik::DetailsSettings{});
    dialog.resize(1700, 700);
    dialog.show();
    const qint64 openMs = clock.elapsed();
    // Stalls count from here: the making of the window is not the scan's.
    stalls.Start();
    QTimer poll;
    poll.setInterval(1);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (!dialog.Graph(0)->Series().values.empty() || !dialog.isVisible()) {
            QApplication::quit();
        }
    });
    poll.start();
    QApplication::exec();
    const qint64 scanMs = clock.elapsed();
    const long open = vornik::bench::ResidentKib();
    if (dialog.Graph(0)->Series().values.empty()) {
        std::fprintf(stderr, "the scan did not finish\n");
        return 1;
    }

    vornik::CBitrateGraph& graph = *dialog.Graph(0);
    graph.SetSmoothing(25);
    graph.SetMedian(true);
    graph.resize(1600, 400);
    QImage image(graph.size(), QImage::Format_RGB32);
    clock.restart();
    for (int i = 0; i < kPaints; ++i) {
        graph.render(&image);
    }
    const double paintMs = static_cast<double>(clock.nsecsElapsed()) / 1e6 / kPaints;
    std::printf(
        "frames=%zu open_ms=%lld scan_ms=%lld longest_stall_ms=%lld rss_before_kib=%ld "
        "rss_open_kib=%ld paint_ms=%.2f\n",
        graph.Series().values.size(), static_cast<long long>(openMs),
        static_cast<long long>(scanMs), static_cast<long long>(stalls.Longest()), before, open,
        paintMs);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (QApplication::arguments().size() != 2) {
        std::fprintf(stderr, "usage: details_scan FILE\n");
        return 2;
    }
    return Measure(QApplication::arguments()[1]);
}
