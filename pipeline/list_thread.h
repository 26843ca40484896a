// The file list's worker: analyses the rows of each batch and posts their results to the list.
#pragma once

#include <atomic>
#include <memory>
#include <string>

#include "list_row.h"
#include "manual_reset_event.h"
#include "mp3_file.h"
#include "worker_thread.h"

namespace vornik {

// The worker never writes a row: it reads the row's path and name, analyses the file into a
// result of its own and posts that, and the list's thread swaps it into the row.
class CListThread : public CThread<CListThread, ListRequest> {
  public:
    // Lets a scan end at its next progress check once the abort event is set.
    class thread_helper : public CMp3File::sink {
      public:
        explicit thread_helper(const ManualResetEvent& abort) : abort_(abort) {}
        int progress(Mp3Info& record) override;

      private:
        const ManualResetEvent& abort_;
    };

    // Starts the thread at once unless `start` is false (then Start does).
    explicit CListThread(bool start = true);
    ~CListThread() override;

    // Where results go, set once the list can take them; results of rows finished while there is
    // no poster are dropped. The poster is called under the owner lock (WorkerState::WithOwner),
    // so it must queue and return, never wait for the list's thread.
    void SetPoster(ListResultPoster* poster) { poster_ = poster; }
    // The list's "monoquality" and "readallunknown" settings; a change reaches the next row.
    void SetMonoQuality(bool on) { monoQuality_ = on; }
    void SetReadAllUnknown(bool on) { readAllUnknown_ = on; }

    // One batch: each row's result is posted as it is done, the last row's marked; a
    // cancellation ends the batch at once and the row in progress is not reported. Always true.
    bool OnProcessMulti(std::unique_ptr<ListRequest> request, WorkerState& state);

    // One row: its result when the row is to be reported done, else null (the file failed and
    // `ListItemFailed` is posted, or the owner is gone).
    std::unique_ptr<ListItemResult> OnProcess(int frameBudget, _LVItemData* row, bool walk,
                                              WorkerState& state);

    // Analyses the file at `path` into `result`; true when done, false when the file is not
    // audio or cannot be opened (then `ListItemFailed` for `result.row` is posted).
    // `frameBudget` 0 or less walks every frame.
    bool SetupItem(const std::string& path, const std::string& name, ListItemResult& result,
                   int frameBudget, bool walk, WorkerState& state);

  private:
    std::atomic<ListResultPoster*> poster_{nullptr};
    std::atomic<bool> monoQuality_{false};
    std::atomic<bool> readAllUnknown_{true};
    bool checkIntegrity_ = false;  // of the batch in hand; the worker's thread alone uses it
};

}  // namespace vornik
