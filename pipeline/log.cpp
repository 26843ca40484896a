// SPDX-License-Identifier: GPL-3.0-or-later
#include "log.h"

#include <atomic>

namespace vornik {
namespace {

std::atomic<LogSink*> gSink{nullptr};

}  // namespace

void SetLogSink(LogSink* sink) {
    gSink.store(sink, std::memory_order_release);
}

void Log(const std::string& text) {
    if (LogSink* const sink = gSink.load(std::memory_order_acquire)) {
        sink->Line(text);
    }
}

}  // namespace vornik
