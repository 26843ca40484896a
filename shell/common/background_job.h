// SPDX-License-Identifier: GPL-3.0-or-later
// Work that may wait on the disk, done on a thread of its own so that the window never waits.
#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>
#include <type_traits>
#include <utility>

#include "log.h"

namespace vornik {

// The object name of a job's receiver: a child of its context while the job runs.
inline constexpr char kBackgroundJobName[] = "vornik-background-job";

// A child of the job's context on the owner's thread. The job posts it an event once the
// result is there, and it runs `deliver`; when the context goes, it tells the job that nobody
// waits for the result any more.
class BackgroundReceiver : public QObject {
  public:
    static constexpr QEvent::Type kResultReady = static_cast<QEvent::Type>(QEvent::User + 0x407);

    BackgroundReceiver(QObject* context, std::function<void()> gone)
        : QObject(context), gone_(std::move(gone)) {
        setObjectName(kBackgroundJobName);
    }
    ~BackgroundReceiver() override { gone_(); }
    void SetDeliver(std::function<void()> deliver) { deliver_ = std::move(deliver); }

  protected:
    bool event(QEvent* event) override {
        if (event->type() != kResultReady) {
            return QObject::event(event);
        }
        deliver_();
        return true;
    }

  private:
    std::function<void()> gone_;
    std::function<void()> deliver_;
};

// Where a job's result waits for the owner's thread. The result crosses under a std::mutex,
// not inside Qt's event, so that the handover is one a race detector can follow; the event
// only says that the result is there.
template <typename Result, typename Done>
struct BackgroundHandover {
    explicit BackgroundHandover(Done d) : done(std::move(d)) {}
    std::mutex mutex;
    std::optional<Result> result;
    QObject* receiver = nullptr;  // null once the context is gone or the result taken
    Done done;                    // called on the owner's thread only
};

// Runs `work` on a thread of its own and hands its result to `done` on `context`'s thread.
// Once `context` is gone nothing is handed over; `work` must therefore own everything it
// touches. Nothing waits for the thread, not even the program's exit.
template <typename Work, typename Done>
void RunInBackground(QObject* context, Work work, Done done) {
    using Result = std::invoke_result_t<Work>;
    using Handover = BackgroundHandover<Result, Done>;
    auto handover = std::make_shared<Handover>(std::move(done));
    auto* const receiver = new BackgroundReceiver(context, [handover] {
        const std::lock_guard lock(handover->mutex);
        handover->receiver = nullptr;
    });
    handover->receiver = receiver;
    receiver->SetDeliver([handover] {
        std::optional<Result> result;
        QObject* receiver = nullptr;
        {
            const std::lock_guard lock(handover->mutex);
            result.swap(handover->result);
            receiver = handover->receiver;
        }
        if (receiver == nullptr || !result) {
            return;
        }
        // `done` may take the context, and the receiver with it, away. The receiver leaves
        // its context at once and goes once this call has returned.
        const QPointer<QObject> stillThere(receiver);
        handover->done(std::move(*result));
        if (stillThere) {
            stillThere->setParent(nullptr);
            stillThere->deleteLater();
        }
    });
    try {
        // The event carries nothing: the result waits in the handover, under its mutex.
        std::thread([handover, work = std::move(work)]() mutable {
            Result result = work();
            const std::lock_guard lock(handover->mutex);
            handover->result.emplace(std::move(result));
            if (handover->receiver != nullptr) {
                QCoreApplication::postEvent(handover->receiver,
                                            new QEvent(BackgroundReceiver::kResultReady));
            }
        }).detach();
    } catch (const std::system_error& error) {
        Log(std::string("RunInBackground: no thread for the job: ") + error.what());
    }
}

}  // namespace vornik
