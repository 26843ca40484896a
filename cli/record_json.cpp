// SPDX-License-Identifier: GPL-3.0-or-later
#include "record_json.h"
#include "integrity_check.h"

#include <cstdio>
#include <span>
#include <string>

namespace vornik {
namespace {

// Raw byte fields are written as lowercase hex, two digits a byte.
std::string Hex(std::span<const std::uint8_t> bytes) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text;
    text.reserve(bytes.size() * 2);
    for (const std::uint8_t byte : bytes) {
        text += kDigits[byte >> 4];
        text += kDigits[byte & 0x0F];
    }
    return text;
}

nlohmann::ordered_json TagFieldsToJson(const TagFields& f) {
    nlohmann::ordered_json j;
    j["title"] = f.title;
    j["artist"] = f.artist;
    j["album"] = f.album;
    j["year"] = f.year;
    j["track"] = f.track;
    j["genre"] = f.genre;
    j["comment"] = f.comment;
    j["trackGain"] = f.trackGain;
    j["trackPeak"] = f.trackPeak;
    j["albumGain"] = f.albumGain;
    return j;
}

}  // namespace

nlohmann::ordered_json RecordToJson(const Mp3Info& r) {
    nlohmann::ordered_json j;
    j["id3v1Raw"] = Hex(r.id3v1Raw);
    j["id3v1Track"] = r.id3v1Track;
    j["hasId3v1"] = r.hasId3v1;
    j["hasId3v2"] = r.hasId3v2;
    j["qualityFigure"] = r.qualityFigure;
    j["signatureText"] = r.signatureText;
    j["bitrateHist"] = r.bitrateHist;
    j["longBlocks"] = r.longBlocks;
    j["shortBlocks"] = r.shortBlocks;
    j["mixedBlocks"] = r.mixedBlocks;
    j["stereoModeHist"] = r.stereoModeHist;
    j["frameCount"] = r.frameCount;
    j["duration"] = r.duration;
    j["fileSize"] = r.fileSize;
    j["sampleRate"] = r.sampleRate;
    j["mpeg1"] = r.mpeg1;
    j["notMpeg25"] = r.notMpeg25;
    j["channels"] = r.channels;
    j["layer"] = r.layer;
    j["channelMode"] = r.channelMode;
    j["maxMainDataBegin"] = r.maxMainDataBegin;
    j["avgMainDataBegin"] = r.avgMainDataBegin;
    j["sumMainDataBegin"] = r.sumMainDataBegin;
    j["syncErrors"] = r.syncErrors;
    j["syncErrorTimes"] = *r.syncErrorTimes;
    j["paddingUsed"] = r.paddingUsed;
    j["scfsiUsed"] = r.scfsiUsed;
    j["scalefacScaleCount"] = r.scalefacScaleCount;
    j["copyright"] = r.copyright;
    j["original"] = r.original;
    j["isVbr"] = r.isVbr;
    j["hasCueSheet"] = r.hasCueSheet;
    j["lastFrameOk"] = r.lastFrameOk;
    j["scanComplete"] = r.scanComplete;
    j["audioStart"] = r.audioStart;
    j["emphasis"] = r.emphasis;
    j["avgBitrate"] = r.avgBitrate;
    j["lastFrameTail"] = Hex(r.lastFrameTail);
    j["hasXing"] = r.hasXing;
    j["xingMpeg1"] = r.xingMpeg1;
    j["xingSampleRate"] = r.xingSampleRate;
    j["xingFlags"] = r.xingFlags;
    j["xingFrames"] = r.xingFrames;
    j["xingBytes"] = r.xingBytes;
    j["xingVbrScale"] = r.xingVbrScale;
    const std::string counting = XingFrameCounting(r);
    j["xingFrameCounting"] =
        counting.empty() ? nlohmann::ordered_json(nullptr) : nlohmann::ordered_json(counting);
    j["xingToc"] = r.hasXingToc ? nlohmann::ordered_json(Hex(std::span<const std::uint8_t>(
                                      r.xingToc.data(), r.xingToc.size())))
                                : nlohmann::ordered_json(nullptr);
    j["lameVersion"] = r.lameVersion;
    j["lameTagValid"] = r.lameTagValid;
    j["musicCrcOk"] = r.musicCrcOk;
    j["lameRevision"] = r.lameRevision;
    j["lameVbrMethod"] = r.lameVbrMethod;
    j["lameLowpass"] = r.lameLowpass;
    j["lamePeak"] = Hex(r.lamePeak);
    j["lameReplayGain"] = Hex(r.lameReplayGain);
    j["lameEncFlags"] = r.lameEncFlags;
    j["lameAthType"] = r.lameAthType;
    j["lameAbrBitrate"] = r.lameAbrBitrate;
    j["lameDelays"] = Hex(r.lameDelays);
    j["lameGainPreset"] = Hex(r.lameGainPreset);
    j["lamePresetLow"] = r.lamePresetLow;
    j["xingFrameLength"] = r.xingFrameLength;
    j["lameNoiseShaping"] = r.lameNoiseShaping;
    j["lameStereoMode"] = r.lameStereoMode;
    j["lameUnwise"] = r.lameUnwise;
    j["lameSourceFreq"] = r.lameSourceFreq;
    j["lameMusicLength"] = r.lameMusicLength;
    j["lameMusicCrc"] = r.lameMusicCrc;
    j["musicCrcDone"] = r.musicCrcDone;
    j["lameTagCrc"] = r.lameTagCrc;
    j["hasVbri"] = r.hasVbri;
    j["vbriUnknown1"] = r.vbriUnknown1;
    j["vbriUnknown2"] = r.vbriUnknown2;
    j["vbriScale"] = r.vbriScale;
    j["vbriBytes"] = r.vbriBytes;
    j["vbriFrames"] = r.vbriFrames;
    j["vbriTocSize"] = r.vbriTocSize;
    j["vbriUnknown3"] = r.vbriUnknown3;
    j["vbriUnknown4"] = r.vbriUnknown4;
    j["vbriFramesPerEntry"] = r.vbriFramesPerEntry;
    // Always the table's 511 words, zero past those read, as the dump has always written it.
    std::vector<std::uint16_t> vbriToc = r.vbriToc;
    vbriToc.resize(Mp3Info::kVbriTocMax);
    j["vbriToc"] = vbriToc;
    j["mpcStreamVersion"] = r.mpcStreamVersion;
    j["mpcProfile"] = r.mpcProfile;
    j["fileName"] = r.fileName;
    j["crcFrames"] = r.crcFrames;
    j["crcErrors"] = r.crcErrors;
    j["crcErrorTimes"] = *r.crcErrorTimes;
    j["id3v2Version"] = r.id3v2Version;
    j["id3v2Fields"] = TagFieldsToJson(*r.id3v2Fields);
    j["pictureType"] = r.pictureType;
    j["pictureSize"] = r.pictureSize;
    j["apeVersion"] = r.apeVersion;
    j["apeFields"] = TagFieldsToJson(*r.apeFields);
    j["hasLyrics3"] = r.hasLyrics3;
    j["endTagsStart"] = r.endTagsStart;
    j["leadingJunk"] = r.leadingJunk;
    j["audioEnd"] = r.audioEnd;
    j["decodedFrames"] = r.decodedFrames;
    return j;
}

nlohmann::ordered_json SeriesToJson(const FrameSeries& s) {
    nlohmann::ordered_json j;
    j["shortBigValues"] = s.shortBigValues;
    j["scalefacScaleFlags"] = s.scalefacScaleFlags;
    j["bitrateIndices"] = s.bitrateIndices;
    j["mainDataBegins"] = s.mainDataBegins;
    j["modeExtensions"] = s.modeExtensions;
    j["blockKinds"] = s.blockKinds;
    j["framePositions"] = s.framePositions;
    return j;
}

}  // namespace vornik
