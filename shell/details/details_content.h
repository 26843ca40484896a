// SPDX-License-Identifier: GPL-3.0-or-later
// What the details dialog shows of a record and a frame series, apart from its widgets.
#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <utility>
#include <vector>

#include "attribute_texts.h"
#include "graph_geometry.h"
#include "mp3_info.h"

namespace vornik {

// The attribute list's twelve rows: "Type" ... "Encoder (guess)".
std::vector<std::pair<QString, QString>> AttributeRows(const Mp3Info& record,
                                                       const AttributeTexts& texts);

// The "Info" group's eight boxes, names and states, in their order.
std::vector<std::pair<QString, bool>> InfoFlags(const Mp3Info& record);

// A histogram's contents.
struct HistogramData {
    QString title;
    std::vector<float> values;
    QStringList labels;
    int precision = 0;
};
HistogramData BitrateHistogram(const Mp3Info& record);
HistogramData BlockTypeHistogram(const Mp3Info& record);
HistogramData JointStereoHistogram(const Mp3Info& record);

// The file's play time in milliseconds from the walked frames and the samples each frame of
// the stream's layer and version carries.
std::int64_t PlayTimeMs(const Mp3Info& record);
// The progress bar's position (0..100) for a record under way; 0 without a duration.
int ProgressPercent(const Mp3Info& record);

// The three graphs' series and value labels. The bitrate graph is labelled with the bitrates
// of the stream's table, the reservoir on a fixed byte scale; the short blocks' big_values
// (at most 288) on a scale fitted to the largest of `series`.
enum class GraphKind { Bitrate, Reservoir, ShortBlocks };
GraphSeries SeriesOf(GraphKind kind, const Mp3Info& record, const FrameSeries& frames);
std::vector<int> ValueLabelsOf(GraphKind kind, const Mp3Info& record, const GraphSeries& series);
QString UnitOf(GraphKind kind);

// Round labels from a step of 1, 2 or 5 times a power of ten up to at least `largest`, at
// most six of them; {1} for nothing to show.
std::vector<int> FittedLabels(int largest);

// The legend beside the two colour buttons: what the base and the highlight colour mark.
std::pair<QString, QString> LegendTexts(bool byJointStereo);

}  // namespace vornik
