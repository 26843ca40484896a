// The worker-thread framework: a thread with its own request queue, the events through which
// its owner cancels work and learns that the worker is idle, and an orderly shutdown.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <utility>

#include "manual_reset_event.h"

namespace vornik {

// The messages a worker's loop understands.
enum WorkerMessage : std::uint32_t {
    WorkerProcess = 0x402,  // process the request that travels with it
    WorkerQuit = 0x500,     // discard the queue and end the thread
    WorkerFlush = 0x501,    // discard the queue
};

inline constexpr const char* kWorkerBusyMessage =
    "Thread is a bit _too_ busy...Please report this...";
inline constexpr const char* kWorkerBlockedMessage =
    "List thread is blocked...\nThis is not normal behaviour! :(";

// How the framework tells the user about its two internal failures. The desktop program shows a
// message box with the application's own caption; called on the owner's thread.
class WorkerAlerts {
  public:
    virtual ~WorkerAlerts() = default;
    virtual void Show(const std::string& text) = 0;
};

// A queued request of whatever type its worker processes; destroying it frees the request.
class WorkerPayload {
  public:
    virtual ~WorkerPayload() = default;
};

// What an owner and its worker thread share. Both hold it, so that a thread which a blocked
// shutdown had to leave behind still finds its events and queue after the owner is gone.
class WorkerState {
  public:
    struct Message {
        std::uint32_t id = 0;
        std::unique_ptr<WorkerPayload> payload;
    };

    ManualResetEvent abort;            // the owner cancels the item in progress
    ManualResetEvent flush;            // the owner wants every queued request discarded
    ManualResetEvent idle{true};       // clear exactly while a processing request runs
    ManualResetEvent ended;            // the thread's last act
    ManualResetEvent started;          // the thread takes messages from now on
    std::atomic<bool> running{false};  // from the start until the loop ends

    // Appends `message`; false once the loop has ended, and the message is destroyed.
    bool Post(Message message);
    // The oldest message; waits for one as long as it takes.
    Message Take();
    // Destroys every queued message.
    void Discard();
    // Later posts fail; queued messages are destroyed.
    void Close();

    // Runs `touch` under the owner lock unless the owner has let go of the thread; false when it
    // has. Whatever the worker reads or writes of its owner's objects (rows, settings, the
    // result poster) goes through here, so that a thread left behind never touches them.
    template <typename F>
    bool WithOwner(F&& touch) {
        const std::lock_guard<std::mutex> lock(ownerMutex_);
        if (released_) {
            return false;
        }
        std::forward<F>(touch)();
        return true;
    }
    // The owner gives up waiting for the thread; from then on WithOwner refuses.
    void ReleaseOwner();
    bool OwnerReleased() const;

  private:
    std::mutex queueMutex_;
    std::condition_variable queueChanged_;
    std::deque<Message> queue_;
    bool closed_ = false;

    mutable std::mutex ownerMutex_;
    bool released_ = false;
};

// The thread and its events. Every public operation belongs to the owner's thread.
class CThreadBase {
  public:
    CThreadBase();
    // Ends the thread as Shutdown does when that has not happened yet.
    virtual ~CThreadBase();
    CThreadBase(const CThreadBase&) = delete;
    CThreadBase& operator=(const CThreadBase&) = delete;

    // Sleeps 100 ms; for workers that want to pause, the framework never calls it.
    virtual void Pause();

    // Where the busy and blocked messages go; null (the default) shows nothing.
    void SetAlerts(WorkerAlerts* alerts) { alerts_ = alerts; }

    // Queues a message without a request. Requests posted before the thread starts wait for
    // it; false only once the loop has ended, which no retry can undo.
    bool PostThreadRequest(std::uint32_t message);

    // Cancels the request in progress and discards every queued one. Returns at once, leaving
    // the queue alone, when no request is running; shows the busy message when the worker is
    // not idle 1000 ms after it let go of its request.
    void StopProcessing();

    // Asks the thread to end and waits up to the join time-out. False when it did not end: the
    // blocked message has been shown, the running request cancelled, and the thread left to
    // finish on its own. A second call does nothing.
    bool Shutdown();

    bool IsIdle() const { return state_->idle.IsSet(); }
    bool IsRunning() const { return state_->running; }
    int JoinTimeoutMs() const { return joinTimeoutMs_; }

  protected:
    // Starts `body` on the worker thread and waits up to 1000 ms until its queue is taken.
    // Throws std::system_error when the system makes no more threads; the object is then as
    // before the call.
    void Launch(std::function<void()> body);
    bool PostPayload(std::uint32_t message, std::unique_ptr<WorkerPayload> payload);
    const std::shared_ptr<WorkerState>& State() const { return state_; }

  private:
    void Alert(const char* text);

    std::shared_ptr<WorkerState> state_;
    std::thread thread_;
    bool launched_ = false;
    WorkerAlerts* alerts_ = nullptr;
    const int joinTimeoutMs_ = 1000;
};

// The loop that hands each request to `T::OnProcessMulti`, which has this form:
//   bool OnProcessMulti(std::unique_ptr<Request> request, WorkerState& state);
// It returns false to end the thread; the request may be null. It reaches the members of `T`
// and its owner's data only through `state.WithOwner`, since after a blocked shutdown the thread
// outlives both; and `T`'s destructor calls Shutdown, so that in every other case the thread is
// gone before those members are.
template <typename T, typename Request>
class CThread : public CThreadBase {
  public:
    ~CThread() override { Shutdown(); }

    // Starts the thread; `T`'s constructor calls it once `T` is whole. A second call does nothing.
    // Throws std::system_error when the thread cannot be made (see Launch).
    void Start() {
        T* const self = static_cast<T*>(this);
        Launch([state = State(), self] { Loop(state, self); });
    }

    using CThreadBase::PostThreadRequest;
    // Queues `message` with `request`, which the worker owns from now on; false once the loop has
    // ended (the request is then freed).
    bool PostThreadRequest(std::uint32_t message, std::unique_ptr<Request> request) {
        auto payload = std::make_unique<Payload>();
        payload->request = std::move(request);
        return PostPayload(message, std::move(payload));
    }

  private:
    struct Payload final : WorkerPayload {
        std::unique_ptr<Request> request;
    };

    static void Loop(const std::shared_ptr<WorkerState> state, T* const self) {
        state->started.Set();
        bool quit = false;
        while (!quit) {
            WorkerState::Message message = state->Take();
            switch (message.id) {
                case WorkerProcess: {
                    std::unique_ptr<Request> request;
                    if (auto* const payload = dynamic_cast<Payload*>(message.payload.get())) {
                        request = std::move(payload->request);
                    }
                    message.payload.reset();
                    // A request that waited behind a blocked one names the owner's freed data.
                    if (state->OwnerReleased()) {
                        break;
                    }
                    state->idle.Reset();
                    const bool goOn = self->OnProcessMulti(std::move(request), *state);
                    state->idle.Set();
                    if (!goOn) {
                        Finish(*state);
                        return;
                    }
                    break;
                }
                case WorkerQuit:
                    state->Discard();
                    state->flush.Reset();
                    quit = true;
                    break;
                case WorkerFlush:
                    state->Discard();
                    state->flush.Reset();
                    break;
                default:
                    break;
            }
            if (state->flush.IsSet()) {
                state->Discard();
                state->flush.Reset();
            }
            // A cancellation concerns only the request that was running when it came.
            state->abort.Reset();
        }
        Finish(*state);
    }

    static void Finish(WorkerState& state) {
        state.Close();
        state.running = false;
        state.ended.Set();
    }
};

}  // namespace vornik
