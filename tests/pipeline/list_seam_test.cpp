// SPDX-License-Identifier: GPL-3.0-or-later
// The list and its real workers together, several of them, as the window drives them: values
// cross between the threads, so rows can be renamed, rescanned, refilled and stopped while
// the workers run. Run under ThreadSanitizer, any shared row would be reported here.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <deque>
#include <mutex>
#include <string>

#include "file_list_model.h"
#include "folder_lister.h"
#include "list_worker_message.h"
#include "list_workers.h"
#include "stream_builder.h"
#include "temp_folder.h"

namespace vornik {
namespace {

using namespace std::chrono_literals;

// The list's thread's queue, as the command line keeps it.
class ListQueue : public MessageQueueingPoster {
  public:
    // The next message, or none within `patience`.
    std::optional<ListWorkerMessage> Next(std::chrono::milliseconds patience = 10s) {
        std::unique_lock lock(mutex_);
        if (!arrived_.wait_for(lock, patience, [this] { return !messages_.empty(); })) {
            return std::nullopt;
        }
        ListWorkerMessage message = std::move(messages_.front());
        messages_.pop_front();
        return message;
    }

  private:
    void Queue(ListWorkerMessage message) override {
        const std::lock_guard lock(mutex_);
        messages_.push_back(std::move(message));
        arrived_.notify_all();
    }
    std::mutex mutex_;
    std::condition_variable arrived_;
    std::deque<ListWorkerMessage> messages_;
};

class ListSeamTest : public ::testing::Test {
  protected:
    ListSeamTest() {
        const std::vector<std::uint8_t> stream = test::StreamBuilder().frames({}, 300).data();
        for (int i = 0; i < kFiles; ++i) {
            test::WriteBytes(folder_ / ("f" + std::to_string(100 + i) + ".mp3"),
                             std::string(stream.begin(), stream.end()));
        }
    }

    // Hands the queued messages to the list until every row posted is answered.
    void Deliver() {
        while (model_.Awaited() > 0) {
            std::optional<ListWorkerMessage> message = queue_.Next();
            ASSERT_TRUE(message.has_value()) << model_.Awaited() << " rows never answered";
            Take(*message);
        }
    }
    void Take(ListWorkerMessage& message) {
        model_.ItemDone(std::move(message.result), message.lastOfBatch);
    }

    static constexpr int kFiles = 60;
    test::TempFolder folder_;
    ListQueue queue_;
    ListWorkers workers_{3, queue_};
    DiskFolderLister lister_;
    FileListObserver quiet_;
    FileListModel model_{workers_, lister_, quiet_};
};

// A complete scan of the first rows shown, while the fill goes on: every file still arrives.
TEST_F(ListSeamTest, CompleteScanDuringAFillLosesNothing) {
    ASSERT_TRUE(model_.LoadFolder(folder_.path().string(), true, false));
    while (model_.DisplayedCount() < 3) {
        std::optional<ListWorkerMessage> message = queue_.Next();
        ASSERT_TRUE(message.has_value());
        Take(*message);
    }
    std::vector<int> shown;
    for (int i = 0; i < model_.DisplayedCount(); ++i) {
        model_.Displayed(i).record.scanComplete = false;
        shown.push_back(i);
    }
    EXPECT_GT(model_.CompleteScan(shown), 0);
    Deliver();
    EXPECT_EQ(model_.DisplayedCount(), kFiles);
    EXPECT_EQ(model_.SummaryText().rfind("60 files, ", 0), 0u) << model_.SummaryText();
}

// Renaming shown rows while the workers rescan them: the workers read their own copies of the
// paths, so nothing is shared; the renamed rows keep their new names.
TEST_F(ListSeamTest, RenamesWhileWorkersRescanShareNothing) {
    ASSERT_TRUE(model_.LoadFolder(folder_.path().string(), true, false));
    Deliver();
    ASSERT_EQ(model_.DisplayedCount(), kFiles);
    for (int round = 0; round < 3; ++round) {
        std::vector<int> shown;
        for (int i = 0; i < model_.DisplayedCount(); ++i) {
            model_.Displayed(i).record.scanComplete = false;
            shown.push_back(i);
        }
        model_.CompleteScan(shown);
        for (int i = 0; i < model_.DisplayedCount(); i += 2) {
            const _LVItemData& row = model_.Displayed(i);
            const std::string name = "renamed-" + std::to_string(round) + "-" + row.fileName;
            ASSERT_EQ(std::rename(row.fullPath.c_str(), (row.Folder() + "/" + name).c_str()), 0);
            model_.RowRenamed(i, name);
        }
        if (round == 1) {
            model_.Stop();  // a stop in the middle drops what was still on its way
        }
        Deliver();
    }
    EXPECT_EQ(model_.DisplayedCount(), kFiles);
    int renamed = 0;
    for (int i = 0; i < model_.DisplayedCount(); ++i) {
        renamed += model_.Displayed(i).fileName.rfind("renamed-", 0) == 0 ? 1 : 0;
    }
    EXPECT_GE(renamed, kFiles / 2);
}

// Stopping while a worker is inside a long read returns at once; a refill right after is
// answered in full, and the stopped batch's late results change nothing.
TEST_F(ListSeamTest, StopReturnsAtOnceAndARefillIsAnsweredInFull) {
    ASSERT_TRUE(model_.LoadFolder(folder_.path().string(), true, true));
    const auto before = std::chrono::steady_clock::now();
    model_.Stop();
    EXPECT_LT(std::chrono::steady_clock::now() - before, 100ms);
    ASSERT_TRUE(model_.Refresh(false));
    Deliver();
    EXPECT_EQ(model_.DisplayedCount(), kFiles);
}

}  // namespace
}  // namespace vornik
