// SPDX-License-Identifier: GPL-3.0-or-later
#include "list_thread.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <future>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "log.h"
#include "mp3_file.h"
#include "scan_error.h"
#include "stream_builder.h"

namespace vornik {
namespace {

using test::StreamBuilder;
using test::TempFile;
using Strings = std::vector<std::string>;

// Bounds for waits that normally end at once; only a broken worker reaches them.
constexpr int kPatienceMs = 10000;

// The rows of these tests: the id names the file, the generation the batch.
std::map<std::uint64_t, std::string>& RowNames() {
    static std::map<std::uint64_t, std::string> names;
    return names;
}

// Keeps what the worker posts, each message described as "<row> failed" or
// "<row> done #<generation>[ last]: <name text>, <frames text>, <file size>", and the results.
class RecordingPoster : public ListResultPoster {
  public:
    void PostItemDone(std::unique_ptr<ListItemResult> r, bool lastOfBatch) override {
        std::string message =
            RowNames()[r->ref.id] + " done #" + std::to_string(r->ref.generation) +
            (lastOfBatch ? " last: " : ": ") + std::string(r->texts[kSlotName]) + ", " +
            std::string(r->texts[kSlotFrames]) + ", " + std::to_string(r->record.fileSize);
        Add(std::move(message), std::move(r));
    }

    // Waits for the result of the row named "marker"; then hands over the messages before it
    // and their results.
    Strings TakeUntilMarker(std::vector<std::unique_ptr<ListItemResult>>& results) {
        std::unique_lock<std::mutex> lock(mutex_);
        const auto marked = [this] {
            return !messages_.empty() && messages_.back().rfind("marker done", 0) == 0;
        };
        EXPECT_TRUE(changed_.wait_for(lock, std::chrono::milliseconds(kPatienceMs), marked))
            << "the marker was not reported";
        const bool marker = marked();
        Strings taken = std::exchange(messages_, {});
        results = std::exchange(results_, {});
        if (marker) {
            taken.pop_back();
            results.pop_back();
        }
        return taken;
    }

  private:
    void Add(std::string message, std::unique_ptr<ListItemResult> result) {
        const std::lock_guard<std::mutex> lock(mutex_);
        messages_.push_back(std::move(message));
        if (result != nullptr) {
            results_.push_back(std::move(result));
        }
        changed_.notify_all();
    }
    std::mutex mutex_;
    std::condition_variable changed_;
    Strings messages_;
    std::vector<std::unique_ptr<ListItemResult>> results_;
};

// Installed for its lifetime: keeps the log's lines and shows each to `hook` on the logging
// thread.
class TestLog : public LogSink {
  public:
    explicit TestLog(std::function<void(const std::string&)> hook = {}) : hook_(std::move(hook)) {
        SetLogSink(this);
    }
    ~TestLog() override { SetLogSink(nullptr); }
    void Line(const std::string& text) override {
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            lines_.push_back(text);
        }
        if (hook_) {
            hook_(text);
        }
    }
    Strings Lines() const {
        const std::lock_guard<std::mutex> lock(mutex_);
        return lines_;
    }

  private:
    std::function<void(const std::string&)> hook_;
    mutable std::mutex mutex_;
    Strings lines_;
};

// Plain stereo frames, which the statistics attribute to an encoder at once.
std::vector<std::uint8_t> KnownEncoderFrames(int count) {
    return StreamBuilder().frames({}, count).data();
}

ListRowRequest MakeRow(const TempFile& file, const std::string& name) {
    static std::uint64_t lastId = 0;
    ListRowRequest row{{++lastId, 0}, file.path(), name};
    RowNames()[row.ref.id] = name;
    return row;
}

class ListThreadTest : public ::testing::Test {
  protected:
    ListThreadTest() : marker_(KnownEncoderFrames(20)), markerRow_(MakeRow(marker_, "marker")) {}

    void Post(std::vector<ListRowRequest> rows, std::uint32_t generation, int frameBudget = 1000,
              bool walk = true) {
        auto request = std::make_unique<ListRequest>();
        for (ListRowRequest& row : rows) {
            row.ref.generation = generation;
        }
        request->rows = std::move(rows);
        request->frameBudget = frameBudget;
        request->walk = walk;
        request->monoQuality = monoQuality_;
        request->readAllUnknown = readAllUnknown_;
        worker_.Post(std::move(request));
    }

    // Everything the worker posted for the requests so far, in order; their results go to
    // results_.
    Strings Drain() {
        Post({markerRow_}, 1);
        return poster_.TakeUntilMarker(results_);
    }

