#include "queued_results.h"

namespace vornik {

void QueuedResults::PostItemDone(std::unique_ptr<ListItemResult> result, bool lastOfBatch,
                                 std::uint8_t sequence) {
    Message message;
    message.result = std::move(result);
    message.lastOfBatch = lastOfBatch;
    message.sequence = sequence;
    Push(std::move(message));
}

void QueuedResults::PostItemFailed(_LVItemData* row) {
    Message message;
    message.failedRow = row;
    Push(std::move(message));
}

void QueuedResults::Push(Message message) {
    {
        const std::lock_guard lock(mutex_);
        messages_.push_back(std::move(message));
    }
    arrived_.notify_one();
}

QueuedResults::Message QueuedResults::Next() {
    std::unique_lock lock(mutex_);
    arrived_.wait(lock, [this] { return !messages_.empty(); });
    Message message = std::move(messages_.front());
    messages_.pop_front();
    return message;
}

}  // namespace vornik
