#include "list_thread.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "log.h"
#include "mp3_file.h"
#include "scan_error.h"
#include "stream_builder.h"

namespace vornik {
namespace {

using test::StreamBuilder;
using test::TempFile;

// Bounds for waits that normally end at once; only a broken worker reaches them.
constexpr int kPatienceMs = 10000;

// The sequence number of the batch that tells a test that everything before it is through.
constexpr std::uint8_t kMarkerSequence = 250;

struct Posted {
    bool failed = false;
    _LVItemData* row = nullptr;
    bool lastOfBatch = false;
    std::uint8_t sequence = 0;
    std::unique_ptr<ListItemResult> result;
};

class RecordingPoster : public ListResultPoster {
  public:
    void PostItemDone(std::unique_ptr<ListItemResult> result, bool lastOfBatch,
                      std::uint8_t sequence) override {
        Posted message;
        message.row = result->row;
        message.lastOfBatch = lastOfBatch;
        message.sequence = sequence;
        message.result = std::move(result);
        Add(std::move(message));
    }

    void PostItemFailed(_LVItemData* row) override {
        Posted message;
        message.failed = true;
        message.row = row;
        Add(std::move(message));
    }

    // Waits for a done message of `sequence`, then hands over everything posted before it.
    std::vector<Posted> TakeUntil(std::uint8_t sequence) {
        std::unique_lock<std::mutex> lock(mutex_);
        std::vector<Posted> taken;
        const bool arrived = changed_.wait_for(lock, std::chrono::milliseconds(kPatienceMs), [&] {
            for (const Posted& m : messages_) {
                if (!m.failed && m.sequence == sequence) {
                    return true;
                }
            }
            return false;
        });
        EXPECT_TRUE(arrived) << "no result of batch " << int{sequence};
        while (!messages_.empty()) {
            Posted message = std::move(messages_.front());
            messages_.erase(messages_.begin());
            if (!message.failed && message.sequence == sequence) {
                break;
            }
            taken.push_back(std::move(message));
        }
        return taken;
    }

  private:
    void Add(Posted message) {
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            messages_.push_back(std::move(message));
        }
        changed_.notify_all();
    }

    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<Posted> messages_;
};

class LogRecorder : public LogSink {
  public:
    void Line(const std::string& text) override {
        const std::lock_guard<std::mutex> lock(mutex_);
        lines_.push_back(text);
    }
    std::vector<std::string> Lines() const {
        const std::lock_guard<std::mutex> lock(mutex_);
        return lines_;
    }

  private:
    mutable std::mutex mutex_;
    std::vector<std::string> lines_;
};

// The list worker with its shared state in reach of the test.
class ObservedListThread : public CListThread {
  public:
    std::shared_ptr<WorkerState> SharedState() const { return State(); }
};

// Joint stereo, every frame mid/side, no short blocks: the statistics name no encoder.
std::vector<std::uint8_t> UnknownEncoderFrames(int count) {
    test::FrameSpec shape;
    shape.mode = 1;
    shape.modeExtension = 2;
    return StreamBuilder().frames(shape, count).data();
}

// Plain stereo frames, which the statistics attribute to an encoder at once.
std::vector<std::uint8_t> KnownEncoderFrames(int count) {
    return StreamBuilder().frames({}, count).data();
}

std::vector<std::uint8_t> NotAudio() {
    return std::vector<std::uint8_t>(5000, 'x');
}

std::unique_ptr<_LVItemData> MakeRow(const TempFile& file, const std::string& name) {
    auto row = std::make_unique<_LVItemData>();
    row->fullPath = file.path();
    row->displayName = name;
    row->fileName = name;
    return row;
}

std::unique_ptr<ListRequest> MakeRequest(const std::vector<_LVItemData*>& rows,
                                         std::uint8_t sequence, int frameBudget = 1000) {
    auto request = std::make_unique<ListRequest>();
    request->rows = rows;
    request->sequence = sequence;
    request->frameBudget = frameBudget;
    return request;
}

class ListThreadTest : public ::testing::Test {
  protected:
    ListThreadTest() : marker_(KnownEncoderFrames(20)), markerRow_(MakeRow(marker_, "marker")) {
        worker_.SetPoster(&poster_);
    }

    // Everything the worker posted for the requests so far, in order.
    std::vector<Posted> Drain() {
        worker_.PostThreadRequest(WorkerProcess, MakeRequest({markerRow_.get()}, kMarkerSequence));
        return poster_.TakeUntil(kMarkerSequence);
    }

