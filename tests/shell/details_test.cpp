// SPDX-License-Identifier: GPL-3.0-or-later
// The details dialog: its pure layout and graph rules, and its flow with the worker.
#include <sys/stat.h>
#include <QApplication>
#include <QClipboard>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSlider>
#include <QTest>
#include <QTreeWidget>

#include "bitrate_graph.h"
#include "details_content.h"
#include "file_report.h"
#include "graph_geometry.h"
#include "histogram.h"
#include "histogram_layout.h"
#include "info_dlg.h"
#include "shell_test_support.h"
#include "stream_builder.h"
#include "vornik_app.h"
#include "vornik_view.h"
#include "zoom_spin.h"

namespace vornik {
namespace {

using test::TempFolder;
constexpr int kPatienceMs = 20000;

void WriteFrames(const std::string& path, const test::FrameShape& shape, int frames) {
    const std::vector<std::uint8_t> bytes = test::StreamBuilder().frames(shape, frames).data();
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

QString MessageBoxText() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* box = qobject_cast<QMessageBox*>(widget); box != nullptr && box->isVisible()) {
            return box->informativeText().isEmpty() ? box->text()
                                                    : box->text() + "\n" + box->informativeText();
        }
    }
    return {};
}

void CloseMessageBoxes() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* box = qobject_cast<QMessageBox*>(widget)) {
            box->close();
        }
    }
}

std::vector<std::int32_t> Raw(const std::vector<std::int32_t>& series, int k, bool median) {
    std::vector<std::int32_t> out;
    for (std::size_t i = 0; i < series.size(); ++i) {
        out.push_back(static_cast<std::int32_t>(SmoothedValue(series, i, k, median)));
    }
    return out;
}

}  // namespace

