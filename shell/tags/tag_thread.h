// SPDX-License-Identifier: GPL-3.0-or-later
// CTagThread: the tag dialog's worker, which recomputes the music CRC that the Lame tag stores.
#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "mp3_info.h"

namespace vornik {

// What the worker hands back, always on the GUI thread.
struct TagCrcReceiver {
    std::function<void(int percent)> progress;
    // `done` false: the computation could not complete ("Error calculating CRC"), and
    // `failure` says why; a failure is never a verdict.
    std::function<void(bool done, std::uint16_t crc, const QString& failure)> finished;
};

// Runs on a thread of its own (a long pass over a large file must not hold up the folder
// listings), so that the dialog can go at once: closing it cancels the pass at its next block,
// and a worker whose dialog is gone hands nothing back. Calls reach the receiver through a
// mailbox of the GUI thread.
class CTagThread {
  public:
    CTagThread(std::string path, const Mp3Info& record, TagCrcReceiver receiver);
    // The dialog is going: nothing more is handed back.
    ~CTagThread();
    CTagThread(const CTagThread&) = delete;
    CTagThread& operator=(const CTagThread&) = delete;

    // No CRC pass is running (one whose dialog went ends at its next block).
    static bool AllEnded();

    // What the dialog and its worker share.
    struct Link;

  private:
    std::shared_ptr<Link> link_;
};

}  // namespace vornik
