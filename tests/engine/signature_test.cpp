// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "encoder_signature.h"
#include "scan_helpers.h"
#include "stream_builder.h"
#include "vbr_builders.h"

namespace vornik {
namespace {

using test::StreamBuilder;

TEST(InterpretSignature, Texts) {
    const struct {
        const char* text;
        const char* name;
    } cases[] = {
        {"LAME3.90a", "Lame 3.90 (alpha)"},
        {"LAME3.88 (b", "Lame 3.88 (beta)"},
        {"LAME3.70 (a", "Lame 3.70 (alpha)"},
        {"LAME3.99r", "Lame 3.99"},
        {"LAME3.100", "Lame 3.100"},
        {"LAME3.92 ", "Lame 3.92"},
        {"LAME3.9", "Lame"},
        {"LAME", "Lame"},
        {"Lavf58.76", "FFmpeg (Lavf58.76)"},
        {"VBRI", "FhG (fastenc)"},
        {"MPGE", "Gogo (before 3.0)"},
        {"GOGO", "Gogo (after 3.0)"},
        {"RCA 1.0.2", "RCA 1.0.2"},
        {"Thomson 1.1.1 ", "Thomson 1.1.1 "},
        {"Xing", ""},
        {"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(InterpretSignature(c.text), c.name) << c.text;
    }
}

std::vector<std::uint8_t> Bytes(const std::string& text) {
    std::vector<std::uint8_t> bytes(40, 0x55);
    for (const char c : text) {
        bytes.push_back(static_cast<std::uint8_t>(c));
    }
    bytes.resize(bytes.size() + 40, 0);
    return bytes;
}

TEST(ScanSignatureBuffer, PatternsAndTheirTexts) {
    const struct {
        const char* buffer;
        const char* name;
    } cases[] = {
        {"LAME3.90aXXXX", "Lame 3.90"},  // the buffer search keeps four characters
        {"LAME3.70 (beta)", "Lame 3.70 (beta)"},
        {"LAME3.100", "Lame 3.100"},
        {"GOGO....LAME3.92 ", "Lame 3.92"},  // LAME wins wherever it stands
        {"RCA mp3PRO Encoder 1.23abc", "RCA  1.23"},
        {"THOMSON mp3PRO Encoder 2.0.1xyz", "Thomson 2.0.1x"},
        {"xxVBRIxx", "FhG (fastenc)"},
        {"MPGE", "Gogo (before 3.0)"},
        {"GOGO", "Gogo (after 3.0)"},
        {"nothing here", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ScanSignatureBuffer(Bytes(c.buffer)), c.name) << c.buffer;
    }
    // A mark at the very end of the buffer: the missing bytes end the text.
    const std::string end = "LAME3.9";
    EXPECT_EQ(ScanSignatureBuffer(
                  std::span(reinterpret_cast<const std::uint8_t*>(end.data()), end.size())),
              "Lame");
}

std::vector<std::uint8_t> FramesWithText(const std::string& text, std::size_t at) {
    auto bytes = StreamBuilder().frames({}, 20).data();
    std::copy(text.begin(), text.end(), bytes.begin() + static_cast<long>(at));
    return bytes;
}

TEST(FindEncoderSignature, WhereTheScanLooks) {
    // In the padding of the first frames, as LAME writes into a file without a tag.
    EXPECT_EQ(test::ScanBytes(FramesWithText("LAME3.92 ", 300), false).record.signatureText,
              "Lame 3.92");
    // Only near the end of the file.
    auto tail = FramesWithText("GOGO", 20 * 417 - 500);
    EXPECT_EQ(test::ScanBytes(tail, false).record.signatureText, "Gogo (after 3.0)");
    // Neither in the first nor in the last 1024 bytes.
    EXPECT_EQ(test::ScanBytes(FramesWithText("GOGO", 4000), false).record.signatureText, "");
    // After an ID3v2 tag the first bytes are those of the audio.
    const auto tagged = StreamBuilder().id3v2(2000).bytes(FramesWithText("MPGE", 200)).data();
    EXPECT_EQ(test::ScanBytes(tagged, false).record.signatureText, "Gogo (before 3.0)");
}

TEST(FindEncoderSignature, TheTextAfterTheXingFieldsDecidesAlone) {
    test::XingShape xing;
    xing.encoderText = "abcd";
    const auto bytes = StreamBuilder()
                           .bytes(test::BuildXingFrame({}, xing))
                           .bytes(FramesWithText("GOGO", 100))
                           .data();
    EXPECT_EQ(test::ScanBytes(bytes, false).record.signatureText, "");
}

}  // namespace
}  // namespace vornik
