// SPDX-License-Identifier: GPL-3.0-or-later
// The per-file analysis record and the per-frame series a complete scan collects.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "heap_value.h"

namespace vornik {

// The text fields of one ID3v2 or APE tag, decoded to UTF-8; empty where the tag has none.
struct TagFields {
    std::string title;
    std::string artist;
    std::string album;
    std::string year;
    std::string track;
    std::string genre;  // ID3v2's "(13)" references resolved to the genre's name
    std::string comment;
    // ReplayGain items as the tag writes them, e.g. "-6.50 dB" and "0.988235".
    std::string trackGain;
    std::string trackPeak;
    std::string albumGain;
};

// When the first errors of a kind happened, in ms; zero past those recorded.
using ErrorTimes = std::array<std::uint32_t, 20>;

// Everything the engine learns about one file. `Mp3Info info{};` is the zeroed record a scan
// starts from; the engine writes the fields, every other layer only reads them. Counts of
// "walked" frames exclude the first frame, which the frame walk never processes.
struct Mp3Info {
    std::array<std::uint8_t, 128> id3v1Raw{};  // last 128 bytes when they begin with "TAG"
    std::int32_t id3v1Track = 0;               // ID3v1.1 track byte as signed 8-bit, 0 = none
    bool hasId3v1 = false;
    bool hasId3v2 = false;
    std::int32_t qualityFigure = 0;  // written by the list worker, not by the engine
    std::string signatureText;       // encoder text found in the stream, at most 31 characters

    std::array<std::uint32_t, 16> bitrateHist{};  // walked frames per bitrate index
    std::uint32_t longBlocks = 0;                 // walked granule-channels per block kind
    std::uint32_t shortBlocks = 0;
    std::uint32_t mixedBlocks = 0;
    // Walked frames by the mode extension of joint-stereo frames; entry 0 also takes every
    // frame that is not joint stereo.
    std::array<std::uint32_t, 4> stereoModeHist{};
    std::int32_t frameCount = 0;  // walked frames, failed ones included
    float duration = 0;           // seconds
    std::int64_t fileSize = 0;    // bytes
    std::int32_t sampleRate = 0;  // Hz
    bool mpeg1 = false;           // ID bit of the first frame
    bool notMpeg25 = false;       // 0 means MPEG 2.5
    std::int32_t channels = 0;
    std::int32_t layer = 0;  // 1..3
    // A free-format stream's frame length without padding, in bytes (its bitrate is fixed
    // but outside the table); 0 for streams of table bitrates.
    std::int32_t freeFormatLength = 0;
    std::int32_t channelMode = 0;  // 0 stereo, 1 joint stereo, 2 dual channel, 3 single channel
    std::int32_t maxMainDataBegin = 0;  // bytes of bit reservoir
    std::uint32_t avgMainDataBegin = 0;
    std::uint64_t sumMainDataBegin = 0;
    std::int32_t syncErrors = 0;
    // ms into the stream of the first 20 errors; made on the first error.
    HeapValue<ErrorTimes> syncErrorTimes;
    bool paddingUsed = false;
    bool scfsiUsed = false;
    std::uint32_t scalefacScaleCount = 0;  // walked granule-channels with scalefac_scale set
    bool copyright = false;
    bool original = false;
    bool isVbr = false;
    bool hasCueSheet = false;
    bool lastFrameOk = false;     // the frame chain closes at the end of the file
    bool scanComplete = false;    // walked to the end of the audio
    std::int64_t audioStart = 0;  // file offset of the first frame
    std::int32_t emphasis = 0;
    std::int32_t avgBitrate = 0;  // kbps
    // The ten bytes ending one byte before the end of the last complete frame.
    std::array<std::uint8_t, 10> lastFrameTail{};

