// SPDX-License-Identifier: GPL-3.0-or-later
// Carries the list workers' results to the GUI thread.
#pragma once

#include <QObject>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>

#include "list_worker_message.h"

namespace vornik {

// Workers queue their messages here from their own threads; one posted event wakes the GUI
// thread, which hands them to the handler in the order they were queued. A burst of results
// is handed over in slices of a few milliseconds, so that painting and input are never held
// up for long while a folder of thousands of files fills.
class GuiResultPoster : public QObject, public MessageQueueingPoster {
  public:
    using Handler = std::function<void(ListWorkerMessage&)>;

    explicit GuiResultPoster(QObject* parent = nullptr);
    // Called on the GUI thread for every message; set it before the first result can arrive.
    void SetHandler(Handler handler) { handler_ = std::move(handler); }

  protected:
    bool event(QEvent* event) override;

  private:
    void Queue(ListWorkerMessage message) override;
    void Deliver();
    void WakeLocked();

    Handler handler_;
    std::mutex mutex_;
    std::deque<ListWorkerMessage> queued_;  // filled by the workers, under mutex_
    bool wakePending_ = false;              // under mutex_
    std::deque<ListWorkerMessage> taken_;   // the GUI thread's own
};

}  // namespace vornik
