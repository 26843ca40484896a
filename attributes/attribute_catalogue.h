// SPDX-License-Identifier: GPL-3.0-or-later
// Every attribute the list can show as a column and the export can write, described once.
#pragma once

#include <map>
#include <string>

#include "mp3_info.h"

namespace vornik {

// The record field by which the list sorts an attribute numerically.
enum class SortField {
    Text,  // none: the list sorts by the display text
    AvgBitrate,
    Duration,
    FileSize,
    QualityFigure,
    SampleRate,
    FrameCount,
    IsVbr,
    HasCueSheet,
    SyncErrors,
    MaxMainDataBegin,
    AvgMainDataBegin,
    MpcStreamVersion,
    XingVbrScale,
    LameRevision,
    LameLowpass,
    Id3v1Track,
    CrcFrames,
    CrcErrors,
    EncoderDelay,
    EncoderPadding,
    ExactSamples,
    TrackGain,
    TrackPeak,
    AlbumGain,
};

struct AttributeInfo {
    std::string name;         // column header and export name
    std::string description;  // tool tip
    std::string group;        // "General", "Mpeg Plus", "Lame Tag", "ID3v1", "Integrity", ...
    SortField sortField = SortField::Text;
    int textSlot = 0;        // slot of AttributeTexts that holds the display text
    int listWidth = 0;       // default list column width, pixels
    bool needsWalk = false;  // the value needs the frame walk, not only the headers
};

// The verdict whose music CRC check costs a second pass over the file.
inline constexpr int kIntegrityAttributeId = 302;

// Attribute ids are stable: the settings file stores list columns and the sort column by id.
using AttributeCatalogue = std::map<int, AttributeInfo>;

// The catalogue, built on first use and read-only afterwards.
const AttributeCatalogue& BuildAttributeCatalogue();

// The attribute of `id`, or null when there is none.
const AttributeInfo* FindAttribute(int id);

// The value of `field` in `record`, for numeric sorting; 0 for SortField::Text.
double SortValue(const Mp3Info& record, SortField field);

// True for the fields whose value has a fraction worth keeping in an export.
bool IsFractional(SortField field);

// The record field's own name ("avgBitrate", "duration", ...); empty for SortField::Text.
const char* SortFieldName(SortField field);

}  // namespace vornik