    bool hasXing = false;
    std::uint32_t xingMpeg1 = 0;
    std::int32_t xingSampleRate = 0;
    std::uint32_t xingFlags = 0;
    std::uint32_t xingFrames = 0;
    std::uint32_t xingBytes = 0;
    std::int32_t xingVbrScale = 0;            // -1 when absent
    bool hasXingToc = false;                  // the Xing header holds its seek table
    std::array<std::uint8_t, 100> xingToc{};  // the seek table, zero without one
    std::string lameVersion;                  // at most 11 characters
    bool lameTagValid = false;
    bool musicCrcOk = false;
    std::uint8_t lameRevision = 0;
    std::uint8_t lameVbrMethod = 0;
    std::uint32_t lameLowpass = 0;  // Hz
    std::array<std::uint8_t, 4> lamePeak{};
    std::array<std::uint8_t, 4> lameReplayGain{};
    std::uint8_t lameEncFlags = 0;
    std::uint8_t lameAthType = 0;
    std::uint8_t lameAbrBitrate = 0;  // kbps
    std::array<std::uint8_t, 3> lameDelays{};
    std::array<std::uint8_t, 2> lameGainPreset{};
    std::uint8_t lamePresetLow = 0;
    std::int32_t xingFrameLength = 0;
    std::uint8_t lameNoiseShaping = 0;
    std::uint8_t lameStereoMode = 0;
    std::uint32_t lameUnwise = 0;
    std::uint8_t lameSourceFreq = 0;
    std::uint32_t lameMusicLength = 0;  // bytes
    std::uint16_t lameMusicCrc = 0;
    bool musicCrcDone = false;
    std::uint16_t lameTagCrc = 0;

    bool hasVbri = false;
    std::uint16_t vbriUnknown1 = 0;
    std::uint16_t vbriUnknown2 = 0;
    std::uint16_t vbriScale = 0;
    std::uint32_t vbriBytes = 0;
    std::uint32_t vbriFrames = 0;
    std::uint16_t vbriTocSize = 0;
    std::uint16_t vbriUnknown3 = 0;
    std::uint16_t vbriUnknown4 = 0;
    std::uint16_t vbriFramesPerEntry = 0;
    // The seek table's entries as read, at most 511 (most files have none: a list row does
    // not carry a kilobyte of zeros for them).
    std::vector<std::uint16_t> vbriToc;
    static constexpr std::size_t kVbriTocMax = 511;

    std::int32_t mpcStreamVersion = 0;
    std::int32_t mpcProfile = 0;
    std::string fileName;  // the whole path

    // Frames with the protection bit clear whose CRC was recomputed, of the walked frames, and
    // those whose stored CRC differs; the times (ms from the start of the file's first frame)
    // of the first 20 that differ.
    std::int32_t crcFrames = 0;
    std::int32_t crcErrors = 0;
    HeapValue<ErrorTimes> crcErrorTimes;

    std::int32_t id3v2Version = 0;  // the x of ID3v2.x: 2, 3 or 4; 0 without a tag
    HeapValue<TagFields> id3v2Fields;
    std::int32_t pictureType = -1;  // picture type of the first attached picture, -1 for none
    std::uint32_t pictureSize = 0;  // bytes of that picture's image
    std::int32_t apeVersion = 0;    // 1000 (APEv1) or 2000 (APEv2); 0 without an APE tag
    HeapValue<TagFields> apeFields;
    bool hasLyrics3 = false;  // a Lyrics3 v2 block before the ID3v1 tag
    // Where the APE, Lyrics3 and ID3v1 tags at the end of the file begin; the file's size
    // without them.
    std::int64_t endTagsStart = 0;
    // Bytes between the ID3v2 tag (or the file's start) and the first frame.
    std::int64_t leadingJunk = 0;
    // Walked frames that decoded: frameCount less the places where the chain broke, such as
    // the tag after the last frame.
    std::int32_t decodedFrames = 0;
    // Where the frame chain that the walk followed ends: just after its last frame, which may
    // lie past the end of the file when that frame is cut short.
    std::int64_t audioEnd = 0;
};

// One element per walked frame in every list, for the details graph and histograms.
struct FrameSeries {
    std::vector<std::uint32_t> shortBigValues;      // last big_values when the frame is short
    std::vector<std::uint32_t> scalefacScaleFlags;  // 1 when any granule-channel scales
    std::vector<std::uint8_t> bitrateIndices;
    std::vector<std::uint32_t> mainDataBegins;
    std::vector<std::uint32_t> modeExtensions;
    std::vector<std::uint32_t> blockKinds;  // 0 long, 1 short, 2 mixed
    // Not appended for a frame found by a resynchronisation.
    std::vector<std::int64_t> framePositions;

    void reserve(std::size_t frames);
};

}  // namespace vornik
