// SPDX-License-Identifier: GPL-3.0-or-later
#include "summary_text.h"

#include <cstdio>

namespace vornik {
namespace {

template <typename... Args>
std::string Format(const char* format, Args... args) {
    const int length = std::snprintf(nullptr, 0, format, args...);
    if (length <= 0) {
        return {};
    }
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    std::snprintf(text.data(), text.size(), format, args...);
    text.resize(static_cast<std::size_t>(length));
    return text;
}

}  // namespace

std::string ProgressText(int read, int toGo) {
    return Format("%i read, %i to go", read, toGo);
}

std::string FramesText(int frameBudget) {
    if (frameBudget <= 0) {
        return "Reading all frames";
    }
    return Format("Reading at most %i frames", frameBudget);
}

void ListSummary::Add(const Mp3Info& record, bool audio) {
    ++files_;
    if (!audio) {
        ++withoutAudio_;
        return;
    }
    duration_ += record.duration;
    weightedRate_ += static_cast<double>(record.avgBitrate) * record.duration;
    size_ += static_cast<float>(record.fileSize);
}

std::string ListSummary::Text() const {
    const double rate = duration_ > 0 ? weightedRate_ / duration_ : 0.0;
    // 9.536743e-07 is 1/1048576 to seven digits; the constant, not the exact power of two,
    // decides where "MB" ends.
    double size = size_ * 9.536743e-07;
    const char* unit = "MB";
    if (size > 1024.0) {
        size *= 0.0009765625;
        unit = "GB";
    }
    const std::string files = files_ == 1 ? "1 file" : Format("%i files", files_);
    const std::string without =
        withoutAudio_ == 0 ? "" : Format(", %i without MPEG audio", withoutAudio_);
    return files + without + Format(", %.1f %s, %.1f kbps", size, unit, rate);
}

}  // namespace vornik