    // The result of one row analysed alone with `frameBudget`.
    std::unique_ptr<ListItemResult> AnalyseAlone(_LVItemData* row, int frameBudget) {
        worker_.PostThreadRequest(WorkerProcess, MakeRequest({row}, 1, frameBudget));
        std::vector<Posted> posted = Drain();
        EXPECT_EQ(posted.size(), 1u);
        if (posted.size() != 1 || posted[0].failed) {
            return std::make_unique<ListItemResult>();
        }
        return std::move(posted[0].result);
    }

    RecordingPoster poster_;
    TempFile marker_;
    std::unique_ptr<_LVItemData> markerRow_;
    ObservedListThread worker_;  // last: it goes first, while the rows still exist
};

TEST_F(ListThreadTest, FailingMiddleFileIsReportedFailedBetweenTheOthers) {
    const TempFile first(KnownEncoderFrames(40));
    const TempFile bad(NotAudio());
    const TempFile last(KnownEncoderFrames(30));
    const auto r0 = MakeRow(first, "first.mp3");
    const auto r1 = MakeRow(bad, "bad.mp3");
    const auto r2 = MakeRow(last, "last.mp3");
    worker_.PostThreadRequest(WorkerProcess, MakeRequest({r0.get(), r1.get(), r2.get()}, 7));

    const std::vector<Posted> posted = Drain();
    ASSERT_EQ(posted.size(), 3u);
    EXPECT_FALSE(posted[0].failed);
    EXPECT_EQ(posted[0].row, r0.get());
    EXPECT_FALSE(posted[0].lastOfBatch);
    EXPECT_EQ(posted[0].sequence, 7);
    EXPECT_TRUE(posted[1].failed);
    EXPECT_EQ(posted[1].row, r1.get());
    EXPECT_FALSE(posted[2].failed);
    EXPECT_EQ(posted[2].row, r2.get());
    EXPECT_TRUE(posted[2].lastOfBatch);
    EXPECT_EQ(posted[2].sequence, 7);

    const ListItemResult& result = *posted[0].result;
    EXPECT_EQ(result.row, r0.get());
    EXPECT_EQ(result.texts[kSlotName], "first.mp3");
    EXPECT_EQ(result.texts[kSlotFrames], "39");
    EXPECT_EQ(result.record.fileSize, static_cast<std::int64_t>(KnownEncoderFrames(40).size()));
    EXPECT_EQ(posted[2].result->texts[kSlotName], "last.mp3");
    EXPECT_EQ(posted[2].result->texts[kSlotFrames], "29");

    // The rows themselves are the list's to change.
    for (const auto* row : {r0.get(), r1.get(), r2.get()}) {
        EXPECT_TRUE(row->texts[kSlotName].empty());
        EXPECT_EQ(row->record.fileSize, 0);
        EXPECT_FALSE(row->done);
    }
}

TEST_F(ListThreadTest, FailingLastFileLeavesTheBatchWithoutALastRow) {
    const TempFile good(KnownEncoderFrames(20));
    const TempFile bad(NotAudio());
    const auto r0 = MakeRow(good, "good.mp3");
    const auto r1 = MakeRow(bad, "bad.mp3");
    worker_.PostThreadRequest(WorkerProcess, MakeRequest({r0.get(), r1.get()}, 200));

    const std::vector<Posted> posted = Drain();
    ASSERT_EQ(posted.size(), 2u);
    EXPECT_FALSE(posted[0].failed);
    EXPECT_EQ(posted[0].sequence, 200);
    EXPECT_TRUE(posted[1].failed);
    EXPECT_EQ(posted[1].row, r1.get());
    for (const Posted& message : posted) {
        EXPECT_FALSE(message.lastOfBatch);
    }
}

TEST_F(ListThreadTest, MissingFileFailsAndEmptyBatchesPostNothing) {
    auto missing = std::make_unique<_LVItemData>();
    missing->fullPath = "/no/such/folder/song.mp3";
    missing->displayName = "song.mp3";
    worker_.PostThreadRequest(WorkerProcess, MakeRequest({}, 3));
    worker_.PostThreadRequest(WorkerProcess, nullptr);
    worker_.PostThreadRequest(WorkerProcess, MakeRequest({missing.get()}, 4));

    const std::vector<Posted> posted = Drain();
    ASSERT_EQ(posted.size(), 1u);
    EXPECT_TRUE(posted[0].failed);
    EXPECT_EQ(posted[0].row, missing.get());
}

// The budget travels whole: 65546 frames cut to 16 bits would be a budget of 10.
TEST_F(ListThreadTest, FrameBudgetIsCarriedWholeAndNegativeMeansEveryFrame) {
    const TempFile file(KnownEncoderFrames(100));
    const auto row = MakeRow(file, "song.mp3");
    EXPECT_EQ(AnalyseAlone(row.get(), 10)->texts[kSlotFrames], "10+");
    EXPECT_EQ(AnalyseAlone(row.get(), 0)->texts[kSlotFrames], "99");
    EXPECT_EQ(AnalyseAlone(row.get(), 65536 + 10)->texts[kSlotFrames], "99");
    EXPECT_EQ(AnalyseAlone(row.get(), -5)->texts[kSlotFrames], "99");
}

TEST_F(ListThreadTest, WalkFlagOffReadsNoFrames) {
    const TempFile file(KnownEncoderFrames(100));
    const auto row = MakeRow(file, "song.mp3");
    auto request = MakeRequest({row.get()}, 9, 0);
    request->walk = false;
    worker_.PostThreadRequest(WorkerProcess, std::move(request));
    const std::vector<Posted> posted = Drain();
    ASSERT_EQ(posted.size(), 1u);
    EXPECT_EQ(posted[0].result->record.frameCount, 0);
}

TEST_F(ListThreadTest, SettingsReachTheNextBatch) {
    const TempFile unknown(UnknownEncoderFrames(50));
    const auto row = MakeRow(unknown, "unknown.mp3");
    worker_.SetReadAllUnknown(false);
    EXPECT_EQ(AnalyseAlone(row.get(), 10)->texts[kSlotFrames], "10+");
    worker_.SetReadAllUnknown(true);
    EXPECT_EQ(AnalyseAlone(row.get(), 10)->texts[kSlotFrames], "49");

    // 96 kbps mono: bad as it stands, not bad when mono files count double.
    test::FrameSpec mono;
    mono.kbps = 96;
    mono.mode = 3;
    const TempFile monoFile(StreamBuilder().frames(mono, 50).data());
    const auto monoRow = MakeRow(monoFile, "mono.mp3");
    EXPECT_EQ(AnalyseAlone(monoRow.get(), 1000)->record.qualityFigure, 0);
    worker_.SetMonoQuality(true);
    EXPECT_EQ(AnalyseAlone(monoRow.get(), 1000)->record.qualityFigure, 1);
}

TEST_F(ListThreadTest, ResultsBeforeThePosterIsSetAreDropped) {
    const TempFile file(KnownEncoderFrames(20));
    const auto row = MakeRow(file, "song.mp3");
    worker_.SetPoster(nullptr);
    worker_.PostThreadRequest(WorkerProcess, MakeRequest({row.get()}, 5));
    worker_.SetPoster(&poster_);
    // Whether the first batch was through before the poster came back is up to the threads;
    // either way nothing is lost but that batch.
    for (const Posted& message : Drain()) {
        EXPECT_EQ(message.sequence, 5);
    }
}

TEST_F(ListThreadTest, LogLinesOfOneRow) {
    const TempFile file(KnownEncoderFrames(20));
    const auto row = MakeRow(file, "song.mp3");
    LogRecorder log;
    SetLogSink(&log);
    worker_.PostThreadRequest(WorkerProcess, MakeRequest({row.get()}, 1));
    Drain();
    SetLogSink(nullptr);

    const std::vector<std::string> expected{
        "CListThread::OnProcessMulti",
        "CListThread::OnProcess",
        "CListThread::OnProcess " + file.path(),
        "CListThread::DoProcess",
        "CListThread::OnProcessMulti posting message ",
    };
    const std::vector<std::string> lines = log.Lines();
    ASSERT_GE(lines.size(), expected.size());
    EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 5), expected);
}

