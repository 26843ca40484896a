// SPDX-License-Identifier: GPL-3.0-or-later
// The file list's texts for the main window's status bar.
#pragma once

#include <string>

#include "mp3_info.h"

namespace vornik {

// Status bar panes the list writes to.
inline constexpr int kProgressPane = 0;  // progress, summary, "Interrupted"
inline constexpr int kFramesPane = 1;    // the frame budget

inline constexpr char kInterruptedText[] = "Interrupted";

// "%i read, %i to go".
std::string ProgressText(int read, int toGo);

// "Reading at most %i frames", or "Reading all frames" for a budget of 0 or less.
std::string FramesText(int frameBudget);

// The summary of the shown rows: "%i files, %.1f %s, %.1f kbps" (files, size, "MB" or "GB",
// average bitrate weighted by duration), "1 file, ..." for exactly one; with files that hold
// no audio among them, "%i files, %i without MPEG audio, ...".
class ListSummary {
  public:
    void Add(const Mp3Info& record, bool audio = true);
    std::string Text() const;

  private:
    int files_ = 0;
    int withoutAudio_ = 0;
    double duration_ = 0;      // seconds
    double weightedRate_ = 0;  // kbps x seconds
    // Summed in single precision, as the status bar always did: a folder of many large files
    // shows the rounding of a 24-bit mantissa.
    float size_ = 0;
};

}  // namespace vornik
