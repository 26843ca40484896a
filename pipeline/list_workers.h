// SPDX-License-Identifier: GPL-3.0-or-later
// The list's workers as the list sees them: one, or several side by side.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "list_thread.h"
#include "list_worker_port.h"
#include "result_outlet.h"

namespace vornik {

// Runs the list's batches on `count` list workers. With one worker a batch goes to it whole;
// with more, its rows are dealt out in turn, so that the workers share the files, and every
// worker posts its own results. Results then arrive in no fixed order, which the list's sorted
// insertion does not mind; the batch's last-row mark comes from each worker.
class ListWorkers : public ListWorkerPort {
  public:
    // Starts `count` workers (at least one) posting to `poster`. Where the system makes fewer
    // threads, the workers that did start do the work; where it makes none, Count() is 0,
    // StartError() says why, and posted batches are dropped unanswered.
    ListWorkers(int count, ListResultPoster& poster);
    ~ListWorkers() override;

    void Post(std::unique_ptr<ListRequest> request) override;
    void StopProcessing() override;

    // Where the workers' blocked message goes (null: nowhere).
    void SetAlerts(WorkerAlerts* alerts);
    // Stops every worker, cuts them off from the poster and ends them, waiting one second at
    // most for all of them together. False when some worker did not end in time (its blocked
    // message has been shown; it ends on its own, posting nothing).
    bool Shutdown();
    int Count() const { return static_cast<int>(workers_.size()); }
    // Why the last worker that could not start did not (the system's text); empty when every
    // worker started.
    const std::string& StartError() const { return startError_; }

  private:
    std::shared_ptr<ResultOutlet> outlet_;
    std::vector<std::unique_ptr<CListThread>> workers_;
    std::string startError_;
};

}  // namespace vornik
