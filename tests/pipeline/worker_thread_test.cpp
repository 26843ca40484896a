#include "worker_thread.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "manual_reset_event.h"

namespace vornik {
namespace {

// Bounds for waits that normally end at once; only a broken worker reaches them.
constexpr int kPatienceMs = 10000;

// What the fake worker did, in order, from whichever thread did it.
class Journal {
  public:
    void Add(const std::string& entry) {
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            entries_.push_back(entry);
        }
        changed_.notify_all();
    }

    // Waits until `entry` has been written; false after kPatienceMs.
    bool WaitFor(const std::string& entry) {
        std::unique_lock<std::mutex> lock(mutex_);
        return changed_.wait_for(lock, std::chrono::milliseconds(kPatienceMs), [&] {
            for (const std::string& e : entries_) {
                if (e == entry) {
                    return true;
                }
            }
            return false;
        });
    }

    std::vector<std::string> Entries() const {
        const std::lock_guard<std::mutex> lock(mutex_);
        return entries_;
    }

  private:
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::string> entries_;
};

// A request of the fake worker; it writes "freed <name>" when it is destroyed, wherever that is.
struct Job {
    enum class Kind {
        Quick,        // returns at once
        UntilAbort,   // a long scan: runs until the owner cancels it
        UntilGate,    // blocked until the test opens the gate, cancelled or not
        ReportAbort,  // notes whether a cancellation is pending as it starts
        EndLoop,      // asks the loop to end
    };

    Job(std::string jobName, Kind jobKind, std::shared_ptr<Journal> jobJournal)
        : name(std::move(jobName)), kind(jobKind), journal(std::move(jobJournal)) {}
    ~Job() { journal->Add("freed " + name); }

    std::string name;
    Kind kind;
    std::shared_ptr<Journal> journal;
    std::shared_ptr<ManualResetEvent> gate;
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
        journal.Add("begin " + job->name);
        switch (job->kind) {
            case Job::Kind::Quick:
            case Job::Kind::EndLoop:
                break;
            case Job::Kind::UntilAbort:
                journal.Add(state.abort.Wait(kPatienceMs) ? "aborted " + job->name
                                                          : "never aborted " + job->name);
                break;
            case Job::Kind::UntilGate:
                job->gate->Wait(kPatienceMs);
                break;
            case Job::Kind::ReportAbort:
                journal.Add(state.abort.IsSet() ? "abort pending" : "no abort pending");
                break;
        }
        journal.Add("end " + job->name);
        return job->kind != Job::Kind::EndLoop;
    }

    std::shared_ptr<WorkerState> SharedState() const { return State(); }
};

class AlertRecorder : public WorkerAlerts {
  public:
    void Show(const std::string& text) override { texts.push_back(text); }
    std::vector<std::string> texts;  // the owner's thread only
};

class WorkerThreadTest : public ::testing::Test {
  protected:
    std::unique_ptr<Job> MakeJob(const std::string& name, Job::Kind kind = Job::Kind::Quick) {
        return std::make_unique<Job>(name, kind, journal_);
    }

    // Entries without the "freed" lines: what the worker did.
    std::vector<std::string> Work() const {
        std::vector<std::string> work;
        for (const std::string& entry : journal_->Entries()) {
            if (entry.rfind("freed ", 0) != 0) {
                work.push_back(entry);
            }
        }
        return work;
    }

    bool Has(const std::string& entry) const {
        for (const std::string& e : journal_->Entries()) {
            if (e == entry) {
                return true;
            }
        }
        return false;
    }

    std::shared_ptr<Journal> journal_ = std::make_shared<Journal>();
    AlertRecorder alerts_;
};

using Strings = std::vector<std::string>;

TEST(ManualResetEvent, StaysSetUntilReset) {
    ManualResetEvent event;
    EXPECT_FALSE(event.IsSet());
    EXPECT_FALSE(event.Wait(0));
    event.Set();
    EXPECT_TRUE(event.Wait(0));
    EXPECT_TRUE(event.Wait(0));  // waiting does not consume it
    event.Reset();
    EXPECT_FALSE(event.Wait(1));
    EXPECT_TRUE(ManualResetEvent(/*initiallySet=*/true).IsSet());
}

TEST(ManualResetEvent, SetWakesEveryWaiter) {
    ManualResetEvent event;
    bool woken[2] = {false, false};
    std::thread first([&] { woken[0] = event.Wait(kPatienceMs); });
    std::thread second([&] { woken[1] = event.Wait(kPatienceMs); });
    event.Set();
    first.join();
    second.join();
    EXPECT_TRUE(woken[0]);
    EXPECT_TRUE(woken[1]);
}

