#include "file_list_model.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace vornik {
namespace {

// Keeps every batch the list posts, and the order of posts and stops.
class FakeWorker : public ListWorkerPort {
  public:
    void Post(std::unique_ptr<ListRequest> request) override {
        calls.push_back("post");
        requests.push_back(std::move(request));
    }
    void StopProcessing() override { calls.push_back("stop"); }
    void SetRowOptions(bool monoQuality, bool readAllUnknown) override {
        options = {monoQuality, readAllUnknown};
    }

    std::vector<std::unique_ptr<ListRequest>> requests;
    std::vector<std::string> calls;
    std::pair<bool, bool> options{false, false};
};

class FakeLister : public FolderLister {
  public:
    std::optional<std::vector<FolderEntry>> List(const std::string& folder) const override {
        const auto it = folders.find(folder);
        if (it == folders.end()) {
            return std::nullopt;
        }
        return it->second;
    }

    std::map<std::string, std::vector<FolderEntry>> folders;
};

// Records what the list tells its window, and keeps a copy of the shown names that it changes
// only as the announcements say, as a table view would.
class RecordingObserver : public FileListObserver {
  public:
    void DisplayAboutToChange(const DisplayChange& change) override {
        // The model must still show the old state when a change is announced.
        EXPECT_EQ(static_cast<int>(mirror.size()), model->DisplayedCount());
        if (change.kind == DisplayChange::Kind::Move) {
            std::string name = mirror.at(static_cast<std::size_t>(change.index));
            mirror.erase(mirror.begin() + change.index);
            const int at = change.before > change.index ? change.before - 1 : change.before;
            mirror.insert(mirror.begin() + at, name);
        }
        if (change.kind == DisplayChange::Kind::Remove) {
            EXPECT_EQ(mirror.at(static_cast<std::size_t>(change.index)),
                      model->Displayed(change.index).displayName);
            mirror.erase(mirror.begin() + change.index);
        }
        changes.push_back(change);
    }
    void DisplayChanged(const DisplayChange& change) override {
        switch (change.kind) {
            case DisplayChange::Kind::Reset:
            case DisplayChange::Kind::Layout:
                mirror.clear();
                for (int i = 0; i < model->DisplayedCount(); ++i) {
                    mirror.push_back(model->Displayed(i).displayName);
                }
                break;
            case DisplayChange::Kind::Insert:
                mirror.insert(mirror.begin() + change.index,
                              model->Displayed(change.index).displayName);
                break;
            default:
                break;
        }
        if (change.kind == DisplayChange::Kind::Update) {
            changes.push_back(change);
        }
    }
    void SetStatusText(int pane, const std::string& text) override {
        events.push_back("status " + std::to_string(pane) + " " + text);
    }
    void Animate(bool play) override { events.push_back(play ? "animate 1" : "animate 0"); }
    void AutoSizeFirstColumn() override { events.push_back("autosize"); }

    const FileListModel* model = nullptr;
    std::vector<std::string> mirror;
    std::vector<DisplayChange> changes;
    std::vector<std::string> events;
};

constexpr int kLength = 4;   // attribute id of the Length column (sorts by duration)
constexpr int kBitrate = 2;  // attribute id of the Bitrate column (sorts by avgBitrate)

Mp3Info Record(float duration, int avgBitrate = 128, std::int64_t fileSize = 1048576,
               bool scanComplete = true) {
    Mp3Info record{};
    record.duration = duration;
    record.avgBitrate = avgBitrate;
    record.fileSize = fileSize;
    record.scanComplete = scanComplete;
    record.qualityFigure = 2;
    return record;
}

class FileListModelTest : public testing::Test {
  protected:
    FileListModelTest() : model_(worker_, lister_, observer_) {
        observer_.model = &model_;
        lister_.folders["/music"] = {{"b.mp3", 10}, {"a.mp3", 20}, {"c.mp3", 30}};
        ListSettings settings = model_.Settings();
        settings.sortColumnId = kLength;
        model_.SetSettings(settings);
        observer_.changes.clear();
    }

    _LVItemData* RowNamed(const std::string& name) {
        for (std::size_t i = 0; i < model_.RowCount(); ++i) {
            if (model_.Row(i).fileName == name) {
                return const_cast<_LVItemData*>(&model_.Row(i));
            }
        }
        ADD_FAILURE() << "no row " << name;
        return nullptr;
    }

