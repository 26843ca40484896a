// SPDX-License-Identifier: GPL-3.0-or-later
#include "file_list_model.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace vornik {
namespace {

using Strings = std::vector<std::string>;
using K = DisplayChange::Kind;
using Changes = std::vector<DisplayChange>;

// Keeps every batch the list posts, and the order of posts and stops.
class FakeWorker : public ListWorkerPort {
  public:
    void Post(std::unique_ptr<ListRequest> request) override {
        calls.push_back("post");
        requests.push_back(std::move(request));
    }
    void StopProcessing() override { calls.push_back("stop"); }

    // The latest batch's "monoquality" and "readallunknown".
    std::pair<bool, bool> options() const {
        return {requests.back()->monoQuality, requests.back()->readAllUnknown};
    }

    std::vector<std::unique_ptr<ListRequest>> requests;
    Strings calls;
};

struct FakeLister : FolderLister {
    std::optional<std::vector<FolderEntry>> List(const std::string& folder) const override {
        return folders.count(folder) ? std::make_optional(folders.at(folder)) : std::nullopt;
    }
    std::map<std::string, std::vector<FolderEntry>> folders;
};

// Records what the list tells its window, and checks every announced change against the shown
// names, as a table view relies on it.
class RecordingObserver : public FileListObserver {
  public:
    void DisplayAboutToChange(const DisplayChange& change) override {
        EXPECT_EQ(Shown(), shown_);  // nothing changed before it was announced
        changes.push_back(change);
    }
    void DisplayChanged(const DisplayChange& c) override {
        const auto at = [this](int index) { return shown_.begin() + index; };
        if (c.kind == K::Insert) {
            shown_.insert(at(c.index), model->Displayed(c.index).fileName);
        } else if (c.kind == K::Remove) {
            shown_.erase(at(c.index));
        } else if (c.kind == K::Move) {
            const std::string name = shown_.at(static_cast<std::size_t>(c.index));
            shown_.erase(at(c.index));
            shown_.insert(at(c.before - (c.before > c.index)), name);
        } else if (c.kind == K::Update) {
            changes.push_back(c);
        } else {
            shown_ = Shown();  // Reset, Layout
        }
        EXPECT_EQ(Shown(), shown_);  // the change was the one announced
    }
    void SetStatusText(int pane, const std::string& text) override {
        events.push_back("status " + std::to_string(pane) + " " + text);
    }
    void Animate(bool play) override { events.push_back(play ? "animate 1" : "animate 0"); }
    void AutoSizeFirstColumn() override { events.push_back("autosize"); }

    Strings Shown() const {
        Strings names;
        for (int i = 0; i < model->DisplayedCount(); ++i) {
            names.push_back(model->Displayed(i).fileName);
        }
        return names;
    }

    const FileListModel* model = nullptr;
    Changes changes;
    Strings events;

  private:
    Strings shown_;  // as the announcements have it
};

constexpr int kLength = 4;   // attribute id of the Length column (sorts by duration)
constexpr int kBitrate = 2;  // attribute id of the Bitrate column (sorts by avgBitrate)
constexpr std::int64_t kMiB = 1048576;

Mp3Info Record(float duration, int avgBitrate = 128, std::int64_t fileSize = kMiB,
               bool scanComplete = true) {
    Mp3Info r{};
    std::tie(r.duration, r.avgBitrate, r.fileSize, r.scanComplete, r.qualityFigure) =
        std::make_tuple(duration, avgBitrate, fileSize, scanComplete, 2);
    return r;
}

// A record of a scan that stopped at its frame budget.
Mp3Info Partial(float duration) {
    return Record(duration, 128, kMiB, /*scanComplete=*/false);
}

class FileListModelTest : public testing::Test {
  protected:
    FileListModelTest() : model_(worker_, lister_, observer_) {
        observer_.model = &model_;
        lister_.folders["/music"] = {{"b.mp3", 10}, {"a.mp3", 20}, {"c.mp3", 30}};
        Set([](ListSettings& s) { s.sortColumnId = kLength; });
        observer_.changes.clear();
    }

    template <typename F>
    void Set(F change) {
        ListSettings settings = model_.Settings();
        change(settings);
        model_.SetSettings(settings);
    }