class DetailsTest : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void initTestCase() { RegisterWindows(); }

    void HistogramLayoutFollowsItsRules() {
        QVERIFY(LayOutHistogram(QRect(0, 0, 420, 200), {}, {}, 2, 0).bars.empty());

        const HistogramLayout layout =
            LayOutHistogram(QRect(0, 0, 420, 200), {10, 30, 60}, {"a", "b", "c", "d"}, 2, 0);
        QCOMPARE(layout.bars.size(), std::size_t{3});
        QCOMPARE(layout.baselineY, 175);
        QCOMPARE(layout.bars[0].rect.left(), 10);
        QCOMPARE(layout.bars[1].rect.left(), 143);   // width 400 / 3 = 133
        QCOMPARE(layout.bars[0].rect.right(), 143);  // neighbours share a column
        QCOMPARE(layout.bars[2].rect.top(), 30);     // the tallest reaches 30 below the top
        QCOMPARE(layout.bars[2].rect.bottom(), 175);
        QStringList percents;
        QStringList labels;
        for (const HistogramBar& bar : layout.bars) {
            percents << bar.percent;
            labels << bar.label;
        }
        QCOMPARE(percents, (QStringList{"10%", "30%", "60%"}));
        QCOMPARE(labels, (QStringList{"a", "b", "c"}));  // the fourth label has no bar
        QCOMPARE(layout.bars[2].colourIndex, 0);         // colours repeat
        QCOMPARE(layout.fontTenthsOfPoint, 80);

        // One decimal; a bar 10 pixels tall or less keeps its label but shows no share; values
        // past the labels have none.
        const HistogramLayout fine =
            LayOutHistogram(QRect(0, 0, 420, 200), {1, 299, 700}, {"long"}, 0, 1);
        QCOMPARE(fine.bars[0].percent, QString());
        QCOMPARE(fine.bars[0].label, QString("long"));
        QCOMPARE(fine.bars[1].percent, QString("29.9%"));
        QCOMPARE(fine.bars[2].label, QString());
        QCOMPARE(fine.bars[2].colourIndex, -1);

        // Equal counts all reach the top; zero counts stay on the baseline.
        const HistogramLayout equal = LayOutHistogram(QRect(0, 0, 420, 200), {5, 5}, {}, 2, 0);
        QCOMPARE(equal.bars[0].rect.top(), 30);
        const HistogramLayout zero = LayOutHistogram(QRect(0, 0, 420, 200), {0, 0}, {}, 2, 0);
        QCOMPARE(zero.bars[0].rect.top(), 175);
        QCOMPARE(zero.bars[0].percent, QString());
    }

    void TimeAxisTicksAndLabels() {
        // 8 seconds on a graph 500 pixels wide: ticks every second, one decimal.
        const GraphWindow window{20000, 2000, 10000};
        const int width = PlotAreaOf(QRect(0, 0, 500, 300)).timeWidth;
        QCOMPARE(width, 430);
        QCOMPARE(TickInterval(window.Span(), width), std::int64_t{1000});
        const std::vector<TimeTick> ticks = TimeTicks(window, width);
        QCOMPARE(ticks.front(), (TimeTick{30, "2.0"}));
        QCOMPARE(ticks[1], (TimeTick{83, "3.0"}));
        QCOMPARE(ticks.back().label, QString("10.0"));
        QCOMPARE(TimeUnit(window), QString("s"));

        const std::vector<std::pair<std::int64_t, std::int64_t>> intervals = {
            {400, 100},     {431, 500},      {4301, 1000},    {12901, 2000},
            {25801, 10000}, {129001, 30000}, {258001, 60000}, {1548001, 300000}};
        for (const auto& [span, interval] : intervals) {
            QCOMPARE(TickInterval(span, width), interval);
        }

        const GraphWindow minutes{125000, 0, 125000};
        QCOMPARE(TimeLabel(65000, minutes), QString("1:05"));
        QCOMPARE(TimeUnit(minutes), QString("m:s"));
        QCOMPARE(TimeLabel(1234, GraphWindow{5000, 1000, 1400}), QString("1.234"));
        QVERIFY(TimeTicks(GraphWindow{}, width).empty());
    }

    void ValueAxisLabelsNeverOverlap() {
        const PlotArea area = PlotAreaOf(QRect(0, 0, 500, 145));  // 100 pixels high
        const std::vector<ValueLabel> labels = ValueLabels({32, 40, 48, 96, 320}, area);
        // 32 at y 110, 40 would be 12 pixels above the bottom edge of 32's text: skipped.
        QCOMPARE(labels.front(), (ValueLabel{110, 32}));
        QVERIFY(std::none_of(labels.begin(), labels.end(),
                             [](const ValueLabel& label) { return label.value == 40; }));
        QCOMPARE(labels.back().value, 320);
        QCOMPARE(ScaleTop({32, 320}), 340);

        // The short blocks' big_values get a scale fitted to them, with their unit.
        const std::vector<std::pair<int, std::vector<int>>> fitted = {
            {0, {1}},
            {5, {1, 2, 3, 4, 5}},
            {7, {2, 4, 6, 8}},
            {100, {20, 40, 60, 80, 100}},
            {288, {50, 100, 150, 200, 250, 300}},
        };
        for (const auto& [largest, expected] : fitted) {
            QCOMPARE(FittedLabels(largest), expected);
        }
        GraphSeries shortBlocks;
        shortBlocks.values = {0, 0, 37, 0, 12};
        QCOMPARE(ValueLabelsOf(GraphKind::ShortBlocks, Mp3Info{}, shortBlocks).back(), 40);
        QCOMPARE(UnitOf(GraphKind::ShortBlocks), QString("big_values"));
    }

    void SmoothingUsesClampedNeighbours() {
        const std::vector<std::int32_t> series{10, 20, 30, 40, 90};
        QCOMPARE(Raw(series, 0, false), series);
        QCOMPARE(Raw(series, 0, true), series);
        QCOMPARE(Raw(series, 1, true), series);  // a median over one neighbour shows the frame
        QCOMPARE(SmoothedValue(series, 0, 1, false), (10 + 10 + 20) / 3.0);
        QCOMPARE(SmoothedValue(series, 4, 1, false), (40 + 90 + 90) / 3.0);
        QCOMPARE(SmoothedValue(series, 0, 2, true), 10.0);  // 10 10 10 20 30
        QCOMPARE(SmoothedValue(series, 4, 2, true), 90.0);  // 30 40 90 90 90
        QCOMPARE(SmoothedValue(series, 2, 2, true), 30.0);
        QCOMPARE(SmoothedValue({}, 0, 3, false), 0.0);
    }

    void ZoomScrollAndDragKeepTheWindowInTheFile() {
        GraphWindow window{100000, 0, 100000};
        QVERIFY(!SettleWindow(window).visible);
        Zoom(window, 2);
        const GraphScroll scroll = Zoom(window, 2);
        QCOMPARE(window, (GraphWindow{100000, 0, 25000}));
        QCOMPARE(ZoomFactorShown(window), 4);
        QVERIFY(scroll.visible);
        QCOMPARE(scroll.pageSize, 250);

        QCOMPARE(Drag(window, 0, 100, 430).position, 0);  // not before the start
        Drag(window, 50000, 43, 430);                     // 43 px = 2500 ms back
        QCOMPARE(window.start, std::int64_t{47500});
        ScrollBy(window, 1000000);
        QCOMPARE(window, (GraphWindow{100000, 75000, 100000}));
        QCOMPARE(ScrollTo(window, 100).position, 100);
        QCOMPARE(window.start, std::int64_t{10000});

        // Zooming out near the end stays in the file; 49/50 of it shows the whole file.
        ScrollBy(window, 1000000);
        Zoom(window, 0.5);
        QCOMPARE(window, (GraphWindow{100000, 50000, 100000}));
        QVERIFY(!Zoom(window, 0.5).visible);
        QCOMPARE(window, (GraphWindow{100000, 0, 100000}));
        GraphWindow nearly{100000, 0, 98000};
        QVERIFY(!SettleWindow(nearly).visible);
        QCOMPARE(nearly.end, std::int64_t{100000});
        QCOMPARE(ZoomFactorShown(GraphWindow{}), 0);

        // Around the cursor: the time under it stays put.
        GraphWindow around{100000, 0, 100000};
        const PlotArea area = PlotAreaOf(QRect(0, 0, 470, 200));  // x0 30, x1 430
        ZoomAround(around, 2, 330, area);                         // 75% of the plot
        QCOMPARE(around, (GraphWindow{100000, 37500, 87500}));
    }

    void ColumnsTakeTheirFrameValueAndColour() {
        const PlotArea area = PlotAreaOf(QRect(0, 0, 170, 145));  // x0 30, x1 130, height 100
        GraphSeries series;
        series.values = {100, 200};
        series.modeExtensions = {2, 0};
        series.blockKinds = {0, 1};
        const GraphWindow whole{1000, 0, 1000};
        GraphStyle style;
        std::vector<GraphColumn> columns = GraphColumns(series, style, whole, area, 200);
        QCOMPARE(columns.size(), std::size_t{100});
        QCOMPARE(columns.front(), (GraphColumn{31, 70, false}));  // long blocks: base
        QCOMPARE(columns.back(), (GraphColumn{130, 20, true}));
        style.byJointStereo = true;  // mid/side in use: base
        columns = GraphColumns(series, style, whole, area, 200);
        QVERIFY(!columns.front().highlight);
        QVERIFY(columns.back().highlight);
        // A window past the end leaves the rest empty; no flags: all highlight.
        series.blockKinds.clear();
        columns = GraphColumns(series, style, GraphWindow{1000, 500, 1500}, area, 200);
        QCOMPARE(columns.size(), std::size_t{50});
        QVERIFY(std::all_of(columns.begin(), columns.end(),
                            [](const GraphColumn& c) { return c.highlight; }));
        QVERIFY(GraphColumns(series, style, GraphWindow{}, area, 200).empty());
    }

    // Every layer on its own frame length: MP1 and MPEG-2 MP2 files get their real length.
    void PlayTimeUsesEachLayersFrameLength() {
        struct Case {
            int layer;
            bool mpeg1;
            int sampleRate;
            std::int64_t ms;
        };
        for (const Case& c : std::vector<Case>{{1, true, 48000, 800},
                                               {2, true, 48000, 2400},
                                               {2, false, 24000, 4800},
                                               {3, true, 44100, 2612},
                                               {3, false, 22050, 2612}}) {
            Mp3Info record{};
            record.layer = c.layer;
            record.mpeg1 = c.mpeg1;
            record.sampleRate = c.sampleRate;
            record.frameCount = 100;
            QCOMPARE(PlayTimeMs(record), c.ms);
            record.duration = static_cast<float>(c.ms) / 500.0f;   // twice as long: half done
            QVERIFY(std::abs(ProgressPercent(record) - 50) <= 1);  // truncated, float duration
        }
        QCOMPARE(ProgressPercent(Mp3Info{}), 0);
    }

    void ContentOfTheListsAndHistograms() {
        Mp3Info record{};
        record.layer = 3;
        record.mpeg1 = true;
        record.bitrateHist[0] = 10;
        AttributeTexts texts;
        texts[kSlotFrequency] = "44100";
        texts[kSlotBitrate] = "0";
        const auto rows = AttributeRows(record, texts);
        QCOMPARE(rows.size(), std::size_t{12});
        QCOMPARE(rows[1], (std::pair<QString, QString>{"Average Bitrate", "Free"}));
        QCOMPARE(rows[3].second, QString("44100 Hz"));
        QCOMPARE(rows.back().first, QString("Encoder (guess)"));
        const HistogramData bitrates = BitrateHistogram(record);
        QCOMPARE(bitrates.values.size(), std::size_t{16});
        QCOMPARE(bitrates.labels.size(), 15);
        QCOMPARE(bitrates.labels.at(1), QString("32"));
        QCOMPARE(bitrates.labels.at(14), QString("320"));
        QCOMPARE(InfoFlags(record).back(), (std::pair<QString, bool>{"Bad Last Frame", true}));
        QCOMPARE(LegendTexts(true).first, QString("mid/side"));
        QCOMPARE(LegendTexts(false).second, QString("short"));

        CHistogram histogram;
        histogram.SetData(BlockTypeHistogram(Mp3Info{}));
        QCOMPARE(histogram.TextAlternative(),
                 QString("Block Type, long: 0.0%, short: 0.0%, mixed: 0.0%"));
    }

    // Progress, done, Copy Info and Refresh over a generated file.
    void DialogScansFillsAndRefreshes() {
        TempFolder folder;
        const std::string path = folder / "stereo.mp3";
        test::FrameShape shape;
        shape.mode = 0;
        WriteFrames(path, shape, 4500);
        CInfoDlg dialog(path, DetailsSettings{.radio = true});
        QSignalSpy closed(&dialog, &CInfoDlg::DetailsClosed);
        dialog.show();
        QVERIFY(!dialog.RefreshButton()->isEnabled());
        QTRY_VERIFY_WITH_TIMEOUT(!dialog.Graph(0)->Series().values.empty(), kPatienceMs);
        QCOMPARE(dialog.Graph(0)->Series().values.size(), std::size_t{4499});
        QVERIFY(dialog.RefreshButton()->isEnabled());
        QVERIFY(!dialog.Progress()->isVisible());
        QCOMPARE(dialog.Attributes()->topLevelItemCount(), 12);
        QCOMPARE(dialog.Attributes()->topLevelItem(3)->text(1), QString("44100 Hz"));
        QVERIFY(dialog.Graph(0)->Window().total > 100000);

        // Not joint stereo: block type only, and no joint stereo histogram.
        QVERIFY(!dialog.JointStereoRadio()->isEnabled());
        QVERIFY(dialog.BlockTypeRadio()->isChecked());
        QVERIFY(dialog.Histogram(2)->isHidden());

        dialog.CopyInfo();
        QCOMPARE(QApplication::clipboard()->text().toStdString(), CompleteFileReport(path).text);

        // The graph controls act on all three graphs.
        dialog.Tabs()->setCurrentIndex(CInfoDlg::BitrateTab);
        QVERIFY(dialog.GraphControls()->isVisible());
        dialog.Zoom()->stepBy(1);
        dialog.Zoom()->stepBy(1);
        QCOMPARE(dialog.Zoom()->value(), 4);
        QCOMPARE(dialog.Graph(2)->Window().Span() * 4, dialog.Graph(2)->Window().total);
        dialog.SmoothingSlider()->setValue(3);
        dialog.MedianRadio()->setChecked(true);
        QCOMPARE(dialog.Graph(1)->Style().smoothing, 3);
        QVERIFY(dialog.Graph(1)->Style().median);

        dialog.Refresh();
        QVERIFY(!dialog.RefreshButton()->isEnabled());
        QVERIFY(dialog.Graph(0)->Series().values.empty());
        QTRY_VERIFY_WITH_TIMEOUT(!dialog.Graph(0)->Series().values.empty(), kPatienceMs);
        QVERIFY(dialog.RefreshButton()->isEnabled());

        dialog.reject();
        QTRY_COMPARE_WITH_TIMEOUT(closed.size(), 1, kPatienceMs);
        const DetailsSettings kept = dialog.Settings();
        QCOMPARE(kept.track, 3);
        QVERIFY(kept.median);
        QCOMPARE(kept.initTab, int(CInfoDlg::BitrateTab));
    }

    // The view hears of a closed dialog only once its worker has ended; with two dialogs, the
    // one closed last decides the stored settings.
    void ClosingReachesTheViewAfterTheWorkerEnds() {
        TempFolder folder;
        const std::string path = folder / "joint.mp3";
        test::FrameShape shape;
        shape.mode = 1;
        shape.modeExtension = 2;
        WriteFrames(path, shape, 30000);
        CVornikView view;
        view.ViewOpenDetails(path);
        view.ViewOpenDetails(path);
        QCOMPARE(view.OpenDetails().size(), std::size_t{2});
        CInfoDlg* first = view.OpenDetails()[0];
        CInfoDlg* second = view.OpenDetails()[1];
        first->SmoothingSlider()->setValue(4);
        second->SmoothingSlider()->setValue(7);
        bool ended = false;
        connect(first, &CInfoDlg::DetailsClosed, this,
                [&ended](CInfoDlg* dialog) { ended = !dialog->Scanning(); });
        first->reject();  // most likely still scanning
        QTRY_VERIFY_WITH_TIMEOUT(view.OpenDetails().size() == 1, kPatienceMs);
        QVERIFY(ended);
        QTRY_VERIFY_WITH_TIMEOUT(!second->Graph(0)->Series().values.empty(), kPatienceMs);
        QVERIFY(second->JointStereoRadio()->isEnabled());
        QVERIFY(!second->Histogram(2)->isHidden());
        second->close();
        QTRY_VERIFY_WITH_TIMEOUT(view.OpenDetails().empty(), kPatienceMs);
        QCOMPARE(view.Settings().details.track, 7);
    }

    void FailuresAreShownByTheDialogAndItCloses() {
        TempFolder folder;
        const std::string empty = folder / "empty.mp3";
        std::ofstream(empty).close();
        const std::string pipe = folder / "pipe.mp3";
        QCOMPARE(::mkfifo(pipe.c_str(), 0600), 0);
        const std::vector<std::pair<std::string, QString>> cases = {
            {pipe, QString::fromStdString("Cannot read " + pipe + ":\r\nis not a regular file")},
            // The file is named, and why it cannot be shown.
            {empty, QString::fromStdString("Error processing file....\r\nempty file\n" + empty)},
            {folder / "gone.mp3",
             QString::fromStdString("File not found:\r\n" + folder / "gone.mp3")},
        };
        for (const auto& [path, text] : cases) {
            CVornikView view;
            view.ViewOpenDetails(path);
            QTRY_VERIFY_WITH_TIMEOUT(view.OpenDetails().empty(), kPatienceMs);
            QTRY_COMPARE_WITH_TIMEOUT(MessageBoxText(), text, kPatienceMs);
            CloseMessageBoxes();
        }
    }
};

}  // namespace vornik

QTEST_MAIN(vornik::DetailsTest)
#include "details_test.moc"
