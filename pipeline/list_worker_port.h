// SPDX-License-Identifier: GPL-3.0-or-later
// What the file list needs of its worker.
#pragma once

#include <memory>

#include "list_row.h"

namespace vornik {

// The list worker as the list sees it; the worker implements it, tests fake it. Called on the
// list's thread only. Requests and results are values: the list finds a result's row by its id
// and drops a result whose row has gone or was posted again since, so it never depends on
// when a worker stops.
class ListWorkerPort {
  public:
    virtual ~ListWorkerPort() = default;

    // `WorkerProcess`: queues `request` behind the batches posted before it. The worker posts
    // one `ListItemDone` per row unless the batch is stopped.
    virtual void Post(std::unique_ptr<ListRequest> request) = 0;

    // Cancels the batch in progress at its next check and drops the queued ones; the rows they
    // name get no result. Returns at once.
    virtual void StopProcessing() = 0;
};

}  // namespace vornik
