// SPDX-License-Identifier: GPL-3.0-or-later
#include "attribute_catalogue.h"

#include "gapless.h"
#include "replay_gain.h"

namespace vornik {
namespace {

AttributeCatalogue MakeCatalogue() {
    using S = SortField;
    const std::string general = "General";
    const std::string mpegPlus = "Mpeg Plus";
    const std::string lame = "Lame Tag";
    const std::string id3v1 = "ID3v1";
    const std::string integrity = "Integrity";
    const std::string gapless = "Gapless";
    const std::string replayGain = "ReplayGain";
    const std::string encoding = "Encoding";
    const std::string id3v2 = "ID3v2";
    const std::string ape = "APE";
    const std::string tags = "Tags";
    // id, name, description, group, sort field, text slot, list width, needs the walk
    return {
        {0, {"Name", "Filename", general, S::Text, 1, 200, false}},
        {1, {"Encoder", "Probable encoder used", general, S::Text, 2, 100, true}},
        {2, {"Bitrate", "Bitrate (kbps)", general, S::AvgBitrate, 7, 60, true}},
        {3, {"Stereo Mode", "Stereo Mode", general, S::Text, 4, 80, false}},
        {4, {"Length", "Mp3 duration (h:mm:ss)", general, S::Duration, 3, 100, true}},
        {5, {"Size", "File size (bytes)", general, S::FileSize, 9, 100, false}},
        {6,
         {"Bad Last Frame", "Is the last frame of the mp3 cut short?", general, S::Text, 14, 50,
          false}},
        {7, {"Quality", "Estimate of file's quality", general, S::QualityFigure, 28, 50, true}},
        {8, {"Freq. (Hz)", "Frequency of audio file", general, S::SampleRate, 11, 70, false}},
        {9, {"Frames", "Number of frames in file", general, S::FrameCount, 10, 50, true}},
        {11, {"Type", "Type of audio file", general, S::Text, 8, 100, false}},
        {12, {"Vbr", "Is the file VBR?", general, S::IsVbr, 15, 40, true}},
        {13,
         {"Cue Sheet", "Is there am embedded CUE sheet?", general, S::HasCueSheet, 17, 40, false}},
        {14,
         {"Sync Errors", "Number of sync errors in file", general, S::SyncErrors, 18, 40, true}},
        {16,
         {"Max. Reservoir", "Largest number of reservoir bytes used per frame", general,
          S::MaxMainDataBegin, 12, 80, true}},
        {17,
         {"Av. Reservoir", "Average number of reservoir bytes used per frame", general,
          S::AvgMainDataBegin, 13, 80, true}},
        {58, {"Profile", "Profile (MpegPlus only)", mpegPlus, S::Text, 27, 100, false}},
        {59,
         {"Mpeg Plus Stream", "Version of Mpeg Plus bit stream", mpegPlus, S::MpcStreamVersion, 26,
          50, false}},
        {100, {"Lame tag", "Is there a Lame VBR tag?", lame, S::Text, 16, 50, false}},
        {101, {"Quality Index", "Measure of mp3 quality", lame, S::XingVbrScale, 29, 80, false}},
        {102, {"Tag Revision", "Version of Lame Tag", lame, S::LameRevision, 30, 80, false}},
        {103, {"VBR Method", "Type of VBR/CBR used", lame, S::Text, 31, 80, false}},
        {104,
         {"Lowpass Filter", "Lowpass filter used when encoding", lame, S::LameLowpass, 32, 100,
          false}},
        {105,
         {"Psycho-acoustic Model", "Were Ostrak's psychoacoustics used?", lame, S::Text, 33, 80,
          false}},
        {106,
         {"Safe Joint Stereo", "Was Ostrak's 'safe joint stereo' used?", lame, S::Text, 34, 80,
          false}},
        {107,
         {"nogap (continuation)", "Is this a successor in a nogap chain?", lame, S::Text, 36, 80,
          false}},
        {108,
         {"nogap (continued)", "Is this a precursor in a nogap chain?", lame, S::Text, 35, 80,
          false}},
        {109,
         {"AthType", "Absolute threshold of hearing formula number", lame, S::Text, 37, 80, false}},
        {110,
         {"ABR Bitrate", "Bitrate target for ABR mode / min bitrate if not ABR", lame, S::Text, 38,
          80, false}},
        {111,
         {"Unwise Settings", "Was the file encoded using unwise settings (such as --noshort)", lame,
          S::Text, 40, 80, false}},
        {112, {"Input Frequency", "Frequency of input file", lame, S::Text, 41, 100, false}},
        {200, {"Album", "Album containing track", id3v1, S::Text, 20, 150, false}},
        {201, {"Artist", "Artist according to tag", id3v1, S::Text, 21, 150, false}},
        {202, {"Title", "Title of track according to tag", id3v1, S::Text, 19, 150, false}},
        {203, {"Year", "Year of track", id3v1, S::Text, 23, 100, false}},
        {204, {"Track", "Track Number", id3v1, S::Id3v1Track, 25, 100, false}},
        {205, {"Comment", "Comment contained in id3v1 tag", id3v1, S::Text, 24, 150, false}},
        {206, {"Genre", "Genre of track", id3v1, S::Text, 22, 150, false}},
        // Ids from 300 on: groups that came after the ones above.
        {300,
         {"CRC Frames", "Number of frames whose CRC was checked", integrity, S::CrcFrames, 43, 70,
          true}},
        {301,
         {"CRC Errors", "Number of frames whose CRC does not match", integrity, S::CrcErrors, 44,
          70, true}},
        {302,
         {"Integrity", "Findings of a check of the whole file, or OK", integrity, S::Text, 45, 150,
          true}},
        {310,
         {"Encoder Delay", "Samples the encoder added before the music", gapless, S::EncoderDelay,
          46, 70, false}},
        {311,
         {"Encoder Padding", "Samples the encoder added after the music", gapless,
          S::EncoderPadding, 47, 70, false}},
        {312,
         {"Exact Length", "Length of the music without delay and padding (h:mm:ss.ms)", gapless,
          S::ExactSamples, 48, 100, false}},
        {320,
         {"Track Gain", "ReplayGain track gain and where it was found", replayGain, S::TrackGain,
          49, 150, false}},
        {321,
         {"Track Peak", "ReplayGain track peak and where it was found", replayGain, S::TrackPeak,
          50, 150, false}},
        {322,
         {"Album Gain", "ReplayGain album gain and where it was found", replayGain, S::AlbumGain,
          51, 150, false}},
        {330,
         {"Lame Settings", "Lame options the file was encoded with, as typed", encoding, S::Text,
          52, 120, false}},
        {340,
         {"Title (ID3v2)", "Title according to the ID3v2 tag", id3v2, S::Text, 53, 150, false}},
        {341,
         {"Artist (ID3v2)", "Artist according to the ID3v2 tag", id3v2, S::Text, 54, 150, false}},
        {342,
         {"Album (ID3v2)", "Album according to the ID3v2 tag", id3v2, S::Text, 55, 150, false}},
        {343, {"Year (ID3v2)", "Year according to the ID3v2 tag", id3v2, S::Text, 56, 60, false}},
        {344, {"Track (ID3v2)", "Track according to the ID3v2 tag", id3v2, S::Text, 57, 60, false}},
        {345,
         {"Genre (ID3v2)", "Genre according to the ID3v2 tag", id3v2, S::Text, 58, 100, false}},
        {346, {"Comment (ID3v2)", "Comment in the ID3v2 tag", id3v2, S::Text, 59, 150, false}},
        {347,
         {"Picture", "Type and size of the first picture in the ID3v2 tag", id3v2, S::Text, 60, 150,
          false}},
        {350, {"Title (APE)", "Title according to the APE tag", ape, S::Text, 61, 150, false}},
        {351, {"Artist (APE)", "Artist according to the APE tag", ape, S::Text, 62, 150, false}},
        {352, {"Album (APE)", "Album according to the APE tag", ape, S::Text, 63, 150, false}},
        {353, {"Year (APE)", "Year according to the APE tag", ape, S::Text, 64, 60, false}},
        {354, {"Track (APE)", "Track according to the APE tag", ape, S::Text, 65, 60, false}},
        {355, {"Genre (APE)", "Genre according to the APE tag", ape, S::Text, 66, 100, false}},
        {356, {"Comment (APE)", "Comment in the APE tag", ape, S::Text, 67, 150, false}},
        {360, {"Tags", "Tags the file holds", tags, S::Text, 68, 150, false}},
    };
}

}  // namespace

const AttributeCatalogue& BuildAttributeCatalogue() {
    static const AttributeCatalogue catalogue = MakeCatalogue();
    return catalogue;
}

const AttributeInfo* FindAttribute(int id) {
    const AttributeCatalogue& catalogue = BuildAttributeCatalogue();
    const auto it = catalogue.find(id);
    return it == catalogue.end() ? nullptr : &it->second;
}

double SortValue(const Mp3Info& r, SortField field) {
    switch (field) {
        case SortField::Text:
            return 0;
        case SortField::AvgBitrate:
            return r.avgBitrate;
        case SortField::Duration:
            return r.duration;
        case SortField::FileSize:
            return static_cast<double>(r.fileSize);
        case SortField::QualityFigure:
            return r.qualityFigure;
        case SortField::SampleRate:
            return r.sampleRate;
        case SortField::FrameCount:
            return r.frameCount;
        case SortField::IsVbr:
            return r.isVbr ? 1 : 0;
        case SortField::HasCueSheet:
            return r.hasCueSheet ? 1 : 0;
        case SortField::SyncErrors:
            return r.syncErrors;
        case SortField::MaxMainDataBegin:
            return r.maxMainDataBegin;
        case SortField::AvgMainDataBegin:
            return r.avgMainDataBegin;
        case SortField::MpcStreamVersion:
            return r.mpcStreamVersion;
        case SortField::XingVbrScale:
            return r.xingVbrScale;
        case SortField::LameRevision:
            return r.lameRevision;
        case SortField::LameLowpass:
            return r.lameLowpass;
        case SortField::Id3v1Track:
            return r.id3v1Track;
        case SortField::CrcFrames:
            return r.crcFrames;
        case SortField::CrcErrors:
            return r.crcErrors;
        case SortField::EncoderDelay:
            return GaplessOf(r).delay;
        case SortField::EncoderPadding:
            return GaplessOf(r).padding;
        case SortField::ExactSamples:
            return static_cast<double>(GaplessOf(r).samples);
        case SortField::TrackGain:
            return ReplayGainOf(r).trackGain.value;
        case SortField::TrackPeak:
            return ReplayGainOf(r).trackPeak.value;
        case SortField::AlbumGain:
            return ReplayGainOf(r).albumGain.value;
    }
    return 0;
}

const char* SortFieldName(SortField field) {
    switch (field) {
        case SortField::Text:
            return "";
        case SortField::AvgBitrate:
            return "avgBitrate";
        case SortField::Duration:
            return "duration";
        case SortField::FileSize:
            return "fileSize";
        case SortField::QualityFigure:
            return "qualityFigure";
        case SortField::SampleRate:
            return "sampleRate";
        case SortField::FrameCount:
            return "frameCount";
        case SortField::IsVbr:
            return "isVbr";
        case SortField::HasCueSheet:
            return "hasCueSheet";
        case SortField::SyncErrors:
            return "syncErrors";
        case SortField::MaxMainDataBegin:
            return "maxMainDataBegin";
        case SortField::AvgMainDataBegin:
            return "avgMainDataBegin";
        case SortField::MpcStreamVersion:
            return "mpcStreamVersion";
        case SortField::XingVbrScale:
            return "xingVbrScale";
        case SortField::LameRevision:
            return "lameRevision";
        case SortField::LameLowpass:
            return "lameLowpass";
        case SortField::Id3v1Track:
            return "id3v1Track";
        case SortField::CrcFrames:
            return "crcFrames";
        case SortField::CrcErrors:
            return "crcErrors";
        case SortField::EncoderDelay:
            return "encoderDelay";
        case SortField::EncoderPadding:
            return "encoderPadding";
        case SortField::ExactSamples:
            return "exactSamples";
        case SortField::TrackGain:
            return "trackGain";
        case SortField::TrackPeak:
            return "trackPeak";
        case SortField::AlbumGain:
            return "albumGain";
    }
    return "";
}

bool IsFractional(SortField field) {
    return field == SortField::Duration || field == SortField::TrackGain ||
           field == SortField::TrackPeak || field == SortField::AlbumGain;
}

}  // namespace vornik
