// SPDX-License-Identifier: GPL-3.0-or-later
// Where a list worker's results go. The workers' jobs share it with the owner, who connects
// its poster and disconnects it before the poster goes: a job that finishes later (one left
// to end on its own after a blocked shutdown) posts into nothing.
#pragma once

#include <memory>
#include <mutex>

#include "list_row.h"

namespace vornik {

class ResultOutlet {
  public:
    explicit ResultOutlet(ListResultPoster* poster = nullptr) : poster_(poster) {}

    void Connect(ListResultPoster* poster) {
        const std::lock_guard lock(mutex_);
        poster_ = poster;
    }
    // Returns once no post is under way: the poster may go afterwards.
    void Disconnect() { Connect(nullptr); }

    void PostItemDone(std::unique_ptr<ListItemResult> result, bool lastOfBatch) {
        const std::lock_guard lock(mutex_);
        if (poster_ != nullptr) {
            poster_->PostItemDone(std::move(result), lastOfBatch);
        }
    }

  private:
    std::mutex mutex_;
    ListResultPoster* poster_;
};

}  // namespace vornik
