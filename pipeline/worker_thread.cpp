// SPDX-License-Identifier: GPL-3.0-or-later
#include "worker_thread.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <utility>

namespace vornik {

// Shared by the owner and the thread, so that a thread left to finish on its own still has
// its queue after the owner is gone.
struct WorkerQueue {
    struct Entry {
        std::uint64_t epoch = 0;
        WorkerThread::Job job;
    };

    mutable std::mutex mutex;
    std::condition_variable changed;
    std::deque<Entry> jobs;
    bool quitting = false;
    bool busy = false;
    bool running = false;
    // Every stop takes the next number; a job posted before it sees its token raised.
    std::atomic<std::uint64_t> epoch{0};
    std::atomic<bool> ending{false};
};

namespace {

void Loop(const std::shared_ptr<WorkerQueue>& queue,
          const std::function<StopToken(std::uint64_t)>& tokenOf) {
    for (;;) {
        WorkerQueue::Entry entry;
        {
            std::unique_lock lock(queue->mutex);
            queue->busy = false;
            queue->changed.notify_all();
            queue->changed.wait(lock, [&] { return queue->quitting || !queue->jobs.empty(); });
            if (queue->quitting) {
                queue->jobs.clear();
                queue->running = false;
                queue->changed.notify_all();
                return;
            }
            entry = std::move(queue->jobs.front());
            queue->jobs.pop_front();
            queue->busy = true;
        }
        // A job posted before the latest stop is not wanted any more.
        if (entry.epoch == queue->epoch.load()) {
            entry.job(tokenOf(entry.epoch));
        }
    }
}

}  // namespace

bool StopToken::StopRequested() const {
    return queue_ != nullptr && (queue_->ending.load() || queue_->epoch.load() != epoch_);
}

WorkerThread::WorkerThread() : queue_(std::make_shared<WorkerQueue>()) {}

WorkerThread::~WorkerThread() {
    Shutdown();
}

void WorkerThread::Start() {
    if (thread_.joinable()) {
        return;
    }
    {
        const std::lock_guard lock(queue_->mutex);
        queue_->running = true;
    }
    try {
        const std::shared_ptr<WorkerQueue> queue = queue_;
        thread_ = std::thread([queue] {
            Loop(queue, [queue](std::uint64_t epoch) { return StopToken(queue, epoch); });
        });
    } catch (...) {
        const std::lock_guard lock(queue_->mutex);
        queue_->running = false;
        throw;
    }
}

bool WorkerThread::Post(Job job) {
    const std::lock_guard lock(queue_->mutex);
    if (queue_->quitting) {
        return false;
    }
    queue_->jobs.push_back({queue_->epoch.load(), std::move(job)});
    queue_->changed.notify_all();
    return true;
}

void WorkerThread::StopProcessing() {
    const std::lock_guard lock(queue_->mutex);
    queue_->epoch.fetch_add(1);
    queue_->jobs.clear();
}

bool WorkerThread::Shutdown() {
    return Shutdown(std::chrono::steady_clock::now() + std::chrono::seconds(1));
}

bool WorkerThread::Shutdown(std::chrono::steady_clock::time_point deadline) {
    if (!thread_.joinable()) {
        return true;
    }
    bool ended = false;
    {
        std::unique_lock lock(queue_->mutex);
        queue_->ending = true;
        queue_->quitting = true;
        queue_->jobs.clear();
        queue_->changed.notify_all();
        ended = queue_->changed.wait_until(lock, deadline, [this] { return !queue_->running; });
    }
    if (ended) {
        thread_.join();
        return true;
    }
    // Killing the thread could leave the engine's file or a lock in any state: it runs to its
    // next check with nothing of this object's, and ends there.
    thread_.detach();
    if (alerts_ != nullptr) {
        alerts_->Show(kWorkerBlockedMessage);
    }
    return false;
}

bool WorkerThread::IsIdle() const {
    const std::lock_guard lock(queue_->mutex);
    return !queue_->busy && queue_->jobs.empty();
}

bool WorkerThread::IsRunning() const {
    const std::lock_guard lock(queue_->mutex);
    return queue_->running;
}

}  // namespace vornik
