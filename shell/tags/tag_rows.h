// SPDX-License-Identifier: GPL-3.0-or-later
// What the tag dialog's pages list, apart from their widgets.
#pragma once

#include <QString>
#include <cstdint>
#include <utility>
#include <vector>

#include "attribute_texts.h"
#include "mp3_info.h"

namespace vornik {

enum class TagPageKind { Lame, Xing, Vbri };
using TagRows = std::vector<std::pair<QString, QString>>;  // (field, value)

// The pages a file has, in their order: the Lame tag behind a Xing/Info header, the Xing/Info
// header, the VBRI header.
std::vector<TagPageKind> TagPagesOf(const Mp3Info& record);
QString TagPageCaption(TagPageKind kind);

// Where the music CRC check stands.
// Where the music CRC check stands. Failed is no verdict: the CRC could not be computed.
enum class MusicCrcState { Calculating, Ok, Corrupt, Failed };

// `failure` is why the CRC could not be computed, for MusicCrcState::Failed.
TagRows LameTagRows(const Mp3Info& record, const AttributeTexts& texts, MusicCrcState crc,
                    const QString& failure = QString());
// Only the fields whose flags are set.
TagRows XingTagRows(const Mp3Info& record);
TagRows VbriTagRows(const Mp3Info& record);

// A 16-bit word as its high and its low byte in hex: 0x1234 reads "12 34".
QString HexWord(std::uint16_t word);

}  // namespace vornik
