// SPDX-License-Identifier: GPL-3.0-or-later
// Short signals made by the test and encoded with real encoders.
#pragma once

#include <string>

namespace vornik::test {

// Writes a 16-bit PCM WAV file: a sweep, a second tone on the right channel, noise and clicks
// every half second (so that encoders switch to short blocks and vary their bitrate).
void WriteTestSignal(const std::string& path, int sampleRate, int channels, double seconds);

// Runs a shell command; its exit status, with its output on failure in `output`.
int RunCommand(const std::string& command, std::string* output = nullptr);

// `pattern` with its two "%s" replaced by the quoted input and output paths.
std::string EncoderCommand(const char* pattern, const std::string& input,
                           const std::string& output);

// The number of audio packets ffprobe reads from `path`, or -1.
int FfprobePacketCount(const std::string& path);

// A folder for one test's files, removed afterwards.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    std::string file(const std::string& name) const { return path_ + "/" + name; }

  private:
    std::string path_;
};

}  // namespace vornik::test