    // The result of one row analysed alone.
    std::unique_ptr<ListItemResult> AnalyseAlone(const ListRowRequest& row, int frameBudget,
                                                 bool walk = true) {
        Post({row}, 1, frameBudget, walk);
        EXPECT_EQ(Drain().size(), 1u);
        return results_.size() == 1 ? std::move(results_[0]) : std::make_unique<ListItemResult>();
    }

    RecordingPoster poster_;
    std::vector<std::unique_ptr<ListItemResult>> results_;
    TempFile marker_;
    ListRowRequest markerRow_;
    bool monoQuality_ = false;
    bool readAllUnknown_ = true;
    std::shared_ptr<ResultOutlet> outlet_ = std::make_shared<ResultOutlet>(&poster_);
    CListThread worker_{outlet_};  // last: it goes first
};

// Each row's message in order, a file without audio's where it stands (with no frames and
// no size), the last row's with the last-of-batch mark. Empty and null requests post nothing.
TEST_F(ListThreadTest, BatchWithAFailingFilePostsItsMessagesInOrder) {
    const TempFile good(KnownEncoderFrames(40));
    const TempFile bad(std::vector<std::uint8_t>(5000, 'x'));
    const auto a = MakeRow(good, "a.mp3");
    const auto b = MakeRow(bad, "b.mp3");
    const auto c = MakeRow(good, "c.mp3");
    Post({}, 3);
    worker_.Post(nullptr);
    Post({a, b, c}, 7);
    Post({a, b}, 200);

    const std::string size = std::to_string(KnownEncoderFrames(40).size());
    EXPECT_EQ(Drain(),
              (Strings{"a.mp3 done #7: a.mp3, 39, " + size, "b.mp3 done #7: b.mp3, , 0",
                       "c.mp3 done #7 last: c.mp3, 39, " + size,
                       "a.mp3 done #200: a.mp3, 39, " + size, "b.mp3 done #200 last: b.mp3, , 0"}));
}

// The budget travels whole (65546 frames cut to 16 bits would be a budget of 10), 0 or less
// means every frame, and without the walk no frame is read.
TEST_F(ListThreadTest, FrameBudgetAndWalkFlagReachTheAnalysis) {
    const TempFile file(KnownEncoderFrames(100));
    const auto row = MakeRow(file, "song.mp3");
    EXPECT_EQ(AnalyseAlone(row, 10)->texts[kSlotFrames], "10+");
    EXPECT_EQ(AnalyseAlone(row, 0)->texts[kSlotFrames], "99");
    EXPECT_EQ(AnalyseAlone(row, 65536 + 10)->texts[kSlotFrames], "99");
    EXPECT_EQ(AnalyseAlone(row, -5)->texts[kSlotFrames], "99");
    EXPECT_EQ(AnalyseAlone(row, 0, /*walk=*/false)->record.frameCount, 0);
}

TEST_F(ListThreadTest, SettingsReachTheNextBatch) {
    // Joint stereo, every frame mid/side, no short blocks: the statistics name no encoder.
    const TempFile unknown(
        StreamBuilder().frames({.mode = 1, .modeExtension = 2, .granules = {}}, 50).data());
    const auto row = MakeRow(unknown, "unknown.mp3");
    readAllUnknown_ = false;
    EXPECT_EQ(AnalyseAlone(row, 10)->texts[kSlotFrames], "10+");
    readAllUnknown_ = true;
    EXPECT_EQ(AnalyseAlone(row, 10)->texts[kSlotFrames], "49");

    // 96 kbps mono: bad as it stands, not bad when mono files count double.
    const TempFile monoFile(
        StreamBuilder().frames({.kbps = 96, .mode = 3, .granules = {}}, 50).data());
    const auto monoRow = MakeRow(monoFile, "mono.mp3");
    EXPECT_EQ(AnalyseAlone(monoRow, 1000)->record.qualityFigure, 0);
    monoQuality_ = true;
    EXPECT_EQ(AnalyseAlone(monoRow, 1000)->record.qualityFigure, 1);
}

TEST_F(ListThreadTest, ResultsWhileThereIsNoPosterAreDropped) {
    const TempFile good(KnownEncoderFrames(20));
    const TempFile bad(std::vector<std::uint8_t>(5000, 'x'));
    const auto a = MakeRow(good, "a.mp3");
    const auto b = MakeRow(bad, "b.mp3");
    outlet_->Disconnect();
    // The poster comes back as the second batch, the marker, starts.
    const TestLog log([this, batches = 0](const std::string& line) mutable {
        if (line == "CListThread::OnProcessMulti" && ++batches == 2) {
            outlet_->Connect(&poster_);
        }
    });
    Post({a, b}, 5);
    EXPECT_TRUE(Drain().empty());
}

// A stream behind more than the sync search's megabyte of zeros passes the quick test, which
// probes the middle, but the engine finds no frame from the start: the row is reported with
// "--" texts and the log says why.
TEST_F(ListThreadTest, EngineErrorIsReportedDoneWithDashesAndLogged) {
    const TempFile file(StreamBuilder().junk(1100000).frames({}, 3000).data());
    const auto row = MakeRow(file, "free.mp3");
    const TestLog log;
    Post({row}, 1);
    const Strings messages = Drain();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].rfind("free.mp3 done #1 last: ", 0), 0u) << messages[0];
    ASSERT_EQ(results_.size(), 1u);
    const ListItemResult& result = *results_[0];
    EXPECT_EQ(result.texts[kSlotName], "free.mp3");
    EXPECT_EQ(result.texts[kSlotEncoder], "--");
    EXPECT_EQ(result.texts[kSlotQuality], "Unknown");
    EXPECT_EQ(result.record.duration, 0.0f);

    const Strings expected{
        "CListThread::OnProcessMulti",
        "CListThread::OnProcess",
        "CListThread::OnProcess " + file.path(),
        "CListThread::DoProcess",
        std::string("CListThread::SetupItem exception in CMp3File::ProcessFrames ") +
            kNoHeaderMessage,
        "CListThread::OnProcess unspecified exception ",
        "CListThread::OnProcessMulti posting message ",
    };
    const Strings lines = log.Lines();
    ASSERT_GE(lines.size(), expected.size());
    EXPECT_EQ(Strings(lines.begin(), lines.begin() + 7), expected);
}

