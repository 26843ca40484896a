// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop list as it fills a folder, measured from inside the program (bench/gui_fill).
//   gui_fill fill FOLDER       fills a shown list from ListLoadFolder to the all-done step
//   gui_fill start SETTINGS    starts the main window on an empty settings file and quits as
//                              soon as it is on screen (timed whole by hyperfine)
// "fill" prints one line of key=value pairs: rows, fill_ms, longest_stall_ms, rss_before_kib,
// peak_rss_kib.
#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <QWindow>
#include <cstdio>
#include <fstream>
#include <memory>
#include <string>

#include "bench_probes.h"
#include "main_frame.h"
#include "vornik_app.h"
#include "vornik_list.h"
#include "window_factory.h"

namespace {

using vornik::bench::PeakResidentKib;
using vornik::bench::ResidentKib;
using vornik::bench::StallMeter;

int Fill(const QString& folder) {
    vornik::CVornikList list;
    list.resize(1000, 700);
    list.show();
    QApplication::processEvents();
    const long before = ResidentKib();

    StallMeter stalls;
    QElapsedTimer clock;
    bool done = false;
    // The busy animation stops at the batch's last result; it also stops for a moment when
    // the listing arrives, before any row is shown.
    QObject::connect(&list, &vornik::CVornikList::FrameAnimate, &list, [&](bool play) {
        const vornik::FileListModel& model = list.Model();
        if (!play && model.RowCount() > 0 &&
            model.DisplayedCount() == static_cast<int>(model.RowCount())) {
            done = true;
            QApplication::quit();
        }
    });
    QTimer::singleShot(0, &list, [&] {
        stalls.Start();
        clock.start();
        list.ListLoadFolder(folder, /*clear=*/true, /*completeScan=*/false);
    });
    QApplication::exec();
    const qint64 elapsed = clock.elapsed();
    if (!done) {
        std::fprintf(stderr, "the fill did not finish\n");
        return 1;
    }
    std::printf(
        "rows=%d fill_ms=%lld longest_stall_ms=%lld rss_before_kib=%ld peak_rss_kib=%ld "
        "rss_after_kib=%ld\n",
        list.Model().DisplayedCount(), static_cast<long long>(elapsed),
        static_cast<long long>(stalls.Longest()), before, PeakResidentKib(), ResidentKib());
    return 0;
}

int Start(const std::string& settingsFile) {
    vornik::RegisterWindows();
    std::string settingsPath;
    std::unique_ptr<vornik::CMainFrame> frame(
        vornik::StartMainFrame({settingsFile, {}}, settingsPath));
    if (!frame) {
        return 1;
    }
    QTimer poll;
    poll.setInterval(1);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (frame->windowHandle() != nullptr && frame->windowHandle()->isExposed()) {
            QApplication::quit();
        }
    });
    poll.start();
    return QApplication::exec();
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() == 3 && arguments[1] == "fill") {
        return Fill(arguments[2]);
    }
    if (arguments.size() == 3 && arguments[1] == "start") {
        return Start(arguments[2].toStdString());
    }
    std::fprintf(stderr, "usage: gui_fill fill FOLDER | gui_fill start SETTINGS_FILE\n");
    return 2;
}
