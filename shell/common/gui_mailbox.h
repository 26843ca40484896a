// SPDX-License-Identifier: GPL-3.0-or-later
// Calls a worker thread makes on an object of the GUI thread.
#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>

namespace vornik {

// The calls are queued under a std::mutex with the values they carry, which a race detector
// can follow; an event that carries nothing wakes the GUI thread, which runs them in order.
// Once the mailbox is closed, queued and later calls are dropped: a worker may outlive the
// window it reported to, and closing never waits for it.
template <typename Receiver>
class GuiMailbox {
  public:
    using Call = std::function<void(Receiver&)>;

    // On the GUI thread, for `receiver`, which must outlive Close().
    static std::shared_ptr<GuiMailbox> Open(Receiver& receiver) {
        std::shared_ptr<GuiMailbox> mailbox(new GuiMailbox(receiver));
        mailbox->wakeup_ = new Wakeup(mailbox);
        return mailbox;
    }

    // On any thread.
    void Post(Call call) {
        const std::lock_guard lock(mutex_);
        if (wakeup_ == nullptr) {
            return;  // closed
        }
        const bool wake = calls_.empty();
        calls_.push_back(std::move(call));
        if (wake) {
            QCoreApplication::postEvent(wakeup_, new QEvent(Wakeup::kCallsWaiting));
        }
    }

    // On the GUI thread: nothing reaches the receiver afterwards.
    void Close() {
        Wakeup* wakeup = nullptr;
        {
            const std::lock_guard lock(mutex_);
            wakeup = wakeup_;
            wakeup_ = nullptr;
            calls_.clear();
        }
        if (wakeup != nullptr) {
            wakeup->deleteLater();  // a call in Deliver may be what closes the mailbox
        }
    }

  private:
    // Lives on the GUI thread; the posted event runs the queued calls.
    class Wakeup : public QObject {
      public:
        static constexpr QEvent::Type kCallsWaiting =
            static_cast<QEvent::Type>(QEvent::User + 0x408);
        explicit Wakeup(const std::shared_ptr<GuiMailbox>& mailbox) : mailbox_(mailbox) {}

      protected:
        bool event(QEvent* event) override {
            if (event->type() != kCallsWaiting) {
                return QObject::event(event);
            }
            if (const std::shared_ptr<GuiMailbox> mailbox = mailbox_.lock()) {
                mailbox->Deliver();
            }
            return true;
        }

      private:
        std::weak_ptr<GuiMailbox> mailbox_;
    };

    explicit GuiMailbox(Receiver& receiver) : receiver_(receiver) {}

    void Deliver() {
        // A call may close the mailbox (its dialog goes): the next one is not run then.
        for (;;) {
            Call call;
            {
                const std::lock_guard lock(mutex_);
                if (wakeup_ == nullptr || calls_.empty()) {
                    return;
                }
                call = std::move(calls_.front());
                calls_.pop_front();
            }
            call(receiver_);
        }
    }

    Receiver& receiver_;
    std::mutex mutex_;
    std::deque<Call> calls_;    // under mutex_
    Wakeup* wakeup_ = nullptr;  // under mutex_; null once closed
};

}  // namespace vornik