TEST_F(WorkerThreadTest, EventsStartIdleAndNotRunning) {
    FakeWorker worker(/*start=*/false);
    EXPECT_TRUE(worker.IsIdle());
    EXPECT_FALSE(worker.IsRunning());
    EXPECT_EQ(worker.JoinTimeoutMs(), 1000);
    const auto state = worker.SharedState();
    EXPECT_FALSE(state->abort.IsSet());
    EXPECT_FALSE(state->flush.IsSet());
    EXPECT_FALSE(state->ended.IsSet());
    EXPECT_FALSE(state->started.IsSet());

    worker.Start();
    EXPECT_TRUE(state->started.IsSet());
    EXPECT_TRUE(worker.IsRunning());
}

// With nothing running there is nothing to cancel, and queued requests are none of the stop's
// business. (Requests can only wait in an idle worker's queue before its thread starts.)
TEST_F(WorkerThreadTest, StopWhileIdleKeepsTheQueue) {
    FakeWorker worker(/*start=*/false);
    worker.SetAlerts(&alerts_);
    ASSERT_TRUE(worker.PostThreadRequest(WorkerProcess, MakeJob("a")));
    ASSERT_TRUE(worker.PostThreadRequest(WorkerProcess, MakeJob("b")));
    worker.StopProcessing();
    EXPECT_FALSE(worker.SharedState()->abort.IsSet());
    EXPECT_FALSE(worker.SharedState()->flush.IsSet());

    worker.Start();
    ASSERT_TRUE(journal_->WaitFor("end b"));
    EXPECT_EQ(Work(), (Strings{"begin a", "end a", "begin b", "end b"}));
    EXPECT_TRUE(alerts_.texts.empty());
}

// Two requests wait behind one that runs until cancelled: the stop ends the running one and
// discards (and frees) the waiting ones, and the next request starts with no cancellation left
// over.
TEST_F(WorkerThreadTest, StopCancelsTheRunningRequestAndDiscardsTheQueue) {
    FakeWorker worker;
    worker.SetAlerts(&alerts_);
    ASSERT_TRUE(worker.PostThreadRequest(WorkerProcess, MakeJob("scan", Job::Kind::UntilAbort)));
    ASSERT_TRUE(worker.PostThreadRequest(WorkerProcess, MakeJob("queued1")));
    ASSERT_TRUE(worker.PostThreadRequest(WorkerProcess, MakeJob("queued2")));
    ASSERT_TRUE(journal_->WaitFor("begin scan"));

    worker.StopProcessing();
    EXPECT_TRUE(worker.IsIdle());
    EXPECT_EQ(Work(), (Strings{"begin scan", "aborted scan", "end scan"}));
    EXPECT_TRUE(Has("freed scan"));
    EXPECT_TRUE(Has("freed queued1"));
    EXPECT_TRUE(Has("freed queued2"));
    EXPECT_FALSE(worker.SharedState()->flush.IsSet());

    ASSERT_TRUE(worker.PostThreadRequest(WorkerProcess, MakeJob("next", Job::Kind::ReportAbort)));
    ASSERT_TRUE(journal_->WaitFor("end next"));
    EXPECT_TRUE(Has("no abort pending"));
    EXPECT_FALSE(Has("begin queued1"));
    EXPECT_FALSE(Has("begin queued2"));
    EXPECT_TRUE(alerts_.texts.empty());
}

TEST_F(WorkerThreadTest, RequestPostedWhileProcessingRunsAfterwardsInOrder) {
    FakeWorker worker;
    auto blocked = MakeJob("first", Job::Kind::UntilGate);
    const auto gate = std::make_shared<ManualResetEvent>();
    blocked->gate = gate;
    ASSERT_TRUE(worker.PostThreadRequest(WorkerProcess, std::move(blocked)));
    ASSERT_TRUE(journal_->WaitFor("begin first"));
    EXPECT_FALSE(worker.IsIdle());

    ASSERT_TRUE(worker.PostThreadRequest(WorkerProcess, MakeJob("second")));
    ASSERT_TRUE(worker.PostThreadRequest(WorkerProcess, MakeJob("third")));
    gate->Set();
    ASSERT_TRUE(journal_->WaitFor("end third"));
    EXPECT_EQ(Work(), (Strings{"begin first", "end first", "begin second", "end second",
                               "begin third", "end third"}));
}

TEST_F(WorkerThreadTest, FlushDiscardsWhatWaitsBehindIt) {
    FakeWorker worker(/*start=*/false);
    ASSERT_TRUE(worker.PostThreadRequest(WorkerProcess, MakeJob("before")));
    ASSERT_TRUE(worker.PostThreadRequest(WorkerFlush));
    ASSERT_TRUE(worker.PostThreadRequest(WorkerProcess, MakeJob("behind")));
    worker.Start();
    ASSERT_TRUE(journal_->WaitFor("freed behind"));
    ASSERT_TRUE(worker.PostThreadRequest(WorkerProcess, MakeJob("after")));
    ASSERT_TRUE(journal_->WaitFor("end after"));
    EXPECT_EQ(Work(), (Strings{"begin before", "end before", "begin after", "end after"}));
}

