// SPDX-License-Identifier: GPL-3.0-or-later
#include "queued_results.h"

namespace vornik {

void QueuedResults::Queue(Message message) {
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
