// SPDX-License-Identifier: GPL-3.0-or-later
// The file list's worker: analyses the rows of each batch and posts their results to the list.
#pragma once

#include <memory>
#include <string>

#include "list_row.h"
#include "mp3_file.h"
#include "result_outlet.h"
#include "worker_thread.h"

namespace vornik {

// The worker reads nothing of the list's: each batch carries copies of its rows' paths and
// names and the options of the analysis, and each result goes back as a value through the
// outlet, to be swapped into its row on the list's thread.
class CListThread {
  public:
    // Lets a scan end at its next progress check once its stop token is raised.
    class thread_helper : public CMp3File::sink {
      public:
        explicit thread_helper(const StopToken& stop) : stop_(stop) {}
        bool progress(Mp3Info& record) override;

      private:
        const StopToken& stop_;
    };

    // Starts the thread at once unless `start` is false (then Start does).
    explicit CListThread(std::shared_ptr<ResultOutlet> outlet, bool start = true);

    // Throws std::system_error when the system makes no more threads.
    void Start() { thread_.Start(); }
    // `WorkerProcess`: queues the batch.
    bool Post(std::unique_ptr<ListRequest> request);
    void StopProcessing() { thread_.StopProcessing(); }
    bool Shutdown(std::chrono::steady_clock::time_point deadline) {
        return thread_.Shutdown(deadline);
    }
    void SetAlerts(WorkerAlerts* alerts) { thread_.SetAlerts(alerts); }
    bool IsIdle() const { return thread_.IsIdle(); }

    // One batch: each row's result is posted as it is done, the last row's marked; a stop
    // ends the batch at once and the row in progress is not reported.
    static void OnProcessMulti(const ListRequest& request, const StopToken& stop,
                               ResultOutlet& outlet);
    // One row's result; a file without audio gets one too, which says so. Incomplete when
    // the batch was stopped meanwhile (then it is not posted).
    static std::unique_ptr<ListItemResult> OnProcess(const ListRowRequest& row,
                                                     const ListRequest& request,
                                                     const StopToken& stop);

  private:
    std::shared_ptr<ResultOutlet> outlet_;
    WorkerThread thread_;
};

}  // namespace vornik
