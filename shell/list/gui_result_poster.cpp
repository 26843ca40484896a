// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui_result_poster.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>

namespace vornik {
namespace {

const QEvent::Type kResultsWaiting = static_cast<QEvent::Type>(QEvent::User + 0x406);
// The longest stretch of results handled before the event loop gets its turn again.
constexpr qint64 kSliceMs = 12;

}  // namespace

GuiResultPoster::GuiResultPoster(QObject* parent) : QObject(parent) {}

void GuiResultPoster::Queue(ListWorkerMessage message) {
    const std::lock_guard<std::mutex> lock(mutex_);
    queued_.push_back(std::move(message));
    WakeLocked();
}

void GuiResultPoster::WakeLocked() {
    if (!wakePending_) {
        wakePending_ = true;
        QCoreApplication::postEvent(this, new QEvent(kResultsWaiting));
    }
}

bool GuiResultPoster::event(QEvent* event) {
    if (event->type() != kResultsWaiting) {
        return QObject::event(event);
    }
    Deliver();
    return true;
}

void GuiResultPoster::Deliver() {
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        wakePending_ = false;
        std::move(queued_.begin(), queued_.end(), std::back_inserter(taken_));
        queued_.clear();
    }
    QElapsedTimer slice;
    slice.start();
    while (!taken_.empty() && slice.elapsed() < kSliceMs) {
        ListWorkerMessage message = std::move(taken_.front());
        taken_.pop_front();
        if (handler_) {
            handler_(message);
        }
    }
    if (!taken_.empty()) {
        const std::lock_guard<std::mutex> lock(mutex_);
        WakeLocked();
    }
}

}  // namespace vornik
