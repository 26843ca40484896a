// SPDX-License-Identifier: GPL-3.0-or-later
// The worker thread: jobs in posting order, a stop that never waits and reaches the running
// job through its token, and a shutdown bounded in time even when a job is stuck.
#include "worker_thread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

namespace vornik {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// A gate a job waits at, opened by the test; the job also sees its stop token while it waits,
// as the engine's progress checks do.
class Gate {
  public:
    // Waits until opened, or until `stop` is raised when `leaveOnStop`; true when opened.
    bool Pass(const StopToken& stop, bool leaveOnStop) {
        std::unique_lock lock(mutex_);
        reached_ = true;
        changed_.notify_all();
        while (!open_) {
            if (leaveOnStop && stop.StopRequested()) {
                return false;
            }
            changed_.wait_for(lock, 1ms);
        }
        return true;
    }
    void WaitReached() {
        std::unique_lock lock(mutex_);
        ASSERT_TRUE(changed_.wait_for(lock, 10s, [this] { return reached_; }));
    }
    void Open() {
        const std::lock_guard lock(mutex_);
        open_ = true;
        changed_.notify_all();
    }

  private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool reached_ = false;
    bool open_ = false;
};

struct Recorder {
    void Add(const std::string& line) {
        const std::lock_guard lock(mutex);
        lines.push_back(line);
        changed.notify_all();
    }
    std::vector<std::string> WaitFor(std::size_t count) {
        std::unique_lock lock(mutex);
        changed.wait_for(lock, 10s, [&] { return lines.size() >= count; });
        return lines;
    }
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<std::string> lines;
};

struct Alerts : WorkerAlerts {
    void Show(const std::string& text) override { shown.push_back(text); }
    std::vector<std::string> shown;
};

TEST(WorkerThread, RunsJobsInPostingOrder) {
    Recorder recorder;
    WorkerThread worker;
    worker.Start();
    for (const char* name : {"a", "b", "c"}) {
        worker.Post([&recorder, name](const StopToken&) { recorder.Add(name); });
    }
    EXPECT_EQ(recorder.WaitFor(3), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_TRUE(worker.Shutdown());
    EXPECT_FALSE(worker.Post([](const StopToken&) {}));
}

// A stop returns at once even while the running job cannot notice it (a slow read); the job's
// token is raised, the jobs queued before the stop are dropped, and jobs posted after it run.
TEST(WorkerThread, StopNeverWaitsForTheWorker) {
    Recorder recorder;
    Gate stuck;
    WorkerThread worker;
    worker.Start();
    std::atomic<bool> sawStop{false};
    worker.Post([&](const StopToken& stop) {
        stuck.Pass(stop, /*leaveOnStop=*/false);  // deaf to the stop until the gate opens
        sawStop = stop.StopRequested();
        recorder.Add("stuck job ends");
    });
    worker.Post([&](const StopToken&) { recorder.Add("queued before the stop"); });
    stuck.WaitReached();

    const Clock::time_point before = Clock::now();
    worker.StopProcessing();
    EXPECT_LT(Clock::now() - before, 100ms);
    worker.Post([&](const StopToken& stop) {
        recorder.Add(stop.StopRequested() ? "new job stopped" : "new job runs");
    });
    EXPECT_FALSE(worker.IsIdle());
    stuck.Open();
    EXPECT_EQ(recorder.WaitFor(2), (std::vector<std::string>{"stuck job ends", "new job runs"}));
    EXPECT_TRUE(sawStop);
}

// Shutdown waits until its deadline at most; a job that is stuck is left to end on its own,
// and the user hears of it.
TEST(WorkerThread, ShutdownIsBoundedAndLeavesAStuckJobBehind) {
    auto stuck = std::make_shared<Gate>();
    Alerts alerts;
    {
        WorkerThread worker;
        worker.SetAlerts(&alerts);
        worker.Start();
        worker.Post([stuck](const StopToken& stop) { stuck->Pass(stop, false); });
        stuck->WaitReached();
        const Clock::time_point before = Clock::now();
        EXPECT_FALSE(worker.Shutdown(Clock::now() + 50ms));
        EXPECT_LT(Clock::now() - before, 1s);
    }
    EXPECT_EQ(alerts.shown, (std::vector<std::string>{kWorkerBlockedMessage}));
    stuck->Open();  // the thread ends on its own; it holds the gate and its own queue

    // A job that listens to its token ends with the shutdown.
    Gate listening;
    WorkerThread worker;
    worker.Start();
    worker.Post([&](const StopToken& stop) { listening.Pass(stop, /*leaveOnStop=*/true); });
    listening.WaitReached();
    EXPECT_TRUE(worker.Shutdown());
}

}  // namespace
}  // namespace vornik
