// SPDX-License-Identifier: GPL-3.0-or-later
#include "details_content.h"

#include <algorithm>

#include "frame_header.h"

namespace vornik {
namespace {

QString Text(const AttributeTexts& texts, int slot) {
    return QString::fromStdString(texts[slot]);
}

// The stream's bitrates by index, 1 to 14.
std::vector<int> BitrateRow(const Mp3Info& record) {
    std::vector<int> row;
    for (int index = 1; index <= 14; ++index) {
        row.push_back(BitrateKbps(record.layer, record.mpeg1, index));
    }
    return row;
}

bool FreeFormat(const Mp3Info& record) {
    return record.bitrateHist[0] > 0 &&
           std::all_of(record.bitrateHist.begin() + 1, record.bitrateHist.end(),
                       [](std::uint32_t count) { return count == 0; });
}

}  // namespace

std::vector<std::pair<QString, QString>> AttributeRows(const Mp3Info& record,
                                                       const AttributeTexts& texts) {
    return {
        {QStringLiteral("Type"), Text(texts, kSlotType)},
        {QStringLiteral("Average Bitrate"),
         FreeFormat(record) ? QStringLiteral("Free") : Text(texts, kSlotBitrate)},
        {QStringLiteral("Mode"), Text(texts, kSlotStereoMode)},
        {QStringLiteral("Frequency"), Text(texts, kSlotFrequency) + QStringLiteral(" Hz")},
        {QStringLiteral("Number of Frames"), Text(texts, kSlotFrames)},
        {QStringLiteral("Length"), Text(texts, kSlotLength)},
        {QStringLiteral("Max. Reservoir"), Text(texts, kSlotMaxReservoir)},
        {QStringLiteral("Av. Reservoir"), Text(texts, kSlotAvgReservoir)},
        {QStringLiteral("Sync Errors"), Text(texts, kSlotSyncErrors)},
        {QStringLiteral("Emphasis"), Text(texts, kSlotEmphasis)},
        {QStringLiteral("Scalefac"), Text(texts, kSlotScalefac)},
        {QStringLiteral("Encoder (guess)"), Text(texts, kSlotEncoder)},
    };
}

std::vector<std::pair<QString, bool>> InfoFlags(const Mp3Info& record) {
    return {
        {QStringLiteral("Padding"), record.paddingUsed},
        {QStringLiteral("Scalefac_scale"), record.scalefacScaleCount > 0},
        {QStringLiteral("Scfsi"), record.scfsiUsed},
        {QStringLiteral("Xing header"), record.hasXing},
        {QStringLiteral("Vbr"), record.isVbr},
        {QStringLiteral("Original"), record.original},
        {QStringLiteral("Copyright"), record.copyright},
        {QStringLiteral("Bad Last Frame"), !record.lastFrameOk},
    };
}

HistogramData BitrateHistogram(const Mp3Info& record) {
    HistogramData data{QStringLiteral("Bitrate Distribution"), {}, {QStringLiteral("Free")}, 0};
    for (const std::uint32_t count : record.bitrateHist) {
        data.values.push_back(static_cast<float>(count));
    }
    for (const int kbps : BitrateRow(record)) {
        data.labels << QString::number(kbps);
    }
    return data;
}

HistogramData BlockTypeHistogram(const Mp3Info& record) {
    return {QStringLiteral("Block Type"),
            {static_cast<float>(record.longBlocks), static_cast<float>(record.shortBlocks),
             static_cast<float>(record.mixedBlocks)},
            {QStringLiteral("long"), QStringLiteral("short"), QStringLiteral("mixed")},
            1};
}

HistogramData JointStereoHistogram(const Mp3Info& record) {
    HistogramData data{
        QStringLiteral("Joint Stereo Type"),
        {},
        {QStringLiteral("ss"), QStringLiteral("is"), QStringLiteral("ms"), QStringLiteral("mixed")},
        1};
    for (const std::uint32_t count : record.stereoModeHist) {
        data.values.push_back(static_cast<float>(count));
    }
    return data;
}

namespace {

// The walked frames' samples, by each layer's own frame length: 384 samples for Layer I, 1152
// for Layer II, 1152 or 576 for Layer III, so that MP1 and MPEG-2 MP2 files get their real
// length. 0 for a record without a stream.
std::int64_t WalkedSamples(const Mp3Info& record) {
    if (record.sampleRate <= 0 || record.layer < 1 || record.layer > 3) {
        return 0;
    }
    return static_cast<std::int64_t>(record.frameCount) *
           SamplesPerFrame(record.layer, record.mpeg1);
}

}  // namespace

std::int64_t PlayTimeMs(const Mp3Info& record) {
    return record.sampleRate > 0 ? WalkedSamples(record) * 1000 / record.sampleRate : 0;
}

int ProgressPercent(const Mp3Info& record) {
    if (record.duration <= 0 || record.sampleRate <= 0) {
        return 0;
    }
    const double done = static_cast<double>(WalkedSamples(record)) / record.sampleRate;
    return std::clamp(static_cast<int>(done * 100 / record.duration), 0, 100);
}

GraphSeries SeriesOf(GraphKind kind, const Mp3Info& record, const FrameSeries& frames) {
    GraphSeries series;
    series.modeExtensions = frames.modeExtensions;
    series.blockKinds = frames.blockKinds;
    switch (kind) {
        case GraphKind::Bitrate:
            series.values.reserve(frames.bitrateIndices.size());
            for (const std::uint8_t index : frames.bitrateIndices) {
                // A free-format frame has no bitrate in the table.
                // A free-format frame has no bitrate in the table: its stream's own.
                series.values.push_back(index == 0
                                            ? std::max(record.avgBitrate, 0)
                                            : BitrateKbps(record.layer, record.mpeg1, index));
            }
            break;
        case GraphKind::Reservoir:
            series.values.assign(frames.mainDataBegins.begin(), frames.mainDataBegins.end());
            break;
        case GraphKind::ShortBlocks:
            series.values.assign(frames.shortBigValues.begin(), frames.shortBigValues.end());
            break;
    }
    return series;
}

std::vector<int> FittedLabels(int largest) {
    if (largest <= 0) {
        return {1};
    }
    for (int power = 1;; power *= 10) {
        for (const int factor : {1, 2, 5}) {
            const int step = factor * power;
            if ((largest + step - 1) / step <= 6) {
                std::vector<int> labels;
                for (int value = step; value < largest + step; value += step) {
                    labels.push_back(value);
                }
                return labels;
            }
        }
    }
}

std::vector<int> ValueLabelsOf(GraphKind kind, const Mp3Info& record, const GraphSeries& series) {
    switch (kind) {
        case GraphKind::Bitrate:
            return BitrateRow(record);
        case GraphKind::Reservoir:
            break;
        case GraphKind::ShortBlocks: {
            const auto largest = std::max_element(series.values.begin(), series.values.end());
            return FittedLabels(largest == series.values.end() ? 0 : *largest);
        }
    }
    return {56, 64, 96, 128, 156, 164, 192, 224, 256, 320, 384, 416, 480, 512};
}

QString UnitOf(GraphKind kind) {
    switch (kind) {
        case GraphKind::Bitrate:
            return QStringLiteral("kbps");
        case GraphKind::Reservoir:
            return QStringLiteral("bytes");
        case GraphKind::ShortBlocks:
            return QStringLiteral("big_values");
    }
    return {};
}

std::pair<QString, QString> LegendTexts(bool byJointStereo) {
    return byJointStereo ? std::pair{QStringLiteral("mid/side"), QStringLiteral("left/right")}
                         : std::pair{QStringLiteral("long"), QStringLiteral("short")};
}

}  // namespace vornik
