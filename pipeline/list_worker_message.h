// The list worker's two messages as one value, for posters that queue them.
#pragma once

#include <cstdint>
#include <memory>

#include "list_row.h"

namespace vornik {

// One `ListItemDone` (a result) or `ListItemFailed` (a failed row, no result).
struct ListWorkerMessage {
    std::unique_ptr<ListItemResult> result;
    bool lastOfBatch = false;
    ListRowRef failedRow;
};

// A poster that turns both messages into ListWorkerMessage values and hands them to Queue,
// on the worker's thread.
class MessageQueueingPoster : public ListResultPoster {
  public:
    void PostItemDone(std::unique_ptr<ListItemResult> result, bool lastOfBatch) final {
        ListWorkerMessage message;
        message.result = std::move(result);
        message.lastOfBatch = lastOfBatch;
        Queue(std::move(message));
    }
    void PostItemFailed(ListRowRef row) final {
        ListWorkerMessage message;
        message.failedRow = row;
        Queue(std::move(message));
    }

  protected:
    virtual void Queue(ListWorkerMessage message) = 0;
};

}  // namespace vornik
