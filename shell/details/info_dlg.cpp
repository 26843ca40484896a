// SPDX-License-Identifier: GPL-3.0-or-later
#include "info_dlg.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTabWidget>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "attribute_texts.h"
#include "bitrate_graph.h"
#include "colour_button.h"
#include "colour_word.h"
#include "file_report.h"
#include "histogram.h"
#include "local_path.h"
#include "log.h"
#include "zoom_spin.h"

namespace vornik {
namespace {

enum HistogramIndex { kBitrateHistogram, kBlockHistogram, kJointStereoHistogram };
constexpr int kMaxSmoothing = 25;

constexpr std::array<GraphKind, 3> kGraphKinds{GraphKind::Bitrate, GraphKind::Reservoir,
                                               GraphKind::ShortBlocks};

bool IsGraphTab(int tab) {
    return tab == CInfoDlg::BitrateTab || tab == CInfoDlg::ReservoirTab ||
           tab == CInfoDlg::ShortBlocksTab;
}

}  // namespace

CInfoDlg::CInfoDlg(const std::string& path, const DetailsSettings& settings, QWidget* parent)
    : QDialog(parent), path_(path), settings_(settings) {
    Log("CInfoDlg::OnInitDialog ");
    setWindowTitle(DisplayFileName(path));
    setModal(false);
    setSizeGripEnabled(true);

    for (auto& histogram : histograms_) {
        histogram = new CHistogram;
    }
    histograms_[kBlockHistogram]->SetColours({QColor(100, 202, 42), QColor(130, 227, 61)});
    histograms_[kJointStereoHistogram]->SetColours({QColor(202, 100, 42), QColor(227, 130, 61)});
    for (auto& graph : graphs_) {
        graph = new CBitrateGraph;
    }
    connect(graphs_[0], &CBitrateGraph::WindowChanged, this, &CInfoDlg::ShowZoom);

    tabs_ = new QTabWidget;
    tabs_->setUsesScrollButtons(false);  // every tab in view, also at the smallest size
    tabs_->addTab(histograms_[kBitrateHistogram], tr("Bit Histogram"));
    auto* otherInfo = new QWidget;
    auto* otherLayout = new QHBoxLayout(otherInfo);
    otherLayout->setContentsMargins(0, 0, 0, 0);
    otherLayout->addWidget(histograms_[kBlockHistogram]);
    otherLayout->addWidget(histograms_[kJointStereoHistogram]);
    tabs_->addTab(otherInfo, tr("Other Info"));
    tabs_->addTab(graphs_[0], tr("Bitrate"));
    tabs_->addTab(graphs_[1], tr("Reservoir"));
    tabs_->addTab(graphs_[2], tr("Short Blocks"));

    auto* right = new QVBoxLayout;
    right->addWidget(tabs_, 1);
    right->addWidget(MakeGraphControls());

    auto* top = new QHBoxLayout;
    top->addWidget(MakeAttributePane());
    top->addLayout(right, 1);

    progress_ = new QProgressBar;
    progress_->setRange(0, 100);
    progress_->setValue(0);
    refresh_ = new QPushButton(tr("Refresh"));
    copyInfo_ = new QPushButton(tr("Copy Info"));
    auto* close = new QPushButton(tr("Close"));
    connect(refresh_, &QPushButton::clicked, this, &CInfoDlg::Refresh);
    connect(copyInfo_, &QPushButton::clicked, this, &CInfoDlg::CopyInfo);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(progress_, 1);
    bottom->addStretch();  // the buttons keep their size once the bar is hidden
    bottom->addWidget(refresh_);
    bottom->addWidget(copyInfo_);
    bottom->addWidget(close);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addLayout(bottom);

    connect(tabs_, &QTabWidget::currentChanged, this, &CInfoDlg::ShowTab);
    ApplyGraphStyle();
    const int tab = settings_.initTab >= 0 && settings_.initTab < kTabCount ? settings_.initTab : 0;
    tabs_->setCurrentIndex(tab);
    ShowTab(tab);
    ShowRecord();
    Log("CInfoDlg::OnInitDialog beginning thread");
    StartScan();
}

CInfoDlg::~CInfoDlg() = default;

QWidget* CInfoDlg::MakeAttributePane() {
    attributes_ = new QTreeWidget;
    attributes_->setHeaderLabels({tr("Mp3 Attribute"), tr("Value")});
    attributes_->setRootIsDecorated(false);
    attributes_->setSelectionMode(QAbstractItemView::NoSelection);
    attributes_->setFocusPolicy(Qt::NoFocus);
    attributes_->header()->setSectionResizeMode(QHeaderView::Stretch);
    attributes_->setMinimumWidth(260);

    auto* info = new QGroupBox(tr("Info"));
    auto* grid = new QGridLayout(info);
    int index = 0;
    for (const auto& [name, on] : InfoFlags(record_)) {
        auto* box = new QCheckBox(name);
        // Read-only: they show the record, a click changes nothing.
        box->setAttribute(Qt::WA_TransparentForMouseEvents);
        box->setFocusPolicy(Qt::NoFocus);
        infoBoxes_.push_back(box);
        grid->addWidget(box, index / 2, index % 2);
        ++index;
    }

    auto* pane = new QWidget;
    auto* layout = new QVBoxLayout(pane);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(attributes_, 1);
    layout->addWidget(info);
    return pane;
}

QWidget* CInfoDlg::MakeGraphControls() {
    zoom_ = new ZoomSpin;
    connect(zoom_, &ZoomSpin::ZoomRequested, this, [this](double factor) {
        for (CBitrateGraph* graph : graphs_) {
            graph->ZoomBy(factor);
        }
    });
    smoothing_ = new QSlider(Qt::Horizontal);
    smoothing_->setRange(0, kMaxSmoothing);
    smoothing_->setValue(std::clamp(settings_.track, 0, kMaxSmoothing));
    smoothing_->setTracking(false);  // the graphs follow when the slider is let go
    smoothingField_ = new QLineEdit(QString::number(smoothing_->value()));
    smoothingField_->setReadOnly(true);
    smoothingField_->setMaximumWidth(fontMetrics().horizontalAdvance(QStringLiteral("00000")));
    connect(smoothing_, &QSlider::sliderMoved, this,
            [this](int value) { smoothingField_->setText(QString::number(value)); });
    connect(smoothing_, &QSlider::valueChanged, this, [this](int value) {
        settings_.track = value;
        smoothingField_->setText(QString::number(value));
        ApplyGraphStyle();
    });
    mean_ = new QRadioButton(tr("Mean"));
    median_ = new QRadioButton(tr("Median"));
    (settings_.median ? median_ : mean_)->setChecked(true);
    connect(median_, &QRadioButton::toggled, this, [this](bool on) {
        settings_.median = on;
        ApplyGraphStyle();
    });

    auto* graphGroup = new QGroupBox(tr("Graph"));
    auto* graphGrid = new QGridLayout(graphGroup);
    graphGrid->addWidget(new QLabel(tr("Zoom")), 0, 0);
    graphGrid->addWidget(zoom_, 0, 1);
    graphGrid->addWidget(mean_, 0, 2);
    graphGrid->addWidget(new QLabel(tr("Smoothing")), 1, 0);
    graphGrid->addWidget(smoothing_, 1, 1);
    graphGrid->addWidget(smoothingField_, 1, 2);
    graphGrid->addWidget(median_, 1, 3);

    byJointStereo_ = new QRadioButton(tr("Joint Stereo type"));
    byBlockType_ = new QRadioButton(tr("Block type"));
    (settings_.radio ? byJointStereo_ : byBlockType_)->setChecked(true);
    connect(byJointStereo_, &QRadioButton::toggled, this, [this](bool on) {
        settings_.radio = on;
        ApplyGraphStyle();
    });
    baseColour_ = new ColourButton(ColourFromWord(settings_.colourBase));
    highlightColour_ = new ColourButton(ColourFromWord(settings_.colourHigh));
    baseColour_->setAccessibleName(tr("Base Color"));
    highlightColour_->setAccessibleName(tr("Highlight"));
    baseColour_->setToolTip(tr("Base Color"));
    highlightColour_->setToolTip(tr("Highlight"));
    for (ColourButton* button : {baseColour_, highlightColour_}) {
        button->setFixedSize(40, 20);
        connect(button, &ColourButton::ColourChanged, this, [this] {
            settings_.colourBase = WordFromColour(baseColour_->Colour());
            settings_.colourHigh = WordFromColour(highlightColour_->Colour());
            ApplyGraphStyle();
        });
    }
    baseLegend_ = new QLabel(tr("Base Color"));
    highlightLegend_ = new QLabel(tr("Highlight"));

    auto* highlightGroup = new QGroupBox(tr("Highlighting"));
    auto* highlightGrid = new QGridLayout(highlightGroup);
    highlightGrid->addWidget(byJointStereo_, 0, 0);
    highlightGrid->addWidget(baseColour_, 0, 1);
    highlightGrid->addWidget(baseLegend_, 0, 2);
    highlightGrid->addWidget(byBlockType_, 1, 0);
    highlightGrid->addWidget(highlightColour_, 1, 1);
    highlightGrid->addWidget(highlightLegend_, 1, 2);

    graphControls_ = new QWidget;
    auto* layout = new QHBoxLayout(graphControls_);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(graphGroup, 1);
    layout->addWidget(highlightGroup);
    return graphControls_;
}

void CInfoDlg::ApplyGraphStyle() {
    const bool byJointStereo = byJointStereo_->isChecked();
    for (CBitrateGraph* graph : graphs_) {
        graph->SetSmoothing(smoothing_->value());
        graph->SetMedian(median_->isChecked());
        graph->SetByJointStereo(byJointStereo);
        graph->SetColours(baseColour_->Colour(), highlightColour_->Colour());
    }
    const auto [base, highlight] = LegendTexts(byJointStereo);
    baseLegend_->setText(base);
    highlightLegend_->setText(highlight);
}

void CInfoDlg::ShowZoom() {
    zoom_->setValue(ZoomFactorShown(graphs_[0]->Window()));
}

void CInfoDlg::ShowTab(int tab) {
    graphControls_->setVisible(IsGraphTab(tab));
}

void CInfoDlg::StartScan() {
    scanFinished_ = false;
    refresh_->setEnabled(false);
    progress_->setValue(0);
    progress_->show();
    workers_.push_back(std::make_unique<CDetailsThread>(path_, ++scan_, Receiver()));
}

void CInfoDlg::Refresh() {
    record_ = Mp3Info{};
    framePositions_.clear();
    for (CBitrateGraph* graph : graphs_) {
        graph->Clear();
    }
    ShowRecord();
    StartScan();
}

void CInfoDlg::CopyInfo() {
    // CR LF line ends, as the report has them.
    QApplication::clipboard()->setText(QString::fromStdString(ReportOf(path_, record_)));
}

void CInfoDlg::ShowRecord() {
    AttributeTexts texts;
    ComputeAttributeTexts(texts, record_, /*monoQuality=*/false);
    attributes_->clear();
    for (const auto& [name, value] : AttributeRows(record_, texts)) {
        new QTreeWidgetItem(attributes_, {name, value});
    }
    int index = 0;
    for (const auto& [name, on] : InfoFlags(record_)) {
        infoBoxes_[static_cast<std::size_t>(index++)]->setChecked(on);
    }
    histograms_[kBitrateHistogram]->SetData(BitrateHistogram(record_));
    histograms_[kBlockHistogram]->SetData(BlockTypeHistogram(record_));
    histograms_[kJointStereoHistogram]->SetData(JointStereoHistogram(record_));

    const bool jointStereo = record_.channelMode == 1;
    histograms_[kJointStereoHistogram]->setVisible(jointStereo);
    byJointStereo_->setEnabled(jointStereo);
    if (!jointStereo && scan_ > 0 && record_.frameCount > 0) {
        byBlockType_->setChecked(true);
    }
}

void CInfoDlg::DetailsProgress(int scan, const Mp3Info& record) {
    if (scan != scan_ || finishing_) {
        return;
    }
    record_ = record;
    // The worker posts faster than a refresh of the lists and histograms takes: only the
    // newest record of a burst is shown.
    if (!showPending_) {
        showPending_ = true;
        QTimer::singleShot(0, this, [this] {
            if (showPending_) {
                ShowProgress();
            }
        });
    }
}

void CInfoDlg::ShowProgress() {
    showPending_ = false;
    if (finishing_) {
        return;
    }
    ShowRecord();
    progress_->setValue(ProgressPercent(record_));
    if (record_.scanComplete) {
        progress_->setValue(0);
        progress_->hide();
        refresh_->setEnabled(true);
    }
}

void CInfoDlg::DetailsDone(int scan, std::shared_ptr<FrameSeries> series) {
    if (scan != scan_ || finishing_) {
        return;
    }
    scanFinished_ = true;
    if (showPending_) {
        ShowProgress();  // the lists show the final record together with the graphs
    }
    const std::int64_t total = PlayTimeMs(record_);
    for (std::size_t i = 0; i < graphs_.size(); ++i) {
        GraphSeries values = SeriesOf(kGraphKinds[i], record_, *series);
        std::vector<int> labels = ValueLabelsOf(kGraphKinds[i], record_, values);
        graphs_[i]->SetSeries(std::move(values), std::move(labels), UnitOf(kGraphKinds[i]));
        graphs_[i]->SetTotal(total);
    }
    framePositions_ = std::move(series->framePositions);
    progress_->hide();
    refresh_->setEnabled(true);
}

void CInfoDlg::DetailsFailed(int scan, const QString& text) {
    if (scan != scan_ || finishing_) {
        return;
    }
    // The box outlives the dialog, which closes at once.
    auto* box = new QMessageBox(QMessageBox::Warning, QGuiApplication::applicationDisplayName(),
                                text, QMessageBox::Ok, parentWidget());
    // The engine's texts do not say which file: a dropped one is named.
    const QString path = DisplayPath(path_);
    if (!text.contains(path)) {
        box->setInformativeText(path);
    }
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
    reject();
}

void CInfoDlg::DetailsEnded(int scan) {
    std::erase_if(workers_, [scan](const std::unique_ptr<CDetailsThread>& worker) {
        return worker->Scan() == scan;
    });
    if (scan == scan_) {
        scanFinished_ = true;
    }
    ReportClosedWhenDone();
}

void CInfoDlg::done(int result) {
    Finish();
    QDialog::done(result);
}

void CInfoDlg::closeEvent(QCloseEvent* event) {
    Finish();
    QDialog::closeEvent(event);
}

void CInfoDlg::Finish() {
    if (finishing_) {
        return;
    }
    finishing_ = true;
    const QRect frame = geometry();
    settings_.left = frame.left();
    settings_.top = frame.top();
    settings_.right = frame.left() + frame.width();
    settings_.bottom = frame.top() + frame.height();
    settings_.initTab = tabs_->currentIndex();
    settings_.track = smoothing_->value();
    for (const std::unique_ptr<CDetailsThread>& worker : workers_) {
        worker->Stop();
    }
    // Reported once the window is gone and the last worker has said it ended.
    QTimer::singleShot(0, this, &CInfoDlg::ReportClosedWhenDone);
}

void CInfoDlg::ReportClosedWhenDone() {
    if (finishing_ && workers_.empty() && !reported_ && !isVisible()) {
        reported_ = true;
        Q_EMIT DetailsClosed(this);
    }
}

}  // namespace vornik
