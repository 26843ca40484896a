// Work that may wait on the disk, done on a pool thread so that the window never waits.
#pragma once

#include <QFutureWatcher>
#include <QObject>
#include <QtConcurrent/QtConcurrentRun>
#include <type_traits>
#include <utility>

namespace vornik {

// Runs `work` on Qt's thread pool and hands its result to `done` on `context`'s thread. Once
// `context` is gone nothing is handed over; `work` must therefore own everything it touches.
template <typename Work, typename Done>
void RunInBackground(QObject* context, Work work, Done done) {
    using Result = std::invoke_result_t<Work>;
    auto* const watcher = new QFutureWatcher<Result>(context);
    QObject::connect(watcher, &QFutureWatcherBase::finished, context,
                     [watcher, done = std::move(done)]() mutable {
                         done(watcher->future().takeResult());
                         watcher->deleteLater();
                     });
    watcher->setFuture(QtConcurrent::run(std::move(work)));
}

}  // namespace vornik
