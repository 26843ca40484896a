#include "list_workers.h"

#include <algorithm>
#include <system_error>

#include "worker_thread.h"

namespace vornik {

ListWorkers::ListWorkers(int count, ListResultPoster& poster) {
    for (int i = 0; i < std::max(count, 1); ++i) {
        auto worker = std::make_unique<CListThread>(/*start=*/false);
        worker->SetPoster(&poster);
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
    if (workers_.empty()) {
        return;
    }
    if (workers_.size() == 1) {
        workers_.front()->PostThreadRequest(WorkerProcess, std::move(request));
        return;
    }
    std::vector<std::unique_ptr<ListRequest>> shares;
    for (std::size_t i = 0; i < workers_.size(); ++i) {
        auto share = std::make_unique<ListRequest>();
        share->frameBudget = request->frameBudget;
        share->sequence = request->sequence;
        share->walk = request->walk;
        share->checkIntegrity = request->checkIntegrity;
        shares.push_back(std::move(share));
    }
    for (std::size_t i = 0; i < request->rows.size(); ++i) {
        shares[i % shares.size()]->rows.push_back(request->rows[i]);
    }
    for (std::size_t i = 0; i < workers_.size(); ++i) {
        workers_[i]->PostThreadRequest(WorkerProcess, std::move(shares[i]));
    }
}

void ListWorkers::StopProcessing() {
    for (const auto& worker : workers_) {
        worker->StopProcessing();
    }
}

void ListWorkers::SetRowOptions(bool monoQuality, bool readAllUnknown) {
    for (const auto& worker : workers_) {
        worker->SetMonoQuality(monoQuality);
        worker->SetReadAllUnknown(readAllUnknown);
    }
}

void ListWorkers::SetAlerts(WorkerAlerts* alerts) {
    for (const auto& worker : workers_) {
        worker->SetAlerts(alerts);
    }
}

bool ListWorkers::Shutdown() {
    bool ended = true;
    for (const auto& worker : workers_) {
        ended = worker->Shutdown() && ended;
    }
    return ended;
}

}  // namespace vornik
