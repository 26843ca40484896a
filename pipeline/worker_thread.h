// SPDX-License-Identifier: GPL-3.0-or-later
// A worker thread with a queue of jobs and a stop token. A job is a value: it holds its
// request and where its results go, so nothing of the owner's is read on the worker's thread.
// Stopping never waits for the worker: it raises the token, the running job leaves at its next
// check, and the jobs queued before the stop are skipped.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <thread>

namespace vornik {

inline constexpr const char* kWorkerBlockedMessage =
    "List thread is blocked...\nThis is not normal behaviour! :(";

// How a worker tells the user that it could not be ended in time. The desktop program shows a
// message box with the application's own caption; called on the owner's thread.
class WorkerAlerts {
  public:
    virtual ~WorkerAlerts() = default;
    virtual void Show(const std::string& text) = 0;
};

struct WorkerQueue;

// What a job polls: true once the owner stopped the work the job was posted for (or the
// worker is ending). Cheap enough to ask at every progress check.
class StopToken {
  public:
    StopToken() = default;
    bool StopRequested() const;

  private:
    friend class WorkerThread;
    StopToken(std::shared_ptr<const WorkerQueue> queue, std::uint64_t epoch)
        : queue_(std::move(queue)), epoch_(epoch) {}
    std::shared_ptr<const WorkerQueue> queue_;
    std::uint64_t epoch_ = 0;
};

// One thread running posted jobs one after the other, in posting order. Every operation
// belongs to the owner's thread.
class WorkerThread {
  public:
    using Job = std::function<void(const StopToken&)>;

    WorkerThread();
    // Ends the thread as Shutdown does, when that has not happened yet.
    ~WorkerThread();
    WorkerThread(const WorkerThread&) = delete;
    WorkerThread& operator=(const WorkerThread&) = delete;

    // Starts the thread. Throws std::system_error when the system makes no more threads; the
    // object is then as before the call. A second call does nothing.
    void Start();
    // Queues `job`; false once the worker is shutting down (the job is dropped).
    bool Post(Job job);
    // Raises the stop token of the running job and of every queued one, and returns at once.
    void StopProcessing();
    // Stops, asks the thread to end and waits for it until `deadline`. False when it did not
    // end in time: it is left to finish its job on its own (it holds nothing of the owner's)
    // and the blocked message is shown.
    bool Shutdown(std::chrono::steady_clock::time_point deadline);
    bool Shutdown();  // with a deadline one second from now

    void SetAlerts(WorkerAlerts* alerts) { alerts_ = alerts; }
    // No job is running and none is queued.
    bool IsIdle() const;
    bool IsRunning() const;

  private:
    std::shared_ptr<WorkerQueue> queue_;
    std::thread thread_;
    WorkerAlerts* alerts_ = nullptr;
};

}  // namespace vornik
