// SPDX-License-Identifier: GPL-3.0-or-later
// The log file: one line per Log call while logging is on.
#pragma once

#include <string>

#include "log.h"

namespace vornik {

// Appends each line to the file, opening and closing it every time, so that a crash loses
// nothing and several threads may log at once (each line is one write of its own).
class LogFile : public LogSink {
  public:
    explicit LogFile(std::string path) : path_(std::move(path)) {}
    void Line(const std::string& text) override;
    // Deletes the file, so that a run starts a fresh log.
    void Clear() const;
    const std::string& Path() const { return path_; }

  private:
    std::string path_;
};

}  // namespace vornik
