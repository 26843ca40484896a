// SPDX-License-Identifier: GPL-3.0-or-later
#include "list_workers.h"

#include <algorithm>
#include <chrono>
#include <system_error>

namespace vornik {

ListWorkers::ListWorkers(int count, ListResultPoster& poster)
    : outlet_(std::make_shared<ResultOutlet>(&poster)) {
    for (int i = 0; i < std::max(count, 1); ++i) {
        auto worker = std::make_unique<CListThread>(outlet_, /*start=*/false);
        try {
            worker->Start();
        } catch (const std::system_error& error) {
            // Out of threads (or of the user's process limit): later ones would fail too.
            startError_ = error.code().message();
            break;
        }
        workers_.push_back(std::move(worker));
    }
}

ListWorkers::~ListWorkers() {
    Shutdown();
}

void ListWorkers::Post(std::unique_ptr<ListRequest> request) {
    if (workers_.empty() || request == nullptr) {
        return;
    }
    if (workers_.size() == 1) {
        workers_.front()->Post(std::move(request));
        return;
    }
    std::vector<std::unique_ptr<ListRequest>> shares;
    for (std::size_t i = 0; i < workers_.size(); ++i) {
        auto share = std::make_unique<ListRequest>(*request);
        share->rows.clear();
        shares.push_back(std::move(share));
    }
    for (std::size_t i = 0; i < request->rows.size(); ++i) {
        shares[i % shares.size()]->rows.push_back(std::move(request->rows[i]));
    }
    for (std::size_t i = 0; i < workers_.size(); ++i) {
        workers_[i]->Post(std::move(shares[i]));
    }
}

void ListWorkers::StopProcessing() {
    for (const auto& worker : workers_) {
        worker->StopProcessing();
    }
}

void ListWorkers::SetAlerts(WorkerAlerts* alerts) {
    for (const auto& worker : workers_) {
        worker->SetAlerts(alerts);
    }
}

bool ListWorkers::Shutdown() {
    StopProcessing();
    // From here on nothing reaches the poster, whatever a worker still does.
    outlet_->Disconnect();
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(1);
    bool ended = true;
    for (const auto& worker : workers_) {
        ended = worker->Shutdown(deadline) && ended;
    }
    return ended;
}

}  // namespace vornik
