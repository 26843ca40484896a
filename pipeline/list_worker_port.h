// What the file list needs of its worker.
#pragma once

#include <memory>

#include "list_row.h"

namespace vornik {

// The list worker as the list sees it; the worker implements it, tests fake it. Called on the
// list's thread only.
//
// The list relies on two orderings: the worker processes batches one at a time in posting
// order, and the results it posts through its ListResultPoster reach the list in the order
// they were posted. Rows stay alive until a result of a later batch arrives, so a row that a
// stopped or superseded batch still names is never freed under the worker.
class ListWorkerPort {
  public:
    virtual ~ListWorkerPort() = default;

    // `WorkerProcess`: queues `request` behind the batches posted before it. The worker reads
    // only the rows' names and paths, fills its own copies of record and texts, and posts one
    // `ListItemDone` or `ListItemFailed` per row unless the batch is stopped.
    virtual void Post(std::unique_ptr<ListRequest> request) = 0;

    // Cancels the batch in progress at its next checkpoint and discards the queued ones; the
    // rows they name get no result. A worker that is idle may keep its queue: the list copes
    // with either, since it frees rows only as described above.
    virtual void StopProcessing() = 0;

    // The list's "monoquality" and "readallunknown" settings, passed on whenever they may have
    // changed; the worker applies them from its next row on.
    virtual void SetRowOptions(bool monoQuality, bool readAllUnknown) = 0;
};

}  // namespace vornik
