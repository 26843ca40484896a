// SPDX-License-Identifier: GPL-3.0-or-later
// CDetailsThread: the details dialog's worker, a complete scan of one file with its frame
// series.
#pragma once

#include <QObject>
#include <QString>
#include <atomic>
#include <memory>
#include <string>

#include "mp3_info.h"

namespace vornik {

// What the worker hands the dialog, always on the dialog's thread. Every call carries the
// number of the scan it belongs to, so that a refreshed dialog can drop an earlier scan's.
class DetailsReceiver {
  public:
    virtual ~DetailsReceiver() = default;
    // `DetailsProgress`: the record as it stands at one of the engine's checkpoints.
    virtual void DetailsProgress(int scan, const Mp3Info& record) = 0;
    // `DetailsDone`: the scan ran to its end; the series is handed over.
    virtual void DetailsDone(int scan, std::shared_ptr<FrameSeries> series) = 0;
    // The scan failed: "File not found:\r\n" and the path, "Error processing file....", or the
    // engine's own text.
    virtual void DetailsFailed(int scan, const QString& text) = 0;
    // The worker has ended: nothing more comes from scan `scan`.
    virtual void DetailsEnded(int scan) = 0;
};

// Starts at construction, on a thread of its own. The worker never touches a window: it posts
// values to `receiver` through a mailbox of the GUI thread, and only while this object lives.
// Destroying it stops the scan at its next checkpoint and returns at once: closing the dialog never
// waits on the file.
class CDetailsThread {
  public:
    CDetailsThread(std::string path, int scan, DetailsReceiver& receiver);
    ~CDetailsThread();
    CDetailsThread(const CDetailsThread&) = delete;
    CDetailsThread& operator=(const CDetailsThread&) = delete;

    // Asks the scan to stop at its next checkpoint; DetailsEnded still comes.
    void Stop();
    int Scan() const { return scan_; }

    // The series' room reserved up front, as frames.
    static constexpr std::size_t kReservedFrames = 20000;

    // What the dialog and its worker share.
    struct Link;

  private:
    const int scan_;
    std::shared_ptr<Link> link_;
};

}  // namespace vornik
