// SPDX-License-Identifier: GPL-3.0-or-later
// The program's log: one line per call, no time stamp, level or thread. The desktop program
// installs a sink that appends to its log file when logging is on; by default lines go nowhere.
#pragma once

#include <string>

namespace vornik {

class LogSink {
  public:
    virtual ~LogSink() = default;
    // Called from any thread, possibly from several at once.
    virtual void Line(const std::string& text) = 0;
};

// Installs `sink`, or turns logging off with null. The sink must outlive every thread that may
// still be logging through it.
void SetLogSink(LogSink* sink);

// Appends `text` as one line when logging is on.
void Log(const std::string& text);

}  // namespace vornik
