// SPDX-License-Identifier: GPL-3.0-or-later
#include "tag_text.h"

namespace vornik {
namespace {

void AppendUtf8(std::string& out, std::uint32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | code >> 6);
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | code >> 12);
        out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | code >> 18);
        out += static_cast<char>(0x80 | (code >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

constexpr std::uint32_t kReplacement = 0xFFFD;

}  // namespace

std::string Latin1ToUtf8(std::span<const std::uint8_t> bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (const std::uint8_t byte : bytes) {
        AppendUtf8(out, byte);
    }
    return out;
}

std::string Utf16ToUtf8(std::span<const std::uint8_t> bytes, bool bigEndian) {
    std::string out;
    const auto unit = [&](std::size_t i) {
        return bigEndian ? static_cast<std::uint32_t>(bytes[i] << 8 | bytes[i + 1])
                         : static_cast<std::uint32_t>(bytes[i + 1] << 8 | bytes[i]);
    };
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const std::uint32_t first = unit(i);
        if (first >= 0xD800 && first < 0xDC00 && i + 3 < bytes.size()) {
            const std::uint32_t second = unit(i + 2);
            if (second >= 0xDC00 && second < 0xE000) {
                AppendUtf8(out, 0x10000 + ((first - 0xD800) << 10) + (second - 0xDC00));
                i += 2;
                continue;
            }
        }
        AppendUtf8(out, first >= 0xD800 && first < 0xE000 ? kReplacement : first);
    }
    return out;
}

std::string TagTextReader::Next() {
    const bool wide = encoding_ == TagEncoding::Utf16 || encoding_ == TagEncoding::Utf16Be;
    const std::size_t step = wide ? 2 : 1;
    const std::size_t start = position_;
    std::size_t end = start;
    while (end + step <= bytes_.size() && !(bytes_[end] == 0 && (!wide || bytes_[end + 1] == 0))) {
        end += step;
    }
    const bool terminated = end + step <= bytes_.size();
    position_ = terminated ? end + step : bytes_.size();
    std::span<const std::uint8_t> text = bytes_.subspan(start, end - start);
    switch (encoding_) {
        case TagEncoding::Latin1:
            return Latin1ToUtf8(text);
        case TagEncoding::Utf8:
            return std::string(text.begin(), text.end());
        case TagEncoding::Utf16Be:
            return Utf16ToUtf8(text, true);
        case TagEncoding::Utf16:
            break;
    }
    // Each UTF-16 string has its own byte order mark.
    if (text.size() >= 2 && text[0] == 0xFE && text[1] == 0xFF) {
        return Utf16ToUtf8(text.subspan(2), true);
    }
    if (text.size() >= 2 && text[0] == 0xFF && text[1] == 0xFE) {
        return Utf16ToUtf8(text.subspan(2), false);
    }
    return Utf16ToUtf8(text, false);
}

std::vector<std::string> TagTextReader::Values() {
    std::vector<std::string> values;
    while (position_ < bytes_.size()) {
        std::string value = Next();
        if (!value.empty()) {
            values.push_back(std::move(value));
        }
    }
    return values;
}

std::string TagTextReader::Rest() {
    return JoinValues(Values());
}

std::string JoinValues(const std::vector<std::string>& values) {
    std::string joined;
    for (const std::string& value : values) {
        joined += (joined.empty() ? "" : " / ") + value;
    }
    return joined;
}

}  // namespace vornik