TEST_F(WorkerThreadTest, QuitDiscardsWhatWaitsBehindItAndLaterPostsFail) {
    FakeWorker worker(/*start=*/false);
    ASSERT_TRUE(worker.PostThreadRequest(WorkerQuit));
    ASSERT_TRUE(worker.PostThreadRequest(WorkerProcess, MakeJob("behind")));
    worker.Start();
    ASSERT_TRUE(worker.SharedState()->ended.Wait(kPatienceMs));
    EXPECT_FALSE(worker.IsRunning());
    EXPECT_TRUE(Has("freed behind"));

    EXPECT_FALSE(worker.PostThreadRequest(WorkerProcess, MakeJob("late")));
    EXPECT_TRUE(Has("freed late"));
    EXPECT_TRUE(Work().empty());
}

TEST_F(WorkerThreadTest, RequestThatAsksToEndStopsTheLoop) {
    FakeWorker worker;
    ASSERT_TRUE(worker.PostThreadRequest(WorkerProcess, MakeJob("last", Job::Kind::EndLoop)));
    ASSERT_TRUE(worker.SharedState()->ended.Wait(kPatienceMs));
    EXPECT_FALSE(worker.IsRunning());
    EXPECT_TRUE(worker.IsIdle());
    EXPECT_EQ(Work(), (Strings{"begin last", "end last"}));
}

TEST_F(WorkerThreadTest, UnknownMessagesAreIgnoredAndTheirRequestsFreed) {
    FakeWorker worker;
    ASSERT_TRUE(worker.PostThreadRequest(0x7777, MakeJob("stray")));
    ASSERT_TRUE(worker.PostThreadRequest(WorkerProcess, MakeJob("real")));
    ASSERT_TRUE(journal_->WaitFor("end real"));
    EXPECT_TRUE(Has("freed stray"));
    EXPECT_EQ(Work(), (Strings{"begin real", "end real"}));
}

TEST_F(WorkerThreadTest, QuitOfAnIdleWorkerIsFastAndSilent) {
    FakeWorker worker;
    worker.SetAlerts(&alerts_);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(worker.Shutdown());
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_LT(elapsed, std::chrono::milliseconds(500));
    EXPECT_FALSE(worker.IsRunning());
    EXPECT_TRUE(alerts_.texts.empty());
    EXPECT_TRUE(worker.Shutdown());  // nothing left to end
}

// The owner gives up after the join time-out, says so, and goes away; the thread finishes on
// its own later without running what waited behind the blocked request.
TEST_F(WorkerThreadTest, BlockedWorkerAtShutdownShowsTheBlockedMessage) {
    auto worker = std::make_unique<FakeWorker>();
    worker->SetAlerts(&alerts_);
    auto blocked = MakeJob("stuck", Job::Kind::UntilGate);
    const auto gate = std::make_shared<ManualResetEvent>();
    blocked->gate = gate;
    ASSERT_TRUE(worker->PostThreadRequest(WorkerProcess, std::move(blocked)));
    ASSERT_TRUE(worker->PostThreadRequest(WorkerProcess, MakeJob("behind")));
    ASSERT_TRUE(journal_->WaitFor("begin stuck"));
    const std::shared_ptr<WorkerState> state = worker->SharedState();

    const auto start = std::chrono::steady_clock::now();
    worker.reset();
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1000));
    EXPECT_EQ(alerts_.texts,
              Strings{"List thread is blocked...\nThis is not normal behaviour! :("});
    EXPECT_TRUE(state->OwnerReleased());
    EXPECT_TRUE(state->abort.IsSet());  // a scan in progress would stop at its next check

    gate->Set();
    ASSERT_TRUE(state->ended.Wait(kPatienceMs));
    EXPECT_FALSE(state->running);
    EXPECT_TRUE(Has("freed stuck"));
    EXPECT_TRUE(Has("freed behind"));
    EXPECT_FALSE(Has("begin behind"));
}

TEST_F(WorkerThreadTest, RequestsOfAWorkerNeverStartedAreFreed) {
    {
        FakeWorker worker(/*start=*/false);
        ASSERT_TRUE(worker.PostThreadRequest(WorkerProcess, MakeJob("never")));
    }
    EXPECT_TRUE(Has("freed never"));
    EXPECT_TRUE(Work().empty());
}

}  // namespace
}  // namespace vornik
