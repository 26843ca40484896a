// The list worker's messages queued for the command's own thread, which plays the list's.
#pragma once

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>

#include "list_row.h"

namespace vornik {

class QueuedResults : public ListResultPoster {
  public:
    // One message: a result (ListItemDone) or, with a null result, a failed row.
    struct Message {
        std::unique_ptr<ListItemResult> result;
        bool lastOfBatch = false;
        std::uint8_t sequence = 0;
        _LVItemData* failedRow = nullptr;
    };

    void PostItemDone(std::unique_ptr<ListItemResult> result, bool lastOfBatch,
                      std::uint8_t sequence) override;
    void PostItemFailed(_LVItemData* row) override;

    // The oldest message, waiting for one when there is none.
    Message Next();

  private:
    void Push(Message message);

    std::mutex mutex_;
    std::condition_variable arrived_;
    std::deque<Message> messages_;
};

}  // namespace vornik
