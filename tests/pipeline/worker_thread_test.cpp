#include "worker_thread.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <iterator>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "manual_reset_event.h"

namespace vornik {
namespace {

// Bounds for waits that normally end at once; only a broken worker reaches them.
constexpr int kPatienceMs = 10000;

using Strings = std::vector<std::string>;

// What the fake worker did, in order, and which jobs were freed ("freed <name>"), from
// whichever thread.
class Journal {
  public:
    void Add(const std::string& entry) {
        const std::lock_guard<std::mutex> lock(mutex_);
        entries_.push_back(entry);
        changed_.notify_all();
    }
    // Waits until `entry` has been added; false after kPatienceMs.
    bool WaitFor(const std::string& entry) {
        std::unique_lock<std::mutex> lock(mutex_);
        return changed_.wait_for(lock, std::chrono::milliseconds(kPatienceMs), [&] {
            return std::count(entries_.begin(), entries_.end(), entry) > 0;
        });
    }
    bool WasFreed(const std::string& name) {
        const std::lock_guard<std::mutex> lock(mutex_);
        return std::count(entries_.begin(), entries_.end(), "freed " + name) > 0;
    }
    // What the worker did: the entries but the "freed" ones.
    Strings Work() {
        const std::lock_guard<std::mutex> lock(mutex_);
        Strings work;
        std::copy_if(entries_.begin(), entries_.end(), std::back_inserter(work),
                     [](const std::string& e) { return e.rfind("freed ", 0) != 0; });
        return work;
    }

  private:
    std::mutex mutex_;
    std::condition_variable changed_;
    Strings entries_;
};

// A request of the fake worker; its journal learns when it is freed, wherever that is.
struct Job {
    enum class Kind {
        Quick,       // returns at once, noting a cancellation that is pending as it starts
        UntilAbort,  // a long scan: runs until the owner cancels it
        UntilGate,   // blocked until the test opens the gate, cancelled or not
        EndLoop,     // asks the loop to end
    };
    Job(std::string jobName, Kind jobKind, std::shared_ptr<Journal> jobJournal)
        : name(std::move(jobName)), kind(jobKind), journal(std::move(jobJournal)) {}
    ~Job() { journal->Add("freed " + name); }

    std::string name;
    Kind kind;
    std::shared_ptr<Journal> journal;
    std::shared_ptr<ManualResetEvent> gate = std::make_shared<ManualResetEvent>();
};

// Touches nothing of its own while a job runs, so that it may be destroyed under a blocked job.
class FakeWorker : public CThread<FakeWorker, Job> {
  public:
    explicit FakeWorker(bool start = true) {
        if (start) {
            Start();
        }
    }

    bool OnProcessMulti(std::unique_ptr<Job> job, WorkerState& state) {
        if (job == nullptr) {
            return true;
        }
        Journal& journal = *job->journal;
        journal.Add("begin " + job->name + (state.abort.IsSet() ? " (abort pending)" : ""));
        if (job->kind == Job::Kind::UntilAbort) {
            journal.Add(state.abort.Wait(kPatienceMs) ? "aborted " + job->name : "never aborted");
        } else if (job->kind == Job::Kind::UntilGate) {
            job->gate->Wait(kPatienceMs);
        }
        journal.Add("end " + job->name);
        return job->kind != Job::Kind::EndLoop;
    }

    std::shared_ptr<WorkerState> SharedState() const { return State(); }
};

class WorkerThreadTest : public ::testing::Test, public WorkerAlerts {
  protected:
    void Show(const std::string& text) override { alerts_.push_back(text); }

    std::unique_ptr<Job> MakeJob(const std::string& name, Job::Kind kind = Job::Kind::Quick) {
        return std::make_unique<Job>(name, kind, journal_);
    }

