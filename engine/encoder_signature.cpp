// SPDX-License-Identifier: GPL-3.0-or-later
#include "encoder_signature.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <vector>

#include "mp3_file.h"

namespace vornik {
namespace {

constexpr std::size_t kSignatureReadSize = 1024;
constexpr std::size_t kSignatureTextLimit = 31;

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Bytes of the buffer from `position` on, at most `count`; missing bytes read as zero, which
// ends a text.
std::string Run(std::span<const std::uint8_t> buffer, std::size_t position, std::size_t count) {
    std::string run;
    for (std::size_t i = position; i < position + count; ++i) {
        run += i < buffer.size() ? static_cast<char>(buffer[i]) : '\0';
    }
    return run;
}

// "LAME" and its version from a buffer: four characters ("3.90"), or five when the fifth is a
// digit ("3.100"), then a mark: the letter after " (" (as in "3.70 (beta)"), else a blank.
std::string LameText(std::span<const std::uint8_t> buffer, std::size_t at) {
    std::size_t next = at + 4;
    std::string text = "LAME" + Run(buffer, next, 4);
    next += 4;
    if (IsDigit(Run(buffer, next, 1)[0])) {
        text += Run(buffer, next, 1);
        ++next;
    }
    text += Run(buffer, next, 2) == " (" ? Run(buffer, next + 2, 1) : std::string(" ");
    return text;
}

// A text as C code would hold it: up to its first zero byte.
std::string UpToZero(std::string text) {
    const std::size_t zero = text.find('\0');
    if (zero != std::string::npos) {
        text.resize(zero);
    }
    return text;
}

std::string LameName(std::string_view text) {
    if (text.size() < 8) {
        return "Lame";
    }
    // Versions have four characters ("3.90") or, since 3.100, five.
    const std::size_t versionLength = text.size() > 8 && IsDigit(text[8]) ? 5 : 4;
    std::string name = "Lame " + std::string(text.substr(4, versionLength));
    const std::size_t mark = 4 + versionLength;
    const auto markName = [](char c) -> std::string {
        return c == 'a' ? " (alpha)" : c == 'b' ? " (beta)" : "";
    };
    if (text.size() > mark && (text[mark] == 'a' || text[mark] == 'b')) {
        return name + markName(text[mark]);
    }
    if (text.size() >= mark + 3 && text.substr(mark, 2) == " (") {
        name += markName(text[mark + 2]);
    }
    return name;
}

}  // namespace

std::string InterpretSignature(std::string_view text) {
    const auto has = [text](std::string_view pattern) {
        return text.find(pattern) != std::string_view::npos;
    };
    if (has("LAME")) {
        return LameName(text);
    }
    // FFmpeg writes its name where LAME writes its own, in the same tag layout.
    if (text.starts_with("Lavc") || text.starts_with("Lavf")) {
        return "FFmpeg (" + std::string(text) + ")";
    }
    if (has("VBRI")) {
        return "FhG (fastenc)";
    }
    if (has("MPGE")) {
        return "Gogo (before 3.0)";
    }
    if (has("GOGO")) {
        return "Gogo (after 3.0)";
    }
    if (has("RCA") || has("Thomson")) {
        return std::string(text);
    }
    return {};
}

std::string ScanSignatureBuffer(std::span<const std::uint8_t> buffer) {
    const std::string_view bytes(reinterpret_cast<const char*>(buffer.data()), buffer.size());
    const auto at = [bytes](std::string_view pattern) { return bytes.find(pattern); };
    constexpr auto npos = std::string_view::npos;

    std::string text;
    if (const auto lame = at("LAME"); lame != npos) {
        text = LameText(buffer, lame);
    } else if (const auto rca = at("RCA mp3PRO Encoder"); rca != npos) {
        text = "RCA " + Run(buffer, rca + 18, 5);
    } else if (const auto thomson = at("THOMSON mp3PRO Encoder "); thomson != npos) {
        text = "Thomson " + Run(buffer, thomson + 23, 6);
    } else if (at("VBRI") != npos) {
        text = "VBRI";
    } else if (at("MPGE") != npos) {
        text = "MPGE";
    } else if (at("GOGO") != npos) {
        text = "GOGO";
    }
    return InterpretSignature(UpToZero(text));
}

std::string CMp3File::FindEncoderSignature(const Mp3Info& record) {
    std::string found;
    if (!record.lameVersion.empty()) {
        found = InterpretSignature(record.lameVersion);
    } else {
        std::array<std::uint8_t, kSignatureReadSize> buffer;
        // The first bytes of the audio, after an ID3v2 tag.
        Mp3Info scratch{};
        SkipId3v2(scratch);
        std::size_t got = reader_.read(buffer.data(), buffer.size());
        found = ScanSignatureBuffer(std::span(buffer.data(), got));
        if (found.empty()) {
            // Then the end of the file.
            const std::int64_t size = reader_.size();
            const std::int64_t start = size - std::min<std::int64_t>(size, kSignatureReadSize);
            got = reader_.readAt(start, buffer.data(), buffer.size());
            found = ScanSignatureBuffer(std::span(buffer.data(), got));
        }
        reader_.seek(0);
    }
    if (found.size() > kSignatureTextLimit) {
        found.resize(kSignatureTextLimit);
    }
    return found;
}

}  // namespace vornik