// A stream in the second half passes the quick test, but the engine finds none after the tag:
// the row is reported with "--" texts and both log lines say why.
TEST_F(ListThreadTest, EngineErrorIsReportedDoneWithDashes) {
    test::FrameSpec freeFormat;
    freeFormat.kbps = 0;
    const TempFile file(StreamBuilder().frames(freeFormat, 20).data());
    const auto row = MakeRow(file, "free.mp3");
    LogRecorder log;
    SetLogSink(&log);
    worker_.PostThreadRequest(WorkerProcess, MakeRequest({row.get()}, 1));
    const std::vector<Posted> posted = Drain();
    SetLogSink(nullptr);

    ASSERT_EQ(posted.size(), 1u);
    ASSERT_FALSE(posted[0].failed);
    EXPECT_TRUE(posted[0].lastOfBatch);
    const ListItemResult& result = *posted[0].result;
    EXPECT_EQ(result.texts[kSlotName], "free.mp3");
    EXPECT_EQ(result.texts[kSlotEncoder], "--");
    EXPECT_EQ(result.texts[kSlotStereoMode], "--");
    EXPECT_EQ(result.texts[kSlotBitrate], "--");
    EXPECT_EQ(result.texts[kSlotSize], "--");
    EXPECT_EQ(result.texts[kSlotQuality], "Unknown");
    EXPECT_EQ(result.record.duration, 0.0f);

    const std::vector<std::string> lines = log.Lines();
    const auto at = [&](const std::string& line) {
        return std::find(lines.begin(), lines.end(), line) - lines.begin();
    };
    const auto engineLine = at(std::string("CListThread::SetupItem exception in ") +
                               "CMp3File::ProcessFrames " + kFreeFormatMessage);
    const auto catchLine = at("CListThread::OnProcess unspecified exception ");
    const auto postLine = at("CListThread::OnProcessMulti posting message ");
    ASSERT_LT(engineLine, static_cast<std::ptrdiff_t>(lines.size()));
    EXPECT_LT(engineLine, catchLine);
    EXPECT_LT(catchLine, postLine);
}

