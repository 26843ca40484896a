// SPDX-License-Identifier: GPL-3.0-or-later
#include "crc_command.h"

#include <cstdio>
#include <string_view>

#include "engine_message.h"
#include "file_analysis.h"
#include "mp3_file.h"
#include "scan_error.h"

namespace vornik {
namespace {

enum CrcStatus { kMatches = 0, kCorrupt = 1, kUnchecked = 2 };

// A one-line bar redrawn in place: "[#######             ]  35% name".
class ProgressBar : public CMp3File::sink_mini {
  public:
    ProgressBar(std::ostream* out, std::string name) : out_(out), name_(std::move(name)) {}
    ~ProgressBar() override {
        if (out_ != nullptr && drawn_) {
            *out_ << '\r' << std::string(kWidth + 8 + name_.size(), ' ') << '\r' << std::flush;
        }
    }
    void progress(std::uint64_t done, std::uint64_t total) override {
        if (out_ == nullptr || total == 0) {
            return;
        }
        const auto filled = static_cast<std::size_t>(done * kWidth / total);
        *out_ << "\r[" << std::string(filled, '#') << std::string(kWidth - filled, ' ') << "] "
              << done * 100 / total << "% " << name_ << std::flush;
        drawn_ = true;
    }

  private:
    static constexpr std::size_t kWidth = 30;
    std::ostream* out_;
    std::string name_;
    bool drawn_ = false;
};

std::string Hex16(unsigned value) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%04X", value & 0xFFFFu);
    return text;
}

CrcStatus CheckFile(const std::string& path, std::ostream& out, std::ostream* progress) {
    CMp3File file;
    if (!file.Open(path)) {
        out << path << ": " << file.reader().openError() << '\n';
        return kUnchecked;
    }
    if (IsMpegPlusPath(path)) {
        out << path << ": an MPEG Plus file holds no Lame tag, nothing to check\n";
        return kUnchecked;
    }
    Mp3Info record{};
    try {
        file.ProcessFrames(/*walkFrames=*/false, record, /*frameLimit=*/-1, nullptr, nullptr);
    } catch (const ScanError& error) {
        out << path << ": " << EngineMessageLine(error.what()) << '\n';
        return kUnchecked;
    }
    if (!record.lameTagValid) {
        out << path << ": no valid Lame tag, nothing to check\n";
        return kUnchecked;
    }
    std::uint16_t computed = 0;
    {
        ProgressBar bar(progress, path);
        computed = file.ComputeMusicCrc(record, &bar);
    }
    if (!record.musicCrcDone) {
        out << path
            << ": the frames after the tag do not decode, the music CRC cannot be checked\n";
        return kUnchecked;
    }
    out << path << ": stored " << Hex16(record.lameMusicCrc) << ", computed " << Hex16(computed)
        << ": " << (record.musicCrcOk ? "OK" : "corrupt") << '\n';
    return record.musicCrcOk ? kMatches : kCorrupt;
}

}  // namespace

int RunCrc(const std::vector<std::string>& files, std::ostream& out, std::ostream* progress) {
    int status = kMatches;
    for (const std::string& path : files) {
        status = std::max<int>(status, CheckFile(path, out, progress));
    }
    return status;
}

}  // namespace vornik