    std::shared_ptr<Journal> journal_ = std::make_shared<Journal>();
    Strings alerts_;  // the owner's thread only
};

// With nothing running there is nothing to cancel, and queued requests are none of the stop's
// business. (Requests can only wait in an idle worker's queue before its thread starts.)
TEST_F(WorkerThreadTest, StopWhileIdleKeepsTheQueue) {
    FakeWorker worker(/*start=*/false);
    worker.SetAlerts(this);
    EXPECT_TRUE(worker.IsIdle());
    EXPECT_FALSE(worker.IsRunning());
    ASSERT_TRUE(worker.PostThreadRequest(WorkerProcess, MakeJob("a")));
    ASSERT_TRUE(worker.PostThreadRequest(WorkerProcess, MakeJob("b")));
    worker.StopProcessing();
    EXPECT_FALSE(worker.SharedState()->abort.IsSet() || worker.SharedState()->flush.IsSet());

    worker.Start();
    EXPECT_TRUE(worker.IsRunning() && worker.SharedState()->started.IsSet());
    ASSERT_TRUE(journal_->WaitFor("end b"));
    EXPECT_EQ(journal_->Work(), (Strings{"begin a", "end a", "begin b", "end b"}));
    EXPECT_TRUE(alerts_.empty());
}

// Two requests wait behind one that runs until cancelled: the stop ends the running one and
// discards (and frees) the waiting ones, and the next request starts with no cancellation left
// over.
TEST_F(WorkerThreadTest, StopCancelsTheRunningRequestAndDiscardsTheQueue) {
    FakeWorker worker;
    worker.SetAlerts(this);
    ASSERT_TRUE(worker.PostThreadRequest(WorkerProcess, MakeJob("scan", Job::Kind::UntilAbort)));
    ASSERT_TRUE(worker.PostThreadRequest(WorkerProcess, MakeJob("queued1")));
    ASSERT_TRUE(worker.PostThreadRequest(WorkerProcess, MakeJob("queued2")));
    ASSERT_TRUE(journal_->WaitFor("begin scan"));

    worker.StopProcessing();
    EXPECT_TRUE(worker.IsIdle());
    EXPECT_FALSE(worker.SharedState()->flush.IsSet());
    EXPECT_TRUE(journal_->WasFreed("scan") && journal_->WasFreed("queued1") &&
                journal_->WasFreed("queued2"));
    ASSERT_TRUE(worker.PostThreadRequest(WorkerProcess, MakeJob("next")));
    ASSERT_TRUE(journal_->WaitFor("end next"));
    EXPECT_EQ(journal_->Work(),
              (Strings{"begin scan", "aborted scan", "end scan", "begin next", "end next"}));
    EXPECT_TRUE(alerts_.empty());
}

TEST_F(WorkerThreadTest, RequestPostedWhileProcessingRunsAfterwardsInOrder) {
    FakeWorker worker;
    auto first = MakeJob("first", Job::Kind::UntilGate);
    const auto gate = first->gate;
    ASSERT_TRUE(worker.PostThreadRequest(WorkerProcess, std::move(first)));
    ASSERT_TRUE(journal_->WaitFor("begin first"));
    EXPECT_FALSE(worker.IsIdle());
    ASSERT_TRUE(worker.PostThreadRequest(WorkerProcess, MakeJob("second")));
    ASSERT_TRUE(worker.PostThreadRequest(WorkerProcess, MakeJob("third")));
    gate->Set();
    ASSERT_TRUE(journal_->WaitFor("end third"));
    EXPECT_EQ(journal_->Work(), (Strings{"begin first", "end first", "begin second", "end second",
                                         "begin third", "end third"}));
}

// An unknown message is ignored (its request freed); a flush discards what waits behind it.
TEST_F(WorkerThreadTest, UnknownMessagesAreIgnoredAndFlushDiscardsWhatWaitsBehindIt) {
    FakeWorker worker(/*start=*/false);
    ASSERT_TRUE(worker.PostThreadRequest(WorkerProcess, MakeJob("before")));
    ASSERT_TRUE(worker.PostThreadRequest(0x7777, MakeJob("stray")));
    ASSERT_TRUE(worker.PostThreadRequest(WorkerFlush));
    ASSERT_TRUE(worker.PostThreadRequest(WorkerProcess, MakeJob("behind")));
    worker.Start();
    ASSERT_TRUE(journal_->WaitFor("freed behind"));
    ASSERT_TRUE(worker.PostThreadRequest(WorkerProcess, MakeJob("after")));
    ASSERT_TRUE(journal_->WaitFor("end after"));
    EXPECT_TRUE(journal_->WasFreed("stray"));
    EXPECT_EQ(journal_->Work(),
              (Strings{"begin before", "end before", "begin after", "end after"}));
}

// A quit message, or a request whose processing asks to end, ends the loop: what waits behind
// it is freed unprocessed, and later posts fail and free their request.
TEST_F(WorkerThreadTest, EndOfTheLoopDiscardsTheQueueAndLaterPostsFail) {
    for (const bool byQuit : {true, false}) {
        SCOPED_TRACE(byQuit ? "quit message" : "request that ends the loop");
        journal_ = std::make_shared<Journal>();
        FakeWorker worker(/*start=*/false);
        ASSERT_TRUE(
            byQuit ? worker.PostThreadRequest(WorkerQuit)
                   : worker.PostThreadRequest(WorkerProcess, MakeJob("last", Job::Kind::EndLoop)));
        ASSERT_TRUE(worker.PostThreadRequest(WorkerProcess, MakeJob("behind")));
        worker.Start();
        ASSERT_TRUE(worker.SharedState()->ended.Wait(kPatienceMs));
        EXPECT_FALSE(worker.IsRunning());
        EXPECT_TRUE(worker.IsIdle());
        EXPECT_TRUE(journal_->WasFreed("behind"));
        EXPECT_FALSE(worker.PostThreadRequest(WorkerProcess, MakeJob("late")));
        EXPECT_TRUE(journal_->WasFreed("late"));
        EXPECT_EQ(journal_->Work(), byQuit ? Strings{} : (Strings{"begin last", "end last"}));
    }
}

TEST_F(WorkerThreadTest, QuitOfAnIdleWorkerIsFastAndSilent) {
    FakeWorker worker;
    worker.SetAlerts(this);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(worker.Shutdown());
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(500));
    EXPECT_FALSE(worker.IsRunning());
    EXPECT_TRUE(alerts_.empty());
    EXPECT_TRUE(worker.Shutdown());  // nothing left to end
}

// The owner gives up after the join time-out, says so, and goes away; the thread finishes on
// its own later without running what waited behind the blocked request.
TEST_F(WorkerThreadTest, BlockedWorkerAtShutdownShowsTheBlockedMessage) {
    auto worker = std::make_unique<FakeWorker>();
    worker->SetAlerts(this);
    auto stuck = MakeJob("stuck", Job::Kind::UntilGate);
    const auto gate = stuck->gate;
    ASSERT_TRUE(worker->PostThreadRequest(WorkerProcess, std::move(stuck)));
    ASSERT_TRUE(worker->PostThreadRequest(WorkerProcess, MakeJob("behind")));
    ASSERT_TRUE(journal_->WaitFor("begin stuck"));
    const std::shared_ptr<WorkerState> state = worker->SharedState();

    const auto start = std::chrono::steady_clock::now();
    worker.reset();
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1000));
    EXPECT_EQ(alerts_, Strings{"List thread is blocked...\nThis is not normal behaviour! :("});
    EXPECT_TRUE(state->OwnerReleased());
    EXPECT_TRUE(state->abort.IsSet());  // a scan in progress would stop at its next check

    gate->Set();
    ASSERT_TRUE(state->ended.Wait(kPatienceMs));
    EXPECT_FALSE(state->running);
    EXPECT_TRUE(journal_->WasFreed("stuck") && journal_->WasFreed("behind"));
    EXPECT_EQ(journal_->Work(), (Strings{"begin stuck", "end stuck"}));
}

}  // namespace
}  // namespace vornik
