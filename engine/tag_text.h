// SPDX-License-Identifier: GPL-3.0-or-later
// Text as tags store it, turned into UTF-8: ID3v2's four encodings and its zero terminators.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace vornik {

// ID3v2's text encoding byte.
enum class TagEncoding : std::uint8_t {
    Latin1 = 0,
    Utf16 = 1,    // with a byte order mark; little-endian without one
    Utf16Be = 2,  // ID3v2.4
    Utf8 = 3,     // ID3v2.4
};

// Reads strings one after another from a frame's bytes, each up to its terminator (one zero
// byte, or two aligned ones in UTF-16) or the end of the bytes. Never reads past the span.
class TagTextReader {
  public:
    TagTextReader(std::span<const std::uint8_t> bytes, TagEncoding encoding)
        : bytes_(bytes), encoding_(encoding) {}

    // The next string as UTF-8, the terminator consumed.
    std::string Next();
    // The rest of the bytes as strings, without the empty ones: ID3v2.4 keeps several values in
    // one frame this way.
    std::vector<std::string> Values();
    // Values() joined with " / ".
    std::string Rest();
    std::size_t position() const { return position_; }

  private:
    std::span<const std::uint8_t> bytes_;
    TagEncoding encoding_;
    std::size_t position_ = 0;
};

// Several values of one field, as one text: joined with " / ".
std::string JoinValues(const std::vector<std::string>& values);

// ISO-8859-1 and UTF-16 to UTF-8; unpaired surrogates become U+FFFD. UTF-8 is taken as it is.
std::string Latin1ToUtf8(std::span<const std::uint8_t> bytes);
std::string Utf16ToUtf8(std::span<const std::uint8_t> bytes, bool bigEndian);

}  // namespace vornik
