#include "worker_thread.h"

#include <chrono>
#include <memory>
#include <thread>
#include <utility>

namespace vornik {
namespace {

constexpr int kStartTimeoutMs = 1000;
constexpr int kBusyTimeoutMs = 1000;
constexpr auto kFlushPoll = std::chrono::milliseconds(10);

// Rides on the stop's flush message and tells the owner when the worker is done with it,
// whether it handled the message or discarded it.
class FlushToken final : public WorkerPayload {
  public:
    explicit FlushToken(std::shared_ptr<ManualResetEvent> consumed)
        : consumed_(std::move(consumed)) {}
    ~FlushToken() override { consumed_->Set(); }
    FlushToken(const FlushToken&) = delete;
    FlushToken& operator=(const FlushToken&) = delete;

  private:
    std::shared_ptr<ManualResetEvent> consumed_;
};

}  // namespace

bool WorkerState::Post(Message message) {
    {
        const std::lock_guard<std::mutex> lock(queueMutex_);
        if (!closed_) {
            queue_.push_back(std::move(message));
            queueChanged_.notify_one();
            return true;
        }
    }
    return false;  // `message` and its request go here, outside the lock
}

WorkerState::Message WorkerState::Take() {
    std::unique_lock<std::mutex> lock(queueMutex_);
    queueChanged_.wait(lock, [this] { return !queue_.empty(); });
    Message message = std::move(queue_.front());
    queue_.pop_front();
    return message;
}

void WorkerState::Discard() {
    std::deque<Message> dropped;
    {
        const std::lock_guard<std::mutex> lock(queueMutex_);
        dropped.swap(queue_);
    }
}

void WorkerState::Close() {
    std::deque<Message> dropped;
    {
        const std::lock_guard<std::mutex> lock(queueMutex_);
        closed_ = true;
        dropped.swap(queue_);
    }
}

void WorkerState::ReleaseOwner() {
    const std::lock_guard<std::mutex> lock(ownerMutex_);
    released_ = true;
}

bool WorkerState::OwnerReleased() const {
    const std::lock_guard<std::mutex> lock(ownerMutex_);
    return released_;
}

CThreadBase::CThreadBase() : state_(std::make_shared<WorkerState>()) {}

CThreadBase::~CThreadBase() {
    Shutdown();
}

void CThreadBase::Pause() {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
}

void CThreadBase::Launch(std::function<void()> body) {
    if (launched_) {
        return;
    }
    // Set before the thread exists, so that a loop which ends at once leaves it false.
    state_->running = true;
    try {
        thread_ = std::thread(std::move(body));
    } catch (...) {
        state_->running = false;
        throw;
    }
    launched_ = true;
    state_->started.Wait(kStartTimeoutMs);
}

bool CThreadBase::PostPayload(std::uint32_t message, std::unique_ptr<WorkerPayload> payload) {
    // The queue exists with this object, so the only failure is a loop that has ended: unlike
    // a queue that is not there yet, waiting and trying again cannot help.
    return state_->Post({message, std::move(payload)});
}

bool CThreadBase::PostThreadRequest(std::uint32_t message) {
    return PostPayload(message, nullptr);
}

void CThreadBase::StopProcessing() {
    WorkerState& state = *state_;
    if (state.idle.IsSet() || !thread_.joinable()) {
        return;
    }
    // Flush before abort: a worker that sees the abort must find the flush too, or it would go
    // on with the next queued request.
    state.flush.Set();
    state.abort.Set();
    const auto consumed = std::make_shared<ManualResetEvent>();
    PostPayload(WorkerFlush, std::make_unique<FlushToken>(consumed));
    // Wait until the worker has let go of its request and is done with the flush message too:
    // one still queued on return would discard the next request the owner posts.
    while (state.running && (state.flush.IsSet() || !consumed->IsSet())) {
        std::this_thread::sleep_for(kFlushPoll);
    }
    if (!state.idle.Wait(kBusyTimeoutMs)) {
        Alert(kWorkerBusyMessage);
    }
}

bool CThreadBase::Shutdown() {
    if (!thread_.joinable()) {
        return true;
    }
    PostThreadRequest(WorkerQuit);
    if (state_->ended.Wait(joinTimeoutMs_)) {
        thread_.join();
        return true;
    }
    // Killing the thread could leave the engine's file or a lock in any state: let it run to
    // its next progress check, cut off from everything this object and its owner hold.
    state_->ReleaseOwner();
    state_->abort.Set();
    thread_.detach();
    Alert(kWorkerBlockedMessage);
    return false;
}

void CThreadBase::Alert(const char* text) {
    if (alerts_ != nullptr) {
        alerts_->Show(text);
    }
}

}  // namespace vornik
