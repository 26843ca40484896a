// SPDX-License-Identifier: GPL-3.0-or-later
// Encoder names that encoders leave as text in the stream.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace vornik {

// The short encoder text for a text found in the stream ("Lame 3.90 (alpha)",
// "FhG (fastenc)", "FFmpeg (Lavc59.37)", ...); empty when it names no known encoder.
std::string InterpretSignature(std::string_view text);

// Looks for the known encoder marks in `buffer` (the first of them in order of preference that
// occurs anywhere wins), forms its text and interprets it; empty when none occurs.
std::string ScanSignatureBuffer(std::span<const std::uint8_t> buffer);

}  // namespace vornik