TEST_F(ListThreadTest, StopDuringALongScanEndsTheBatchAndDiscardsTheQueue) {
    // 50000 small frames: long enough that the scan meets progress checks.
    const TempFile big(StreamBuilder()
                           .frames({.version = test::Version::Mpeg25,
                                    .kbps = 8,
                                    .sampleRate = 8000,
                                    .mode = 3,
                                    .granules = {}},
                                   50000)
                           .data());
    const TempFile file(KnownEncoderFrames(20));
    const auto r0 = MakeRow(file, "a.mp3");
    const auto r1 = MakeRow(file, "b.mp3");
    const auto r2 = MakeRow(big, "big.mp3");
    const auto r3 = MakeRow(file, "after.mp3");
    const auto queued = MakeRow(file, "queued.mp3");

    // Holds the worker at the start of the big row until the owner has stopped it, so that
    // the stop lands while that row is being analysed whatever the machine's speed.
    std::promise<void> reached;
    std::promise<void> stopped;
    std::shared_future<void> stoppedFuture = stopped.get_future().share();
    const TestLog log([&](const std::string& line) {
        if (line == "CListThread::OnProcess " + big.path()) {
            reached.set_value();
            stoppedFuture.wait();
        }
    });
    Post({r0, r1, r2, r3}, 1, 0);
    Post({queued}, 2);
    ASSERT_EQ(reached.get_future().wait_for(std::chrono::milliseconds(kPatienceMs)),
              std::future_status::ready);
    worker_.StopProcessing();  // returns at once: the worker is held inside the row
    stopped.set_value();
    const std::string size = std::to_string(KnownEncoderFrames(20).size());
    EXPECT_EQ(Drain(),
              (Strings{"a.mp3 done #1: a.mp3, 19, " + size, "b.mp3 done #1: b.mp3, 19, " + size}));
}

// The scan itself ends at the first progress check once the stop token is raised.
TEST(ListThreadHelper, AnswersStopOnceTheTokenIsRaised) {
    const TempFile file(KnownEncoderFrames(5000));
    WorkerThread worker;
    worker.Start();
    for (const bool aborted : {false, true}) {
        std::promise<StopToken> token;
        worker.Post([&token](const StopToken& stop) { token.set_value(stop); });
        const StopToken stop = token.get_future().get();
        if (aborted) {
            worker.StopProcessing();
        }
        CListThread::thread_helper helper(stop);
        Mp3Info record{};
        CMp3File scan;
        ASSERT_TRUE(scan.Open(file.path()));
        ASSERT_TRUE(scan.ProcessFrames(true, record, -1, nullptr, &helper));
        EXPECT_EQ(record.frameCount, aborted ? CMp3File::kProgressInterval : 4999);
        EXPECT_EQ(record.scanComplete, !aborted);
    }
}

}  // namespace
}  // namespace vornik
