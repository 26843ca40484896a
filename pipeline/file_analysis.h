// SPDX-License-Identifier: GPL-3.0-or-later
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
    Done,        // record and texts are filled (also for an engine error)
    NoAudio,     // empty, or no MPEG audio: the texts say so
    Unreadable,  // the file cannot be opened or is not a regular one: the texts say why
};

struct FileAnalysis {
    AnalysisOutcome outcome = AnalysisOutcome::NoAudio;
    Mp3Info record{};
    AttributeTexts texts;
    std::string error;  // the engine's text when the scan failed, else empty
    // Why there is nothing to analyse ("empty file", "no MPEG audio", "cannot open the file:
    // Permission denied"), also the Encoder text; empty when the outcome is Done.
    std::string noAudioReason;
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
