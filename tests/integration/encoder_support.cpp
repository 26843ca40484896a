// SPDX-License-Identifier: GPL-3.0-or-later
#include "encoder_support.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <vector>

namespace vornik::test {
namespace {

void PutLe(std::ofstream& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.put(static_cast<char>(value >> (8 * i) & 0xFF));
    }
}

}  // namespace

void WriteTestSignal(const std::string& path, int sampleRate, int channels, double seconds) {
    const auto frames = static_cast<std::uint32_t>(seconds * sampleRate);
    std::vector<std::int16_t> samples;
    samples.reserve(static_cast<std::size_t>(frames) * static_cast<std::size_t>(channels));
    std::mt19937 random(1234);
    std::uniform_real_distribution<double> noise(-1.0, 1.0);
    constexpr double kPi = 3.14159265358979323846;
    for (std::uint32_t i = 0; i < frames; ++i) {
        const double t = static_cast<double>(i) / sampleRate;
        const double sweep = std::sin(2 * kPi * (200 + 1500 * t) * t);
        const bool click = std::fmod(t, 0.5) < 0.004;
        const double left = 0.4 * sweep + 0.05 * noise(random) + (click ? 0.9 * noise(random) : 0);
        const double right = 0.3 * std::sin(2 * kPi * 660 * t) + 0.05 * noise(random);
        samples.push_back(static_cast<std::int16_t>(std::lround(left * 32000)));
        if (channels == 2) {
            samples.push_back(static_cast<std::int16_t>(std::lround(right * 32000)));
        }
    }
    const auto dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
    std::ofstream out(path, std::ios::binary);
    out.write("RIFF", 4);
    PutLe(out, 36 + dataBytes, 4);
    out.write("WAVEfmt ", 8);
    PutLe(out, 16, 4);
    PutLe(out, 1, 2);  // PCM
    PutLe(out, static_cast<std::uint32_t>(channels), 2);
    PutLe(out, static_cast<std::uint32_t>(sampleRate), 4);
    PutLe(out, static_cast<std::uint32_t>(sampleRate * channels * 2), 4);
    PutLe(out, static_cast<std::uint32_t>(channels * 2), 2);
    PutLe(out, 16, 2);
    out.write("data", 4);
    PutLe(out, dataBytes, 4);
    for (const std::int16_t sample : samples) {
        PutLe(out, static_cast<std::uint16_t>(sample), 2);
    }
}

int RunCommand(const std::string& command, std::string* output) {
    std::FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
    if (pipe == nullptr) {
        return -1;
    }
    std::string text;
    char buffer[4096];
    while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) {
        text += buffer;
    }
    const int status = ::pclose(pipe);
    if (output != nullptr) {
        *output = text;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string EncoderCommand(const char* pattern, const std::string& input,
                           const std::string& output) {
    char command[1024];
    std::snprintf(command, sizeof command, pattern, ("'" + input + "'").c_str(),
                  ("'" + output + "'").c_str());
    return command;
}

int FfprobePacketCount(const std::string& path) {
    std::string output;
    if (RunCommand("ffprobe -v error -count_packets -select_streams a:0 -show_entries "
                   "stream=nb_read_packets -of csv=p=0 '" +
                       path + "'",
                   &output) != 0) {
        return -1;
    }
    return std::atoi(output.c_str());
}

TempDir::TempDir() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "vornik-encoders-XXXXXX").string();
    path_ = ::mkdtemp(pattern.data()) != nullptr ? pattern : std::string();
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

}  // namespace vornik::test