    bool Fill(const std::string& folder = "/music", bool clear = true) {
        return model_.LoadFolder(folder, clear, /*completeScan=*/false);
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

    // What the row named `name` was last posted as.
    ListRowRef RefOf(const std::string& name) {
        const _LVItemData* row = RowNamed(name);
        return row != nullptr ? ListRowRef{row->id, row->generation} : ListRowRef{};
    }

    // The worker's result for the row named `name`, answering its latest request unless told.
    bool Report(const std::string& name, const Mp3Info& record, bool last = false,
                std::optional<ListRowRef> ref = std::nullopt,
                RowContent content = RowContent::Audio) {
        auto result = std::make_unique<ListItemResult>();
        result->ref = ref.value_or(RefOf(name));
        result->content = content;
        result->record = record;
        result->texts.Set(kSlotName, name);
        result->texts.Set(kSlotLength, std::to_string(static_cast<int>(record.duration)));
        return model_.ItemDone(std::move(result), last);
    }

    // Fills "/music" and reports a, b and c (the last of the batch) with these records.
    void FillMusic(const Mp3Info& a, const Mp3Info& b, const Mp3Info& c) {
        Fill();
        Report("a.mp3", a);
        Report("b.mp3", b);
        Report("c.mp3", c, /*last=*/true);
    }

    // The latest batch: its rows' names, frame budget and walk flag.
    std::tuple<Strings, int, bool> Batch() const {
        const ListRequest& r = *worker_.requests.back();
        Strings names;
        for (const ListRowRequest& row : r.rows) {
            names.push_back(row.name);
        }
        return {names, r.frameBudget, r.walk};
    }
    Strings Shown() const { return observer_.Shown(); }
    // The events since the last call.
    Strings Events() { return std::exchange(observer_.events, {}); }

    FakeWorker worker_;
    FakeLister lister_;
    RecordingObserver observer_;
    FileListModel model_;
};

TEST_F(FileListModelTest, FillMakesHiddenRowsOfWantedFilesAndPostsThemAsOneBatch) {
    lister_.folders["/mixed"] = {{"one.mp3", 1}, {"TWO.MP3", 2},  {"notes.txt", 3},
                                 {"README", 4},  {"four.mpc", 5}, {"five.mp3.bak", 6}};
    ASSERT_TRUE(Fill("/mixed"));
    EXPECT_EQ(worker_.calls, (Strings{"stop", "post"}));
    EXPECT_EQ(Events(), (Strings{"animate 0", "animate 1"}));
    ASSERT_EQ(model_.RowCount(), 3u);
    const Strings names = {"one.mp3", "TWO.MP3", "four.mpc"};
    for (std::size_t i = 0; i < 3; ++i) {
        const _LVItemData& row = model_.Row(i);
        EXPECT_EQ(std::make_tuple(row.fileName, row.Folder(), row.fullPath),
                  std::make_tuple(names[i], std::string("/mixed"), "/mixed/" + names[i]));
        EXPECT_FALSE(row.done);
    }
    // Encoder, Bitrate, Frames, Length and Quality need the walk.
    EXPECT_EQ(Batch(), std::make_tuple(names, 1000, true));
    // Each request carries a copy of its row's path, and the row's id.
    EXPECT_EQ(worker_.requests.back()->rows[1].path, "/mixed/TWO.MP3");
    EXPECT_EQ(worker_.requests.back()->rows[1].ref, (ListRowRef{model_.Row(1).id, 1}));
    EXPECT_EQ(model_.CurrentFolder(), "/mixed");

    // A folder without wanted files: an empty batch all the same, no animation, and its own
    // summary in place of the previous folder's.
    lister_.folders["/empty"] = {{"cover.jpg", 100}};
    ASSERT_TRUE(Fill("/empty"));
    EXPECT_EQ(Batch(), std::make_tuple(Strings{}, 1000, true));
    EXPECT_EQ(Events(), (Strings{"animate 0", "status 0 0 files, 0.0 MB, 0.0 kbps", "autosize"}));
}

TEST_F(FileListModelTest, FrameBudgetFollowsFrameresAndCompleteScan) {
    Set([](ListSettings& s) { s.frameres = 70000; });  // more than 16 bits hold
    Fill();
    EXPECT_EQ(std::get<1>(Batch()), 70000);
    model_.LoadFolder("/music", true, /*completeScan=*/true);
    EXPECT_EQ(std::get<1>(Batch()), 0);
    Set([](ListSettings& s) { s.frameres = -5; });
    Fill();
    EXPECT_EQ(std::get<1>(Batch()), 0);
}

TEST_F(FileListModelTest, ReportedRowsAreShownInSortedOrder) {
    Fill();
    Events();
    ASSERT_TRUE(Report("b.mp3", Record(60)));
    ASSERT_TRUE(Report("a.mp3", Record(61)));
    EXPECT_EQ(Shown(), (Strings{"b.mp3", "a.mp3"}));
    ASSERT_TRUE(Report("c.mp3", Record(59), /*last=*/true));
    EXPECT_EQ(Shown(), (Strings{"c.mp3", "b.mp3", "a.mp3"}));
    EXPECT_EQ(observer_.changes, (Changes{{K::Insert, 0}, {K::Insert, 1}, {K::Insert, 0}}));
    // The last row: the all-done step writes the summary, then the animation stops.
    EXPECT_EQ(Events(), (Strings{"status 0 1 read, 2 to go", "status 0 2 read, 1 to go",
                                 "status 0 3 files, 3.0 MB, 128.0 kbps", "autosize", "animate 0"}));
}

// With two workers each marks the last row of its own share: the animation runs until every
// row of the batch is answered, a file without audio included, which keeps its row and is
// counted apart.
TEST_F(FileListModelTest, AnimationStopsWhenTheWholeBatchIsAnswered) {
    Fill();
    Events();
    ASSERT_TRUE(Report("a.mp3", Record(60), /*last=*/true));
    ASSERT_TRUE(Report("b.mp3", Mp3Info{}, false, std::nullopt, RowContent::NoAudio));
    EXPECT_EQ(Events(), (Strings{"status 0 1 read, 2 to go", "status 0 2 read, 1 to go"}));
    ASSERT_TRUE(Report("c.mp3", Record(59), /*last=*/true));
    EXPECT_EQ(Events(), (Strings{"status 0 3 files, 1 without MPEG audio, 2.0 MB, 128.0 kbps",
                                 "autosize", "animate 0"}));
    EXPECT_EQ(model_.RowCount(), 3u);
    EXPECT_EQ(RowNamed("b.mp3")->content, RowContent::NoAudio);
}

TEST_F(FileListModelTest, ARowGoesAfterTheRowsItComparesEqualToInEitherDirection) {
    lister_.folders["/same"] = {{"1.mp3", 0}, {"2.mp3", 0}, {"3.mp3", 0}, {"4.mp3", 0}};
    for (const bool reverse : {false, true}) {
        Set([reverse](ListSettings& s) { s.sortReverse = reverse; });
        Fill("/same");
        Report("3.mp3", Record(60));
        Report("1.mp3", Record(60));
        Report("4.mp3", Record(reverse ? 90 : 10));
        Report("2.mp3", Record(60));
        EXPECT_EQ(Shown(), (Strings{"4.mp3", "3.mp3", "1.mp3", "2.mp3"})) << reverse;
    }
}

// Results of an earlier request, or for a row that a clearing fill removed, change nothing.
TEST_F(FileListModelTest, ResultsThatNoLongerCountAreIgnored) {
    lister_.folders["/other"] = {{"x.mp3", 1}};
    Fill("/music", /*clear=*/false);
    const ListRowRef first = RefOf("a.mp3");
    Fill("/other", /*clear=*/false);  // the music rows stay, hidden
    EXPECT_FALSE(Report("a.mp3", Record(60), true, first));
    EXPECT_TRUE(observer_.changes.empty());
    EXPECT_TRUE(Report("x.mp3", Record(60)));
    EXPECT_EQ(Shown(), (Strings{"x.mp3"}));

    const ListRowRef old = RefOf("a.mp3");
    Fill();
    Events();
    EXPECT_FALSE(Report("a.mp3", Record(60), false, old));
    EXPECT_EQ(model_.RowCount(), 3u);
    EXPECT_EQ(model_.DisplayedCount(), 0);
    EXPECT_TRUE(Events().empty());
}

// A complete scan of shown rows while the fill still runs: both batches count, and the fill's
// remaining rows still arrive.
TEST_F(FileListModelTest, CompleteScanDuringAFillKeepsTheRestOfTheFill) {
    Fill();
    Report("a.mp3", Partial(10));
    ASSERT_EQ(model_.CompleteScan({0}), 1);
    EXPECT_EQ(worker_.calls, (Strings{"stop", "post", "post"}));  // the fill is not stopped
    ASSERT_TRUE(Report("b.mp3", Record(20)));
    ASSERT_TRUE(Report("a.mp3", Record(25)));
    ASSERT_TRUE(Report("c.mp3", Record(30), true));
    EXPECT_EQ(Shown(), (Strings{"b.mp3", "a.mp3", "c.mp3"}));
    EXPECT_EQ(Events().back(), "animate 0");
}

TEST_F(FileListModelTest, RescannedShownRowMovesToItsNewPlace) {
    FillMusic(Partial(10), Record(20), Record(30));
    EXPECT_EQ(model_.CompleteScan({}), 0);          // nothing selected: nothing posted
    EXPECT_EQ(model_.CompleteScan({-1, 3, 7}), 0);  // no shown rows
    observer_.changes.clear();
    // Row 1 was scanned to its end: not posted again.
    ASSERT_EQ(model_.CompleteScan({0, 1}), 1);
    ASSERT_EQ(worker_.requests.size(), 2u);
    EXPECT_EQ(Batch(), std::make_tuple(Strings{"a.mp3"}, 0, true));

    ASSERT_TRUE(Report("a.mp3", Record(25), true));
    EXPECT_EQ(Shown(), (Strings{"b.mp3", "a.mp3", "c.mp3"}));
    EXPECT_EQ(observer_.changes, (Changes{{K::Move, 0, 2}}));

    // Rescanned to the same place: the row changes where it stands.
    observer_.changes.clear();
    model_.Displayed(1).record.scanComplete = false;
    ASSERT_EQ(model_.CompleteScan({1}), 1);
    ASSERT_TRUE(Report("a.mp3", Record(21), true));
    EXPECT_EQ(observer_.changes, (Changes{{K::Update, 1}}));
}

TEST_F(FileListModelTest, AllDoneWritesTheSummaryAndAutoSizesWhenAsked) {
    lister_.folders["/one"] = {{"x.mp3", 1}};
    Fill("/one");
    Events();
    Report("x.mp3", Record(60, 192, 3 * kMiB, /*scanComplete=*/false), /*last=*/true);
    EXPECT_EQ(Events(), (Strings{"status 0 1 file, 3.0 MB, 192.0 kbps", "autosize", "animate 0"}));

    Set([](ListSettings& s) { s.autosize = false; });
    Fill("/one");
    Events();
    Report("x.mp3", Partial(60));
    EXPECT_EQ(Events(), (Strings{"status 0 1 file, 1.0 MB, 128.0 kbps", "animate 0"}));
    // The rows were not scanned to their end, but "readallinitial" is off.
    EXPECT_EQ(worker_.requests.size(), 2u);
    EXPECT_FALSE(model_.FullReadRequested());
}

TEST_F(FileListModelTest, ReadAllInitialRescansIncompleteRowsOnceAFill) {
    Set([](ListSettings& s) { s.readAllInitial = true; });
    Fill();
    Report("a.mp3", Partial(10));
    Report("b.mp3", Record(20));
    Events();
    Report("c.mp3", Partial(30), true);
    ASSERT_EQ(worker_.requests.size(), 2u);
    EXPECT_EQ(Batch(), std::make_tuple(Strings{"a.mp3", "c.mp3"}, 0, true));
    EXPECT_TRUE(model_.FullReadRequested());
    // The animation goes on through the full read.
    EXPECT_EQ(Events(), (Strings{"status 0 3 files, 3.0 MB, 128.0 kbps", "autosize", "animate 1"}));

    // The full read's results: still incomplete (cancelled, say), yet not posted again, and
    // the column is not sized again. Every row is shown during the full read, so each result
    // ends in the all-done step.
    Report("a.mp3", Partial(11));
    Report("c.mp3", Partial(31), true);
    EXPECT_EQ(worker_.requests.size(), 2u);
    EXPECT_EQ(Events(), (Strings{"status 0 3 files, 3.0 MB, 128.0 kbps",
                                 "status 0 3 files, 3.0 MB, 128.0 kbps", "animate 0"}));
    EXPECT_EQ(Shown(), (Strings{"a.mp3", "b.mp3", "c.mp3"}));

    // A new fill may ask again.
    Fill();
    EXPECT_FALSE(model_.FullReadRequested());
    Report("a.mp3", Partial(10));
    Report("b.mp3", Record(20));
    Report("c.mp3", Record(30), true);
    EXPECT_EQ(std::get<Strings>(Batch()), (Strings{"a.mp3"}));
}

TEST_F(FileListModelTest, StopInterruptsAndLeavesUnreportedRowsHidden) {
    Fill();
    Report("a.mp3", Record(10));
    worker_.calls.clear();
    Events();
    const ListRowRef late = RefOf("b.mp3");
    model_.Stop();
    EXPECT_EQ(worker_.calls, (Strings{"stop"}));
    EXPECT_EQ(Events(), (Strings{"animate 0", "status 0 Interrupted: 1 of 3 read"}));
    EXPECT_EQ(model_.DisplayedCount(), 1);
    EXPECT_EQ(model_.RowCount(), 3u);
    // A result already on its way when the stop came changes neither the rows nor the status.
    EXPECT_FALSE(Report("b.mp3", Record(20), false, late));
    EXPECT_TRUE(Events().empty());

    // A stop with nothing under way keeps the status as it is.
    worker_.calls.clear();
    model_.Stop();
    EXPECT_TRUE(worker_.calls.empty());
    EXPECT_TRUE(Events().empty());
}

TEST_F(FileListModelTest, RefreshRefillsTheCurrentFolderAndAFailedFillKeepsTheRows) {
    EXPECT_FALSE(model_.Refresh(false));
    EXPECT_TRUE(worker_.calls.empty());
    Fill("/music", /*clear=*/false);
    Report("a.mp3", Record(10));
    worker_.calls.clear();
    EXPECT_FALSE(Fill("/gone"));
    EXPECT_EQ(worker_.calls, (Strings{"stop"}));
    EXPECT_EQ(std::make_tuple(model_.RowCount(), model_.DisplayedCount()),
              std::make_tuple(std::size_t{3}, 1));
    EXPECT_EQ(model_.CurrentFolder(), "/music");

    ASSERT_TRUE(model_.Refresh(/*completeScan=*/true));
    EXPECT_EQ(model_.RowCount(), 3u);  // cleared first
    EXPECT_EQ(model_.DisplayedCount(), 0);
    EXPECT_EQ(std::get<1>(Batch()), 0);
}

TEST_F(FileListModelTest, FolderWatchRefillsOnlyWhenMatchingFilesChange) {
    EXPECT_FALSE(model_.CheckFolder());  // no folder yet
    Fill();
    EXPECT_FALSE(model_.CheckFolder());
    lister_.folders["/music"].push_back({"cover.jpg", 5});  // not a matching file
    EXPECT_FALSE(model_.CheckFolder());
    EXPECT_EQ(worker_.requests.size(), 1u);

    lister_.folders["/music"][0].size = 11;
    EXPECT_TRUE(model_.CheckFolder());
    EXPECT_EQ(worker_.requests.size(), 2u);
    EXPECT_EQ(std::get<1>(Batch()), 1000);
    EXPECT_FALSE(model_.CheckFolder());  // the refill took a new snapshot

    lister_.folders["/music"].push_back({"d.mp3", 5});
    EXPECT_TRUE(model_.CheckFolder());
    EXPECT_EQ(model_.RowCount(), 4u);

    // Changing the file types changes which files the watch compares.
    Set([](ListSettings& s) { s.fileTypes = ".mp3;.jpg;"; });
    EXPECT_TRUE(model_.CheckFolder());
    EXPECT_EQ(model_.RowCount(), 5u);

    // A folder that can no longer be listed looks empty; its refill fails and keeps the rows.
    lister_.folders.erase("/music");
    EXPECT_TRUE(model_.CheckFolder());
    EXPECT_EQ(model_.RowCount(), 5u);
}

TEST_F(FileListModelTest, ColumnClickTogglesTheSortColumnAndKeepsTheDirectionForOthers) {
    // Shown columns: Name, Encoder, Bitrate, Frames, Length, Size, Bad Last Frame, Quality.
    FillMusic(Record(30, 320), Record(20, 128), Record(10, 192));
    ASSERT_EQ(Shown(), (Strings{"c.mp3", "b.mp3", "a.mp3"}));
    const auto click = [this](int column, int sortId, bool reverse, const Strings& shown) {
        model_.ClickColumn(column);
        EXPECT_EQ(
            std::make_tuple(model_.Settings().sortColumnId, model_.Settings().sortReverse, Shown()),
            std::make_tuple(sortId, reverse, shown))
            << "column " << column;
    };
    click(4, kLength, true, {"a.mp3", "b.mp3", "c.mp3"});   // the sort column: reversed
    click(2, kBitrate, true, {"a.mp3", "c.mp3", "b.mp3"});  // another: same direction
    click(2, kBitrate, false, {"b.mp3", "c.mp3", "a.mp3"});
    click(0, 0, false, {"a.mp3", "b.mp3", "c.mp3"});  // Name
    click(8, 0, false, {"a.mp3", "b.mp3", "c.mp3"});  // no such shown column: nothing happens
    click(3, 9, false, {"a.mp3", "b.mp3", "c.mp3"});  // Frames, attribute 9
}

TEST_F(FileListModelTest, FullSortKeepsHiddenRowsBehindTheShownOnes) {
    lister_.folders["/four"] = {{"d.mp3", 0}, {"c.mp3", 0}, {"b.mp3", 0}, {"a.mp3", 0}};
    Fill("/four");
    Report("c.mp3", Record(1));
    Report("a.mp3", Record(2));
    for (const bool reverse : {false, true}) {
        Set([reverse](ListSettings& s) {
            std::tie(s.sortColumnId, s.sortReverse) = std::make_pair(0, reverse);
        });
        EXPECT_EQ(Shown(), reverse ? (Strings{"c.mp3", "a.mp3"}) : (Strings{"a.mp3", "c.mp3"}));
        EXPECT_FALSE(model_.Row(2).done || model_.Row(3).done);
    }
    // A late result still finds its place among the re-sorted rows.
    Report("b.mp3", Record(3));
    EXPECT_EQ(Shown(), (Strings{"c.mp3", "b.mp3", "a.mp3"}));
}

TEST_F(FileListModelTest, TagRevisionSortsByTheRevisionAlone) {
    Set([](ListSettings& s) { s.sortColumnId = 102; });
    Fill();
    Mp3Info low = Record(1);
    Mp3Info high = Record(1);
    std::tie(low.lameRevision, low.lameVbrMethod) = std::make_pair(1, 9);
    std::tie(high.lameRevision, high.lameVbrMethod) = std::make_pair(2, 1);
    Report("a.mp3", high);
    Report("b.mp3", low);
    EXPECT_EQ(Shown(), (Strings{"b.mp3", "a.mp3"}));
}

TEST_F(FileListModelTest, CellsAndSelectionOfShownRows) {
    Fill();
    Report("a.mp3", Record(42));
    Report("b.mp3", Record(43));
    EXPECT_EQ(model_.CellText(0, 0), "a.mp3");
    EXPECT_EQ(model_.CellText(0, 4), "42");  // Length, slot 3
    model_.Displayed(0).texts.Set(kSlotQuality, "Good");
    EXPECT_EQ(model_.CellText(0, 7), "Good");  // the word shows on the colour too
}

TEST_F(FileListModelTest, SettingsReachTheWorkerAndTravelThroughTheSettingsInterface) {
    Fill();
    EXPECT_EQ(worker_.options(), (std::pair<bool, bool>{false, true}));  // the defaults
    Set([](ListSettings& s) {
        std::tie(s.monoQuality, s.readAllUnknown) = std::pair{true, false};
    });
    Fill();
    EXPECT_EQ(worker_.options(), (std::pair<bool, bool>{true, false}));

    CIniFile ini;
    ini.SetInt("list_settings", "frameres", 250);
    ini.SetInt("list_settings", "num_columns22_", 2);
    ini.SetInt("list_settings", "colid2_0", 5);
    ini.SetInt("list_settings", "colid2_1", 0);
    SettingsKeeper& window = model_;
    window.LoadSettings(ini);
    Fill();
    EXPECT_EQ(worker_.options(), (std::pair<bool, bool>{false, true}));
    EXPECT_EQ(std::get<1>(Batch()), 250);
    EXPECT_FALSE(std::get<2>(Batch()));  // neither Size nor Name needs the walk

    CIniFile saved;
    window.SaveSettings(saved);
    EXPECT_EQ(std::make_pair(saved.GetInt("list_settings", "frameres", 0),
                             saved.GetInt("list_settings", "colid2_0", -1)),
              std::make_pair(250, 5));
}

}  // namespace
}  // namespace vornik
