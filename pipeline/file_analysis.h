// One file analysed as the list worker does it: scan, texts, quality class.
#pragma once

#include <string>

#include "attribute_texts.h"
#include "mp3_file.h"
#include "mp3_info.h"

namespace vornik {

struct AnalysisOptions {
    int frameBudget = 1000;      // walked frames at most; 0 or less: the whole file
    bool walk = true;            // false: headers only, when no shown column needs the walk
    bool monoQuality = false;    // the "monoquality" setting
    bool readAllUnknown = true;  // rescan the whole file when the encoder stayed "Unknown"
    // A walk to the end also recomputes the music CRC, which the Integrity verdict includes.
    bool checkIntegrity = false;
};

enum class AnalysisOutcome {
    Done,    // record and texts are filled (also for an empty file or an engine error)
    Failed,  // not an audio file, or it cannot be opened: only the name text is set
};

struct FileAnalysis {
    AnalysisOutcome outcome = AnalysisOutcome::Failed;
    Mp3Info record{};
    AttributeTexts texts;
    std::string error;  // the engine's text when the scan failed, else empty
};

// The texts of a file the engine gave up on: "--" for encoder, stereo mode, bitrate and size,
// "Unknown" for the quality.
void SetEngineErrorTexts(AttributeTexts& texts);

// True for the extensions of MPEG Plus files, ".mpc" and ".mp+" in any case.
bool IsMpegPlusPath(const std::string& path);

// Analyses the file at `path`, shown as `name`. `cancel` (may be null) lets a worker stop a
// long scan at the engine's next checkpoint; the result is then incomplete. Never throws for
// what a file holds.
FileAnalysis AnalyseFile(const std::string& path, const std::string& name,
                         const AnalysisOptions& options, CMp3File::sink* cancel = nullptr);

}  // namespace vornik
