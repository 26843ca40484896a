// SPDX-License-Identifier: GPL-3.0-or-later
#include "file_analysis.h"

#include <algorithm>
#include <cctype>

#include "mpc_file.h"
#include "scan_error.h"

namespace vornik {
namespace {

std::string LowerExtension(const std::string& path) {
    const std::size_t dot = path.rfind('.');
    std::string extension = dot == std::string::npos ? path : path.substr(dot);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension;
}

// A file with nothing to analyse keeps its row: "--" in the columns, the reason as its
// encoder, no quality estimate.
void MarkNoAudio(FileAnalysis& result, AnalysisOutcome outcome, const std::string& reason) {
    result.outcome = outcome;
    result.noAudioReason = reason;
    result.record = Mp3Info{};
    result.record.qualityFigure = -1;
    SetEngineErrorTexts(result.texts);
    result.texts[kSlotEncoder] = reason;
    result.texts[kSlotQuality] = "--";  // no estimate for what holds no audio
}

// False, with the row marked, when `reader` could not open the file or it holds no byte.
bool Readable(const FileReader& reader, bool opened, FileAnalysis& result) {
    if (!opened) {
        MarkNoAudio(result, AnalysisOutcome::Unreadable, reader.openError());
        return false;
    }
    if (reader.size() == 0) {
        MarkNoAudio(result, AnalysisOutcome::NoAudio, "empty file");
        return false;
    }
    return true;
}

void AnalyseMpegPlus(const std::string& path, const AnalysisOptions& options,
                     FileAnalysis& result) {
    MpcFile file;
    if (!Readable(file.reader(), file.Open(path), result)) {
        return;
    }
    file.FillRecord(result.record);
    result.record.qualityFigure =
        ComputeAttributeTexts(result.texts, result.record, options.monoQuality);
    result.record.scanComplete = true;
    result.outcome = AnalysisOutcome::Done;
}

// A scan the engine gave up on still makes a row: its texts say so.
void MarkEngineError(FileAnalysis& result, const char* message) {
    result.error = message;
    result.record.duration = 0;
    // No estimate was made: the row must not look like a bad file.
    result.record.qualityFigure = -1;
    SetEngineErrorTexts(result.texts);
    result.outcome = AnalysisOutcome::Done;
}

void AnalyseMpegAudio(const std::string& path, const AnalysisOptions& options,
                      CMp3File::sink* cancel, FileAnalysis& result) {
    if (!CMp3File::IsMpegAudio(path)) {
        // Why not is asked only now: an audio file is not opened once more to learn it.
        FileReader reader;
        if (Readable(reader, reader.open(path), result)) {
            MarkNoAudio(result, AnalysisOutcome::NoAudio, "no MPEG audio");
        }
        return;
    }
    CMp3File file;
    if (!Readable(file.reader(), file.Open(path), result)) {
        return;  // gone or emptied since the quick test
    }
    const int budget = options.frameBudget > 0 ? options.frameBudget : -1;
    Mp3Info& record = result.record;
    record.scanComplete = false;
    result.outcome = AnalysisOutcome::Done;
    if (!file.ProcessFrames(options.walk, record, budget, nullptr, cancel)) {
        record.qualityFigure = -1;  // an empty file: only its name, no estimate
        return;
    }
    record.qualityFigure = ComputeAttributeTexts(result.texts, record, options.monoQuality);
    if (!record.scanComplete && options.readAllUnknown && result.texts[kSlotEncoder] == "Unknown") {
        // A budgeted walk may end before the frames that tell the encoder apart.
        if (!file.ProcessFrames(options.walk, record, -1, nullptr, cancel)) {
            return;
        }
    }
    if (options.checkIntegrity && record.scanComplete && record.lameTagValid) {
        file.ComputeMusicCrc(record, nullptr);
    }
    record.qualityFigure = ComputeAttributeTexts(result.texts, record, options.monoQuality);
}

}  // namespace

void SetEngineErrorTexts(AttributeTexts& texts) {
    for (const int slot : {kSlotEncoder, kSlotStereoMode, kSlotBitrate, kSlotSize}) {
        texts[slot] = "--";
    }
    texts[kSlotQuality] = "Unknown";
}

bool IsMpegPlusPath(const std::string& path) {
    const std::string extension = LowerExtension(path);
    return extension == ".mp+" || extension == ".mpc";
}

FileAnalysis AnalyseFile(const std::string& path, const std::string& name,
                         const AnalysisOptions& options, CMp3File::sink* cancel) {
    FileAnalysis result;
    result.texts[kSlotName] = name;
    try {
        if (IsMpegPlusPath(path)) {
            AnalyseMpegPlus(path, options, result);
        } else {
            AnalyseMpegAudio(path, options, cancel, result);
        }
    } catch (const ScanError& error) {
        MarkEngineError(result, error.what());
    }
    return result;
}

}  // namespace vornik
