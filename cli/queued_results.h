// SPDX-License-Identifier: GPL-3.0-or-later
// The list worker's messages queued for the command's own thread, which plays the list's.
#pragma once

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>

#include "list_worker_message.h"

namespace vornik {

class QueuedResults : public MessageQueueingPoster {
  public:
    // One message: a row's result (ListItemDone).
    using Message = ListWorkerMessage;

    // The oldest message, waiting for one when there is none.
    Message Next();

  private:
    void Queue(Message message) override;

    std::mutex mutex_;
    std::condition_variable arrived_;
    std::deque<Message> messages_;
};

}  // namespace vornik
