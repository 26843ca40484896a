// A flag that threads can wait on: it stays set until someone resets it, and setting it wakes
// every waiter.
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace vornik {

class ManualResetEvent {
  public:
    explicit ManualResetEvent(bool initiallySet = false) : set_(initiallySet) {}
    ManualResetEvent(const ManualResetEvent&) = delete;
    ManualResetEvent& operator=(const ManualResetEvent&) = delete;

    // Sets the flag and wakes every waiter.
    void Set() {
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            set_ = true;
        }
        changed_.notify_all();
    }

    void Reset() {
        const std::lock_guard<std::mutex> lock(mutex_);
        set_ = false;
    }

    bool IsSet() const {
        const std::lock_guard<std::mutex> lock(mutex_);
        return set_;
    }

    // Waits until the flag is set, at most `timeoutMs` milliseconds; true when it is set.
    bool Wait(int timeoutMs) const {
        std::unique_lock<std::mutex> lock(mutex_);
        return changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                                 [this] { return set_; });
    }

  private:
    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    bool set_;
};

}  // namespace vornik