// Holds the worker at the start of one row until the owner has cancelled it, so that the
// cancellation lands while that row is being analysed whatever the machine's speed.
class HoldAtRow : public LogSink {
  public:
    HoldAtRow(std::string path, const ManualResetEvent& abort)
        : line_("CListThread::OnProcess " + std::move(path)), abort_(abort) {}
    void Line(const std::string& text) override {
        if (text == line_) {
            reached.Set();
            abort_.Wait(kPatienceMs);
        }
    }
    ManualResetEvent reached;

  private:
    const std::string line_;
    const ManualResetEvent& abort_;
};

TEST_F(ListThreadTest, StopDuringALongScanEndsTheBatchAndDiscardsTheQueue) {
    // 50000 small frames: long enough that the scan meets progress checks.
    test::FrameSpec small;
    small.version = test::Version::Mpeg25;
    small.kbps = 8;
    small.sampleRate = 8000;
    small.mode = 3;
    const TempFile big(StreamBuilder().frames(small, 50000).data());
    const TempFile file(KnownEncoderFrames(20));
    const auto r0 = MakeRow(file, "a.mp3");
    const auto r1 = MakeRow(file, "b.mp3");
    const auto r2 = MakeRow(big, "big.mp3");
    const auto r3 = MakeRow(file, "after.mp3");
    const auto queued = MakeRow(file, "queued.mp3");

    HoldAtRow hold(big.path(), worker_.SharedState()->abort);
    SetLogSink(&hold);
    worker_.PostThreadRequest(WorkerProcess,
                              MakeRequest({r0.get(), r1.get(), r2.get(), r3.get()}, 1, 0));
    worker_.PostThreadRequest(WorkerProcess, MakeRequest({queued.get()}, 2));
    ASSERT_TRUE(hold.reached.Wait(kPatienceMs));
    worker_.StopProcessing();
    EXPECT_TRUE(worker_.IsIdle());
    SetLogSink(nullptr);

    const std::vector<Posted> posted = Drain();
    ASSERT_EQ(posted.size(), 2u);
    EXPECT_EQ(posted[0].row, r0.get());
    EXPECT_EQ(posted[1].row, r1.get());
    for (const Posted& message : posted) {
        EXPECT_FALSE(message.failed);
        EXPECT_FALSE(message.lastOfBatch);
        EXPECT_EQ(message.sequence, 1);
    }
}

// The scan itself ends at the first progress check once the abort event is set.
TEST(ListThreadHelper, AnswersStopOnceAbortIsSet) {
    const TempFile file(KnownEncoderFrames(5000));
    ManualResetEvent abort;
    CListThread::thread_helper helper(abort);
    Mp3Info record{};
    EXPECT_EQ(helper.progress(record), 1);

    CMp3File whole;
    ASSERT_TRUE(whole.Open(file.path()));
    ASSERT_EQ(whole.ProcessFrames(true, record, -1, nullptr, &helper), 1);
    EXPECT_EQ(record.frameCount, 4999);
    EXPECT_TRUE(record.scanComplete);

    abort.Set();
    EXPECT_EQ(helper.progress(record), 0);
    record = Mp3Info{};
    CMp3File cancelled;
    ASSERT_TRUE(cancelled.Open(file.path()));
    ASSERT_EQ(cancelled.ProcessFrames(true, record, -1, nullptr, &helper), 1);
    EXPECT_EQ(record.frameCount, CMp3File::kProgressInterval);
    EXPECT_FALSE(record.scanComplete);
}

TEST(ListThreadLifetime, QuitOfAnIdleListWorkerIsFastAndSilent) {
    class Alerts : public WorkerAlerts {
      public:
        void Show(const std::string& text) override { texts.push_back(text); }
        std::vector<std::string> texts;
    } alerts;
    const auto start = std::chrono::steady_clock::now();
    {
        CListThread worker;
        worker.SetAlerts(&alerts);
        EXPECT_TRUE(worker.IsRunning());
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(500));
    EXPECT_TRUE(alerts.texts.empty());
}

}  // namespace
}  // namespace vornik