    // The worker's result for the row named `name`, for the latest batch unless told.
    bool Report(const std::string& name, const Mp3Info& record, bool last = false,
                std::optional<std::uint8_t> sequence = std::nullopt) {
        auto result = std::make_unique<ListItemResult>();
        result->row = RowNamed(name);
        result->record = record;
        result->texts[kSlotName] = name;
        result->texts[kSlotLength] = std::to_string(static_cast<int>(record.duration));
        return model_.ItemDone(std::move(result), last, sequence.value_or(model_.BatchSequence()));
    }

    std::vector<std::string> Shown() const {
        std::vector<std::string> names;
        for (int i = 0; i < model_.DisplayedCount(); ++i) {
            names.push_back(model_.Displayed(i).displayName);
        }
        return names;
    }

    const ListRequest& LastRequest() const { return *worker_.requests.back(); }

    FakeWorker worker_;
    FakeLister lister_;
    RecordingObserver observer_;
    FileListModel model_;
};

// ---------------------------------------------------------------------------------------------
// Filling

TEST_F(FileListModelTest, FillMakesHiddenRowsOfWantedFilesAndPostsThemAsOneBatch) {
    lister_.folders["/mixed"] = {{"one.mp3", 1}, {"TWO.MP3", 2},  {"notes.txt", 3},
                                 {"README", 4},  {"four.mpc", 5}, {"five.mp3.bak", 6}};
    ASSERT_TRUE(model_.LoadFolder("/mixed", /*clear=*/true, /*completeScan=*/false));

    EXPECT_EQ(worker_.calls, (std::vector<std::string>{"stop", "post"}));
    EXPECT_EQ(observer_.events, (std::vector<std::string>{"animate 0", "animate 1"}));
    ASSERT_EQ(model_.RowCount(), 3u);
    EXPECT_EQ(model_.DisplayedCount(), 0);
    const ListRequest& request = LastRequest();
    ASSERT_EQ(request.rows.size(), 3u);
    const char* names[] = {"one.mp3", "TWO.MP3", "four.mpc"};
    for (std::size_t i = 0; i < 3; ++i) {
        const _LVItemData& row = model_.Row(i);
        EXPECT_EQ(request.rows[i], &row);
        EXPECT_EQ(row.fileName, names[i]);
        EXPECT_EQ(row.displayName, names[i]);
        EXPECT_EQ(row.folder, "/mixed");
        EXPECT_EQ(row.fullPath, std::string("/mixed/") + names[i]);
        EXPECT_FALSE(row.done);
        EXPECT_EQ(row.record.fileSize, 0);
    }
    EXPECT_EQ(request.frameBudget, 1000);
    EXPECT_EQ(request.sequence, 1);
    EXPECT_EQ(model_.BatchSequence(), 1);
    EXPECT_TRUE(request.walk);  // Encoder, Bitrate, Frames, Length and Quality need the walk
    EXPECT_EQ(model_.CurrentFolder(), "/mixed");
}

TEST_F(FileListModelTest, EmptyFolderPostsAnEmptyBatchWithoutAnimation) {
    lister_.folders["/empty"] = {{"cover.jpg", 100}};
    ASSERT_TRUE(model_.LoadFolder("/empty", true, false));
    ASSERT_EQ(worker_.requests.size(), 1u);
    EXPECT_TRUE(LastRequest().rows.empty());
    EXPECT_EQ(observer_.events, (std::vector<std::string>{"animate 0"}));
}

TEST_F(FileListModelTest, FrameBudgetFollowsFrameresAndCompleteScan) {
    ListSettings settings = model_.Settings();
    settings.frameres = 70000;  // more than 16 bits hold
    model_.SetSettings(settings);
    model_.LoadFolder("/music", true, false);
    EXPECT_EQ(LastRequest().frameBudget, 70000);

    model_.LoadFolder("/music", true, /*completeScan=*/true);
    EXPECT_EQ(LastRequest().frameBudget, 0);

    settings.frameres = -5;
    model_.SetSettings(settings);
    model_.LoadFolder("/music", true, false);
    EXPECT_EQ(LastRequest().frameBudget, 0);
}

TEST_F(FileListModelTest, NoWalkWhenNoShownColumnNeedsIt) {
    model_.Columns().SetShownIds({0, 5, 8, 202});  // Name, Size, Frequency, Title
    model_.LoadFolder("/music", true, false);
    EXPECT_FALSE(LastRequest().walk);
    model_.Columns().SetShownIds({0, 14});  // Sync Errors needs the walk
    model_.LoadFolder("/music", true, false);
    EXPECT_TRUE(LastRequest().walk);
}

TEST_F(FileListModelTest, EveryPostTakesTheNextSequenceNumberWrappingAt256) {
    for (int i = 1; i <= 257; ++i) {
        model_.LoadFolder("/music", true, false);
        ASSERT_EQ(LastRequest().sequence, static_cast<std::uint8_t>(i));
    }
    EXPECT_EQ(model_.BatchSequence(), 1);
}

TEST_F(FileListModelTest, FolderThatCannotBeListedKeepsTheRows) {
    model_.LoadFolder("/music", true, false);
    worker_.calls.clear();
    EXPECT_FALSE(model_.LoadFolder("/gone", true, false));
    EXPECT_EQ(worker_.calls, (std::vector<std::string>{"stop"}));
    EXPECT_EQ(model_.RowCount(), 3u);
    EXPECT_EQ(model_.BatchSequence(), 1);
    EXPECT_EQ(model_.CurrentFolder(), "/music");
}

TEST_F(FileListModelTest, FillWithoutClearAddsToTheRows) {
    lister_.folders["/more"] = {{"d.mp3", 1}};
    model_.LoadFolder("/music", true, false);
    model_.LoadFolder("/more", /*clear=*/false, false);
    EXPECT_EQ(model_.RowCount(), 4u);
    EXPECT_EQ(LastRequest().rows.size(), 1u);
    model_.LoadFolder("/more", /*clear=*/true, false);
    EXPECT_EQ(model_.RowCount(), 1u);
}

// ---------------------------------------------------------------------------------------------
// Results

TEST_F(FileListModelTest, ReportedRowsAreShownInSortedOrder) {
    model_.LoadFolder("/music", true, false);
    observer_.events.clear();
    ASSERT_TRUE(Report("b.mp3", Record(60)));
    EXPECT_EQ(Shown(), (std::vector<std::string>{"b.mp3"}));
    ASSERT_TRUE(Report("a.mp3", Record(61)));
    EXPECT_EQ(Shown(), (std::vector<std::string>{"b.mp3", "a.mp3"}));
    ASSERT_TRUE(Report("c.mp3", Record(59), /*last=*/true));
    EXPECT_EQ(Shown(), (std::vector<std::string>{"c.mp3", "b.mp3", "a.mp3"}));
    EXPECT_EQ(observer_.mirror, Shown());
    EXPECT_TRUE(model_.Displayed(0).done);
    EXPECT_EQ(model_.Displayed(0).record.duration, 59.0f);
    EXPECT_EQ(model_.Displayed(0).texts[kSlotLength], "59");
    using K = DisplayChange::Kind;
    EXPECT_EQ(observer_.changes,
              (std::vector<DisplayChange>{{K::Insert, 0}, {K::Insert, 1}, {K::Insert, 0}}));
    EXPECT_EQ(observer_.events[0], "status 0 1 read, 2 to go");
    EXPECT_EQ(observer_.events[1], "status 0 2 read, 1 to go");
    // The last row: the animation stops, then the all-done step writes the summary.
    EXPECT_EQ(observer_.events[2], "animate 0");
    EXPECT_EQ(observer_.events[3], "status 0 3 files, 3.0 MB, 128.0 kbps");
}

TEST_F(FileListModelTest, ARowGoesAfterTheRowsItComparesEqualTo) {
    lister_.folders["/same"] = {{"1.mp3", 0}, {"2.mp3", 0}, {"3.mp3", 0}, {"4.mp3", 0}};
    model_.LoadFolder("/same", true, false);
    Report("3.mp3", Record(60));
    Report("1.mp3", Record(60));
    Report("4.mp3", Record(10));
    Report("2.mp3", Record(60));
    EXPECT_EQ(Shown(), (std::vector<std::string>{"4.mp3", "3.mp3", "1.mp3", "2.mp3"}));
    EXPECT_EQ(observer_.mirror, Shown());
}

TEST_F(FileListModelTest, ReverseOrderStillPutsEqualRowsAfterTheirEquals) {
    ListSettings settings = model_.Settings();
    settings.sortReverse = true;
    model_.SetSettings(settings);
    lister_.folders["/same"] = {{"1.mp3", 0}, {"2.mp3", 0}, {"3.mp3", 0}, {"4.mp3", 0}};
    model_.LoadFolder("/same", true, false);
    Report("3.mp3", Record(60));
    Report("1.mp3", Record(60));
    Report("4.mp3", Record(90));
    Report("2.mp3", Record(60));
    EXPECT_EQ(Shown(), (std::vector<std::string>{"4.mp3", "3.mp3", "1.mp3", "2.mp3"}));
}

TEST_F(FileListModelTest, ResultsOfAnOlderBatchAreIgnored) {
    lister_.folders["/other"] = {{"x.mp3", 1}};
    model_.LoadFolder("/music", /*clear=*/false, false);
    const std::uint8_t first = model_.BatchSequence();
    model_.LoadFolder("/other", /*clear=*/false, false);  // the music rows stay, hidden
    EXPECT_FALSE(Report("a.mp3", Record(60), true, first));
    EXPECT_EQ(model_.DisplayedCount(), 0);
    EXPECT_FALSE(RowNamed("a.mp3")->done);
    EXPECT_EQ(RowNamed("a.mp3")->record.duration, 0.0f);
    EXPECT_TRUE(observer_.changes.empty());
    EXPECT_TRUE(Report("x.mp3", Record(60)));
    EXPECT_EQ(Shown(), (std::vector<std::string>{"x.mp3"}));
}

TEST_F(FileListModelTest, ResultForARowThatWasClearedIsIgnored) {
    model_.LoadFolder("/music", true, false);
    _LVItemData* old = RowNamed("a.mp3");
    model_.LoadFolder("/music", true, false);
    auto result = std::make_unique<ListItemResult>();
    result->row = old;
    result->record = Record(60);
    EXPECT_FALSE(model_.ItemDone(std::move(result), false, model_.BatchSequence()));
    EXPECT_EQ(model_.DisplayedCount(), 0);
}

// A stop may leave a queued batch to run (the worker was idle at that moment), so its rows
// must stay readable until the list hears from a batch posted after it. Run under
// AddressSanitizer, reading a freed row fails here.
TEST_F(FileListModelTest, RowsOfAReplacedBatchStayReadableUntilALaterBatchReports) {
    model_.LoadFolder("/music", true, false);
    const std::vector<_LVItemData*> first = LastRequest().rows;
    model_.LoadFolder("/music", true, false);
    for (const _LVItemData* row : first) {
        EXPECT_EQ(row->folder, "/music");  // the worker still reads its paths
    }
    Report("a.mp3", Record(1));
    EXPECT_EQ(Shown(), (std::vector<std::string>{"a.mp3"}));
}

TEST_F(FileListModelTest, FailedRowStaysReadableWhileAnotherBatchMayNameIt) {
    model_.LoadFolder("/music", true, false);
    Report("a.mp3", Record(10, 128, 1, false));
    Report("b.mp3", Record(20));
    Report("c.mp3", Record(30), true);
    model_.Displayed(0).selected = true;
    model_.CompleteScanSelected();
    model_.CompleteScanSelected();  // twice: both batches name a.mp3
    const _LVItemData* twice = RowNamed("a.mp3");
    ASSERT_TRUE(model_.ItemFailed(twice));  // from the first rescan
    EXPECT_EQ(twice->fileName, "a.mp3");    // the second rescan still reads it
    EXPECT_FALSE(model_.ItemFailed(twice));
    EXPECT_EQ(Shown(), (std::vector<std::string>{"b.mp3", "c.mp3"}));
}

TEST_F(FileListModelTest, RescannedShownRowMovesToItsNewPlace) {
    model_.LoadFolder("/music", true, false);
    Report("a.mp3", Record(10, 128, 1048576, /*scanComplete=*/false));
    Report("b.mp3", Record(20));
    Report("c.mp3", Record(30), true);
    ASSERT_EQ(Shown(), (std::vector<std::string>{"a.mp3", "b.mp3", "c.mp3"}));
    model_.Displayed(0).selected = true;
    model_.Displayed(1).selected = true;  // scanned to its end: not posted again
    observer_.changes.clear();
    observer_.events.clear();

    ASSERT_EQ(model_.CompleteScanSelected(), 1);
    EXPECT_EQ(LastRequest().rows, (std::vector<_LVItemData*>{RowNamed("a.mp3")}));
    EXPECT_EQ(LastRequest().frameBudget, 0);
    EXPECT_TRUE(LastRequest().walk);
    EXPECT_EQ(LastRequest().sequence, 2);

    ASSERT_TRUE(Report("a.mp3", Record(25), true));
    EXPECT_EQ(Shown(), (std::vector<std::string>{"b.mp3", "a.mp3", "c.mp3"}));
    EXPECT_EQ(observer_.mirror, Shown());
    using K = DisplayChange::Kind;
    EXPECT_EQ(observer_.changes, (std::vector<DisplayChange>{{K::Move, 0, 2}}));
    EXPECT_TRUE(model_.Displayed(1).selected);  // the selection stays with the row

    // Rescanned to the same place: the row changes where it stands.
    observer_.changes.clear();
    model_.Displayed(1).record.scanComplete = false;
    ASSERT_EQ(model_.CompleteScanSelected(), 1);
    ASSERT_TRUE(Report("a.mp3", Record(21), true));
    EXPECT_EQ(observer_.changes, (std::vector<DisplayChange>{{K::Update, 1}}));
}

TEST_F(FileListModelTest, CompleteScanOfNothingPostsNothing) {
    model_.LoadFolder("/music", true, false);
    Report("a.mp3", Record(10, 128, 1, /*scanComplete=*/false));
    const std::size_t posts = worker_.requests.size();
    EXPECT_EQ(model_.CompleteScanSelected(), 0);  // not selected
    EXPECT_EQ(worker_.requests.size(), posts);
    EXPECT_EQ(model_.BatchSequence(), 1);
}

// ---------------------------------------------------------------------------------------------
// Failures

TEST_F(FileListModelTest, FailedHiddenRowLeavesTheList) {
    model_.LoadFolder("/music", true, false);
    Report("a.mp3", Record(10));
    Report("b.mp3", Record(20));
    observer_.events.clear();
    observer_.changes.clear();
    const _LVItemData* failed = RowNamed("c.mp3");
    ASSERT_TRUE(model_.ItemFailed(failed));
    EXPECT_EQ(model_.RowCount(), 2u);
    EXPECT_EQ(Shown(), (std::vector<std::string>{"a.mp3", "b.mp3"}));
    EXPECT_TRUE(observer_.changes.empty());  // it was never shown
    // Every remaining row is done: the all-done step runs.
    EXPECT_EQ(observer_.events, (std::vector<std::string>{"status 0 2 files, 2.0 MB, 128.0 kbps",
                                                          "autosize", "animate 0"}));
    EXPECT_FALSE(model_.ItemFailed(failed));  // reported twice: already gone
}

TEST_F(FileListModelTest, FailedShownRowLeavesTheDisplay) {
    model_.LoadFolder("/music", true, false);
    Report("a.mp3", Record(10, 128, 1048576, false));
    Report("b.mp3", Record(20));
    Report("c.mp3", Record(30), true);
    model_.Displayed(0).selected = true;
    model_.CompleteScanSelected();
    observer_.changes.clear();
    ASSERT_TRUE(model_.ItemFailed(RowNamed("a.mp3")));
    EXPECT_EQ(Shown(), (std::vector<std::string>{"b.mp3", "c.mp3"}));
    EXPECT_EQ(observer_.mirror, Shown());
    using K = DisplayChange::Kind;
    EXPECT_EQ(observer_.changes, (std::vector<DisplayChange>{{K::Remove, 0}}));
}

TEST_F(FileListModelTest, FailureOfARowThatWasClearedChangesNothing) {
    model_.LoadFolder("/music", true, false);
    const _LVItemData* old = RowNamed("a.mp3");
    model_.LoadFolder("/music", true, false);
    observer_.events.clear();
    EXPECT_FALSE(model_.ItemFailed(old));
    EXPECT_EQ(model_.RowCount(), 3u);
    EXPECT_TRUE(observer_.events.empty());
}

TEST_F(FileListModelTest, EveryRowFailingGivesTheEmptySummary) {
    lister_.folders["/bad"] = {{"x.mp3", 1}};
    model_.LoadFolder("/bad", true, false);
    observer_.events.clear();
    model_.ItemFailed(RowNamed("x.mp3"));
    EXPECT_EQ(observer_.events[0], "status 0 0 files, 0.0 MB, 0.0 kbps");
}

// ---------------------------------------------------------------------------------------------
// The all-done step

TEST_F(FileListModelTest, SummaryOfOneFileIsSingular) {
    lister_.folders["/one"] = {{"x.mp3", 1}};
    model_.LoadFolder("/one", true, false);
    observer_.events.clear();
    Report("x.mp3", Record(60, 192, 3 * 1048576), true);
    EXPECT_EQ(observer_.events,
              (std::vector<std::string>{"animate 0", "status 0 1 file, 3.0 MB, 192.0 kbps",
                                        "autosize", "animate 0"}));
}

TEST_F(FileListModelTest, AutosizeOffSkipsTheAutoSize) {
    ListSettings settings = model_.Settings();
    settings.autosize = false;
    model_.SetSettings(settings);
    lister_.folders["/one"] = {{"x.mp3", 1}};
    model_.LoadFolder("/one", true, false);
    observer_.events.clear();
    Report("x.mp3", Record(60), false);
    EXPECT_EQ(observer_.events,
              (std::vector<std::string>{"status 0 1 file, 1.0 MB, 128.0 kbps", "animate 0"}));
}

TEST_F(FileListModelTest, ReadAllInitialRescansIncompleteRowsOnceAFill) {
    ListSettings settings = model_.Settings();
    settings.readAllInitial = true;
    model_.SetSettings(settings);
    model_.LoadFolder("/music", true, false);
    Report("a.mp3", Record(10, 128, 1048576, /*scanComplete=*/false));
    Report("b.mp3", Record(20));
    observer_.events.clear();
    Report("c.mp3", Record(30, 128, 1048576, false), true);

    ASSERT_EQ(worker_.requests.size(), 2u);
    const ListRequest& full = LastRequest();
    EXPECT_EQ(full.rows, (std::vector<_LVItemData*>{RowNamed("a.mp3"), RowNamed("c.mp3")}));
    EXPECT_EQ(full.frameBudget, 0);
    EXPECT_TRUE(full.walk);
    EXPECT_EQ(full.sequence, 2);
    EXPECT_TRUE(model_.FullReadRequested());
    EXPECT_EQ(observer_.events,
              (std::vector<std::string>{"animate 0", "status 0 3 files, 3.0 MB, 128.0 kbps",
                                        "autosize", "animate 1", "animate 0"}));

    // The full read's results: still incomplete (cancelled, say), yet not posted again, and
    // the column is not sized again.
    // Every row is shown during the full read, so each result ends in the all-done step.
    observer_.events.clear();
    Report("a.mp3", Record(11, 128, 1048576, false));
    Report("c.mp3", Record(31, 128, 1048576, false), true);
    EXPECT_EQ(worker_.requests.size(), 2u);
    EXPECT_EQ(
        observer_.events,
        (std::vector<std::string>{"status 0 3 files, 3.0 MB, 128.0 kbps", "animate 0", "animate 0",
                                  "status 0 3 files, 3.0 MB, 128.0 kbps", "animate 0"}));
    EXPECT_EQ(Shown(), (std::vector<std::string>{"a.mp3", "b.mp3", "c.mp3"}));

    // A new fill may ask again.
    model_.LoadFolder("/music", true, false);
    EXPECT_FALSE(model_.FullReadRequested());
    Report("a.mp3", Record(10, 128, 1048576, false));
    Report("b.mp3", Record(20));
    Report("c.mp3", Record(30), true);
    EXPECT_EQ(LastRequest().rows, (std::vector<_LVItemData*>{RowNamed("a.mp3")}));
}

TEST_F(FileListModelTest, ReadAllInitialOffPostsNothingMore) {
    model_.LoadFolder("/music", true, false);
    Report("a.mp3", Record(10, 128, 1048576, false));
    Report("b.mp3", Record(20, 128, 1048576, false));
    Report("c.mp3", Record(30, 128, 1048576, false), true);
    EXPECT_EQ(worker_.requests.size(), 1u);
    EXPECT_FALSE(model_.FullReadRequested());
}

// ---------------------------------------------------------------------------------------------
// Stop, refresh and the folder watch

TEST_F(FileListModelTest, StopInterruptsAndLeavesUnreportedRowsHidden) {
    model_.LoadFolder("/music", true, false);
    Report("a.mp3", Record(10));
    worker_.calls.clear();
    observer_.events.clear();
    model_.Stop();
    EXPECT_EQ(worker_.calls, (std::vector<std::string>{"stop"}));
    EXPECT_EQ(observer_.events, (std::vector<std::string>{"animate 0", "status 0 Interrupted"}));
    EXPECT_EQ(model_.DisplayedCount(), 1);
    EXPECT_EQ(model_.RowCount(), 3u);
}

TEST_F(FileListModelTest, RefreshRefillsTheCurrentFolder) {
    EXPECT_FALSE(model_.Refresh(false));
    EXPECT_TRUE(worker_.calls.empty());

    model_.LoadFolder("/music", /*clear=*/false, false);
    Report("a.mp3", Record(10));
    ASSERT_TRUE(model_.Refresh(/*completeScan=*/true));
    EXPECT_EQ(model_.RowCount(), 3u);  // cleared first
    EXPECT_EQ(model_.DisplayedCount(), 0);
    EXPECT_EQ(LastRequest().frameBudget, 0);
    EXPECT_EQ(observer_.mirror, Shown());
}

TEST_F(FileListModelTest, FolderWatchRefillsOnlyWhenMatchingFilesChange) {
    EXPECT_FALSE(model_.CheckFolder());  // no folder yet
    model_.LoadFolder("/music", true, false);
    const std::size_t posts = worker_.requests.size();

    EXPECT_FALSE(model_.CheckFolder());
    lister_.folders["/music"].push_back({"cover.jpg", 5});  // not a matching file
    EXPECT_FALSE(model_.CheckFolder());
    EXPECT_EQ(worker_.requests.size(), posts);

    lister_.folders["/music"][0].size = 11;
    EXPECT_TRUE(model_.CheckFolder());
    EXPECT_EQ(worker_.requests.size(), posts + 1);
    EXPECT_EQ(LastRequest().frameBudget, 1000);
    EXPECT_FALSE(model_.CheckFolder());  // the refill took a new snapshot

    lister_.folders["/music"].push_back({"d.mp3", 5});
    EXPECT_TRUE(model_.CheckFolder());
    EXPECT_EQ(model_.RowCount(), 4u);

    // Changing the file types changes which files the watch compares.
    ListSettings settings = model_.Settings();
    settings.fileTypes = ".mp3;.jpg;";
    model_.SetSettings(settings);
    EXPECT_TRUE(model_.CheckFolder());
    EXPECT_EQ(model_.RowCount(), 5u);
}

TEST_F(FileListModelTest, FolderWatchSeesAFolderThatWentAsEmpty) {
    model_.LoadFolder("/music", true, false);
    lister_.folders.erase("/music");
    EXPECT_TRUE(model_.CheckFolder());  // the refill itself fails and keeps the rows
    EXPECT_EQ(model_.RowCount(), 3u);
}

// ---------------------------------------------------------------------------------------------
// Sorting

TEST_F(FileListModelTest, ColumnClickTogglesTheSortColumnAndKeepsTheDirectionForOthers) {
    // Shown columns: Name, Encoder, Bitrate, Frames, Length, Size, Bad Last Frame, Quality.
    model_.LoadFolder("/music", true, false);
    Report("a.mp3", Record(30, 320));
    Report("b.mp3", Record(20, 128));
    Report("c.mp3", Record(10, 192), true);
    ASSERT_EQ(Shown(), (std::vector<std::string>{"c.mp3", "b.mp3", "a.mp3"}));

    model_.ClickColumn(4);  // Length again: reversed
    EXPECT_EQ(model_.Settings().sortColumnId, kLength);
    EXPECT_TRUE(model_.Settings().sortReverse);
    EXPECT_EQ(Shown(), (std::vector<std::string>{"a.mp3", "b.mp3", "c.mp3"}));

    model_.ClickColumn(2);  // Bitrate, still reversed
    EXPECT_EQ(model_.Settings().sortColumnId, kBitrate);
    EXPECT_TRUE(model_.Settings().sortReverse);
    EXPECT_EQ(Shown(), (std::vector<std::string>{"a.mp3", "c.mp3", "b.mp3"}));

    model_.ClickColumn(2);
    EXPECT_FALSE(model_.Settings().sortReverse);
    EXPECT_EQ(Shown(), (std::vector<std::string>{"b.mp3", "c.mp3", "a.mp3"}));

    model_.ClickColumn(0);  // Name, ascending
    EXPECT_EQ(model_.Settings().sortColumnId, 0);
    EXPECT_FALSE(model_.Settings().sortReverse);
    EXPECT_EQ(Shown(), (std::vector<std::string>{"a.mp3", "b.mp3", "c.mp3"}));
    EXPECT_EQ(observer_.mirror, Shown());

    model_.ClickColumn(8);  // no such shown column: nothing happens
    EXPECT_EQ(model_.Settings().sortColumnId, 0);
}

TEST_F(FileListModelTest, FullSortKeepsHiddenRowsBehindTheShownOnes) {
    lister_.folders["/four"] = {{"d.mp3", 0}, {"c.mp3", 0}, {"b.mp3", 0}, {"a.mp3", 0}};
    model_.LoadFolder("/four", true, false);
    Report("c.mp3", Record(1));
    Report("a.mp3", Record(2));
    for (const bool reverse : {false, true}) {
        ListSettings settings = model_.Settings();
        settings.sortColumnId = 0;
        settings.sortReverse = reverse;
        model_.SetSettings(settings);
        ASSERT_EQ(model_.DisplayedCount(), 2);
        EXPECT_EQ(Shown(), reverse ? (std::vector<std::string>{"c.mp3", "a.mp3"})
                                   : (std::vector<std::string>{"a.mp3", "c.mp3"}));
        EXPECT_FALSE(model_.Row(2).done);
        EXPECT_FALSE(model_.Row(3).done);
    }
    // A late result still finds its place among the re-sorted rows.
    Report("b.mp3", Record(3));
    EXPECT_EQ(Shown(), (std::vector<std::string>{"c.mp3", "b.mp3", "a.mp3"}));
}

TEST_F(FileListModelTest, TagRevisionSortsByTheRevisionAlone) {
    ListSettings settings = model_.Settings();
    settings.sortColumnId = 102;
    model_.SetSettings(settings);
    model_.LoadFolder("/music", true, false);
    Mp3Info low = Record(1);
    low.lameRevision = 1;
    low.lameVbrMethod = 9;
    Mp3Info high = Record(1);
    high.lameRevision = 2;
    high.lameVbrMethod = 1;
    Report("a.mp3", high);
    Report("b.mp3", low);
    EXPECT_EQ(Shown(), (std::vector<std::string>{"b.mp3", "a.mp3"}));
}

// ---------------------------------------------------------------------------------------------
// Cells, selection, settings

TEST_F(FileListModelTest, CellsShowTheirTextSlotAndTheQualityColumnNothing) {
    model_.LoadFolder("/music", true, false);
    Report("a.mp3", Record(42));
    EXPECT_EQ(model_.CellText(0, 0), "a.mp3");
    EXPECT_EQ(model_.CellText(0, 4), "42");  // Length, slot 3
    model_.Displayed(0).texts[kSlotQuality] = "Good";
    EXPECT_EQ(model_.CellText(0, 7), "");
}

TEST_F(FileListModelTest, SelectAllSetsAndClearsEveryShownRow) {
    model_.LoadFolder("/music", true, false);
    Report("a.mp3", Record(1));
    Report("b.mp3", Record(2));
    model_.SelectAll(true);
    EXPECT_TRUE(model_.Displayed(0).selected);
    EXPECT_TRUE(model_.Displayed(1).selected);
    EXPECT_FALSE(RowNamed("c.mp3")->selected);
    model_.SelectAll(false);
    EXPECT_FALSE(model_.Displayed(0).selected);
    EXPECT_FALSE(model_.Displayed(1).selected);
}

TEST_F(FileListModelTest, TheWorkerLearnsTheRowOptions) {
    FakeWorker worker;
    FileListObserver quiet;
    FileListModel model(worker, lister_, quiet);
    EXPECT_EQ(worker.options, (std::pair<bool, bool>{false, true}));  // the defaults
    ListSettings settings = model.Settings();
    settings.monoQuality = true;
    settings.readAllUnknown = false;
    model.SetSettings(settings);
    EXPECT_EQ(worker.options, (std::pair<bool, bool>{true, false}));
    CIniFile ini;
    ini.SetInt("list_settings", "monoquality", 0);
    model.LoadSettings(ini);
    EXPECT_EQ(worker.options, (std::pair<bool, bool>{false, true}));
}

TEST_F(FileListModelTest, SettingsTravelThroughTheSettingsInterface) {
    CIniFile ini;
    ini.SetInt("list_settings", "frameres", 250);
    ini.SetString("list_settings", "filetypes", ".mp3;");
    ini.SetInt("list_settings", "num_columns22_", 2);
    ini.SetInt("list_settings", "colid2_0", 5);
    ini.SetInt("list_settings", "colid2_1", 0);
    CWindowWithSettings& window = model_;
    window.LoadSettings(ini);
    EXPECT_EQ(model_.Settings().frameres, 250);
    EXPECT_EQ(model_.Columns().ShownIds(), (std::vector<int>{5, 0}));
    model_.LoadFolder("/music", true, false);
    EXPECT_EQ(LastRequest().frameBudget, 250);
    EXPECT_FALSE(LastRequest().walk);

    CIniFile saved;
    window.SaveSettings(saved);
    EXPECT_EQ(saved.GetInt("list_settings", "frameres", 0), 250);
    EXPECT_EQ(saved.GetInt("list_settings", "colid2_0", -1), 5);
}

}  // namespace
}  // namespace vornik
