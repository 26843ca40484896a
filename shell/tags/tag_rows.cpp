// SPDX-License-Identifier: GPL-3.0-or-later
#include "tag_rows.h"

namespace vornik {
namespace {

QString Slot(const AttributeTexts& texts, int slot) {
    return QString::fromStdString(texts[slot]);
}

}  // namespace

std::vector<TagPageKind> TagPagesOf(const Mp3Info& record) {
    std::vector<TagPageKind> pages;
    if (record.hasXing && record.lameTagValid) {
        pages.push_back(TagPageKind::Lame);
    }
    if (record.hasXing) {
        pages.push_back(TagPageKind::Xing);
    }
    if (record.hasVbri) {
        pages.push_back(TagPageKind::Vbri);
    }
    return pages;
}

QString TagPageCaption(TagPageKind kind) {
    switch (kind) {
        case TagPageKind::Lame:
            return QStringLiteral("Lame Tag");
        case TagPageKind::Xing:
            return QStringLiteral("Xing Tag");
        case TagPageKind::Vbri:
            break;
    }
    return QStringLiteral("VBRI Tag");
}

TagRows LameTagRows(const Mp3Info& record, const AttributeTexts& texts, MusicCrcState crc,
                    const QString& failure) {
    const QString bitrateField = record.lameVbrMethod == 1   ? QStringLiteral("Bitrate")
                                 : record.lameVbrMethod == 2 ? QStringLiteral("ABR Bitrate")
                                                             : QStringLiteral("Minimum Bitrate");
    const QString crcText = crc == MusicCrcState::Calculating ? QStringLiteral("Calculating...")
                            : crc == MusicCrcState::Ok        ? QStringLiteral("OK")
                            : crc == MusicCrcState::Corrupt
                                ? QStringLiteral("corrupt")
                                : QStringLiteral("could not be computed: ") + failure;
    return {
        {QStringLiteral("Quality"), Slot(texts, kSlotQualityIndex)},
        {QStringLiteral("Version String"), QString::fromStdString(record.lameVersion.substr(0, 9))},
        {QStringLiteral("Tag Revision"), Slot(texts, kSlotTagRevision)},
        {QStringLiteral("VBR Method"), Slot(texts, kSlotVbrMethod)},
        {QStringLiteral("Lowpass Filter"), Slot(texts, kSlotLowpass)},
        {QStringLiteral("Psycho-acoustic Model"), Slot(texts, kSlotPsychoacoustics)},
        {QStringLiteral("Safe Joint Stereo"), Slot(texts, kSlotSafeJointStereo)},
        {QStringLiteral("--nogap (continued)"), Slot(texts, kSlotNogapContinued)},
        {QStringLiteral("--nogap (continuation)"), Slot(texts, kSlotNogapContinuation)},
        {QStringLiteral("ATH Type"), Slot(texts, kSlotAthType)},
        {bitrateField, Slot(texts, kSlotAbrBitrate)},
        {QStringLiteral("Noise Shaping"), Slot(texts, kSlotNoiseShaping)},
        {QStringLiteral("Stereo Mode"), Slot(texts, kSlotLameStereoMode)},
        {QStringLiteral("Unwise Settings"), Slot(texts, kSlotUnwise)},
        {QStringLiteral("Input Frequency"), Slot(texts, kSlotInputFrequency)},
        {QStringLiteral("Music CRC"), crcText},
    };
}

TagRows XingTagRows(const Mp3Info& record) {
    TagRows rows;
    if (record.xingFlags & 1) {
        rows.emplace_back(QStringLiteral("Frames"), QString::number(record.xingFrames));
    }
    if (record.xingFlags & 2) {
        rows.emplace_back(QStringLiteral("Total Bitstream Bytes"),
                          QString::number(record.xingBytes));
    }
    if (record.xingFlags & 8) {
        rows.emplace_back(QStringLiteral("VBR Scale"), QString::number(record.xingVbrScale));
    }
    if (record.xingFlags & 4) {
        rows.emplace_back(QStringLiteral("Table Of Contents"), QStringLiteral("yes"));
    }
    return rows;
}

TagRows VbriTagRows(const Mp3Info& record) {
    return {
        {QStringLiteral("Unknown Word #1 (hex)"), HexWord(record.vbriUnknown1)},
        {QStringLiteral("Unknown Word #2 (hex)"), HexWord(record.vbriUnknown2)},
        {QStringLiteral("VBR Scale"), QString::number(record.vbriScale)},
        {QStringLiteral("Total Bitstream Bytes"), QString::number(record.vbriBytes)},
        {QStringLiteral("Frames"), QString::number(record.vbriFrames)},
        {QStringLiteral("Table of Contents Size (words)"), QString::number(record.vbriTocSize)},
        {QStringLiteral("Unknown Word #3 (hex)"), HexWord(record.vbriUnknown3)},
        {QStringLiteral("Unknown Word #4 (hex)"), HexWord(record.vbriUnknown4)},
        {QStringLiteral("Size of Table Entries (frames)"),
         QString::number(record.vbriFramesPerEntry)},
    };
}

QString HexWord(std::uint16_t word) {
    return QStringLiteral("%1 %2")
        .arg(word >> 8, 2, 16, QLatin1Char('0'))
        .arg(word & 0xFF, 2, 16, QLatin1Char('0'))
        .toUpper();
}

}  // namespace vornik
