// SPDX-License-Identifier: GPL-3.0-or-later
// CInfoDlg: the details of one file after a complete frame scan: attributes, flags,
// histograms and per-frame graphs.
#pragma once

#include <QDialog>
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "details_content.h"
#include "details_thread.h"
#include "mp3_info.h"
#include "view_settings.h"

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QSlider;
class QTabWidget;
class QTreeWidget;

namespace vornik {

class CBitrateGraph;
class CHistogram;
class ColourButton;
class ZoomSpin;

class CInfoDlg : public QDialog, private DetailsReceiver {
    Q_OBJECT

  public:
    // Tabs, in their order; the stored initial tab counts in the same order.
    enum Tab { BitHistogramTab, OtherInfoTab, BitrateTab, ReservoirTab, ShortBlocksTab };
    static constexpr int kTabCount = 5;

    // Starts the scan at once; `settings` gives the display choices.
    // `path` is the file's own bytes.
    CInfoDlg(const std::string& path, const DetailsSettings& settings, QWidget* parent = nullptr);
    ~CInfoDlg() override;

    const std::string& Path() const { return path_; }
    // The display choices as they stand, and the rectangle the dialog had when it closed.
    DetailsSettings Settings() const { return settings_; }
    const Mp3Info& Record() const { return record_; }
    bool Scanning() const { return !workers_.empty() && !scanFinished_; }

    // Widgets for tests and the screenshots.
    QTabWidget* Tabs() const { return tabs_; }
    QTreeWidget* Attributes() const { return attributes_; }
    QCheckBox* InfoBox(int index) const { return infoBoxes_.at(static_cast<std::size_t>(index)); }
    QPushButton* RefreshButton() const { return refresh_; }
    QPushButton* CopyInfoButton() const { return copyInfo_; }
    QProgressBar* Progress() const { return progress_; }
    CHistogram* Histogram(int index) const {
        return histograms_.at(static_cast<std::size_t>(index));
    }
    CBitrateGraph* Graph(int index) const { return graphs_.at(static_cast<std::size_t>(index)); }
    QRadioButton* JointStereoRadio() const { return byJointStereo_; }
    QRadioButton* BlockTypeRadio() const { return byBlockType_; }
    QRadioButton* MedianRadio() const { return median_; }
    QSlider* SmoothingSlider() const { return smoothing_; }
    ZoomSpin* Zoom() const { return zoom_; }
    ColourButton* BaseColourButton() const { return baseColour_; }
    ColourButton* HighlightColourButton() const { return highlightColour_; }
    QLabel* BaseLegend() const { return baseLegend_; }
    QLabel* HighlightLegend() const { return highlightLegend_; }
    QWidget* GraphControls() const { return graphControls_; }

    // "Refresh": clears the graphs and histograms and scans the file again.
    void Refresh();
    // "Copy Info": the report of the record as it stands.
    void CopyInfo();

  Q_SIGNALS:
    // The dialog is gone from the screen and its worker has ended; the view takes the
    // settings back and deletes it.
    void DetailsClosed(CInfoDlg* dialog);

  public Q_SLOTS:
    // "Close" and Esc: the settings are kept, the window goes, the worker is stopped.
    void done(int result) override;

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    // DetailsReceiver
    void DetailsProgress(int scan, const Mp3Info& record) override;
    void DetailsDone(int scan, std::shared_ptr<FrameSeries> series) override;
    void DetailsFailed(int scan, const QString& text) override;
    void DetailsEnded(int scan) override;

    DetailsReceiver& Receiver() { return *this; }
    QWidget* MakeAttributePane();
    QWidget* MakeGraphControls();
    void StartScan();
    void ShowRecord();
    void ShowProgress();
    void ShowTab(int tab);
    void ApplyGraphStyle();
    void ShowZoom();
    void Finish();
    void ReportClosedWhenDone();

    std::string path_;
    DetailsSettings settings_;
    Mp3Info record_{};
    std::vector<std::int64_t> framePositions_;
    int scan_ = 0;
    bool scanFinished_ = false;
    bool finishing_ = false;
    bool reported_ = false;
    bool showPending_ = false;  // a refresh of the shown record is on its way
    std::vector<std::unique_ptr<CDetailsThread>> workers_;

    QTabWidget* tabs_ = nullptr;
    QTreeWidget* attributes_ = nullptr;
    std::vector<QCheckBox*> infoBoxes_;
    std::array<CHistogram*, 3> histograms_{};
    std::array<CBitrateGraph*, 3> graphs_{};
    QWidget* graphControls_ = nullptr;
    ZoomSpin* zoom_ = nullptr;
    QSlider* smoothing_ = nullptr;
    QLineEdit* smoothingField_ = nullptr;
    QRadioButton* mean_ = nullptr;
    QRadioButton* median_ = nullptr;
    QRadioButton* byJointStereo_ = nullptr;
    QRadioButton* byBlockType_ = nullptr;
    ColourButton* baseColour_ = nullptr;
    ColourButton* highlightColour_ = nullptr;
    QLabel* baseLegend_ = nullptr;
    QLabel* highlightLegend_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QPushButton* refresh_ = nullptr;
    QPushButton* copyInfo_ = nullptr;
};

}  // namespace vornik
