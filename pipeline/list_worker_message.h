// SPDX-License-Identifier: GPL-3.0-or-later
// The list worker's two messages as one value, for posters that queue them.
#pragma once

#include <cstdint>
#include <memory>

#include "list_row.h"

namespace vornik {

// One `ListItemDone`: a row's result (a file without audio gets one that says so).
struct ListWorkerMessage {
    std::unique_ptr<ListItemResult> result;
    bool lastOfBatch = false;
};

// A poster that turns the messages into ListWorkerMessage values and hands them to Queue, on
// the worker's thread.
class MessageQueueingPoster : public ListResultPoster {
  public:
    void PostItemDone(std::unique_ptr<ListItemResult> result, bool lastOfBatch) final {
        ListWorkerMessage message;
        message.result = std::move(result);
        message.lastOfBatch = lastOfBatch;
        Queue(std::move(message));
    }

  protected:
    virtual void Queue(ListWorkerMessage message) = 0;
};

}  // namespace vornik
