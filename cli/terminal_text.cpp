// SPDX-License-Identifier: GPL-3.0-or-later
#include "terminal_text.h"

#include <cstdint>

namespace vornik {
namespace {

void Escape(std::string& out, unsigned char byte) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    out += "\\x";
    out += kHex[byte >> 4];
    out += kHex[byte & 0x0F];
}

// The length of the UTF-8 sequence at `pos` when it is well formed, else 0.
std::size_t SequenceLength(std::string_view text, std::size_t pos) {
    const auto lead = static_cast<unsigned char>(text[pos]);
    const std::size_t length = (lead & 0xE0) == 0xC0   ? 2
                               : (lead & 0xF0) == 0xE0 ? 3
                               : (lead & 0xF8) == 0xF0 ? 4
                                                       : 0;
    if (length == 0 || pos + length > text.size()) {
        return 0;
    }
    std::uint32_t code = lead & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[pos + i]);
        if ((next & 0xC0) != 0x80) {
            return 0;
        }
        code = code << 6 | (next & 0x3F);
    }
    constexpr std::uint32_t kShortest[] = {0, 0, 0x80, 0x800, 0x10000};
    const bool valid =
        code >= kShortest[length] && code <= 0x10FFFF && !(code >= 0xD800 && code <= 0xDFFF);
    // C1 controls (U+0080 to U+009F) act as escape sequences on many terminals.
    return valid && !(code >= 0x80 && code <= 0x9F) ? length : 0;
}

}  // namespace

std::string TerminalText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size();) {
        const auto byte = static_cast<unsigned char>(text[pos]);
        if (byte < 0x80) {
            // A line end written as CR LF (the text and CSV documents) stays one.
            const bool lineEnd =
                byte == '\n' || (byte == '\r' && pos + 1 < text.size() && text[pos + 1] == '\n');
            if ((byte < 0x20 && byte != '\t' && !lineEnd) || byte == 0x7F) {
                Escape(out, byte);
            } else {
                out += static_cast<char>(byte);
            }
            ++pos;
        } else if (const std::size_t length = SequenceLength(text, pos); length > 0) {
            out += text.substr(pos, length);
            pos += length;
        } else {
            Escape(out, byte);
            ++pos;
        }
    }
    return out;
}

TerminalLineBuffer::int_type TerminalLineBuffer::overflow(int_type c) {
    if (traits_type::eq_int_type(c, traits_type::eof())) {
        return traits_type::not_eof(c);
    }
    line_ += traits_type::to_char_type(c);
    if (c == '\n') {
        sync();
    }
    return c;
}

int TerminalLineBuffer::sync() {
    if (!line_.empty()) {
        target_ << TerminalText(line_) << std::flush;
        line_.clear();
    }
    return 0;
}

}  // namespace vornik
