// SPDX-License-Identifier: GPL-3.0-or-later
// Whether a completely scanned file is sound: the findings of its walk, its frame CRCs, its
// music CRC, its Xing or VBRI counts and what lies around its frames.
#pragma once

#include <string>
#include <vector>

#include "mp3_info.h"

namespace vornik {

// The findings, in the order the file's bytes run; empty for a sound file. The record must come
// from a walk to the end (and from ComputeMusicCrc for a file with a Lame tag).
std::vector<std::string> IntegrityFindings(const Mp3Info& record);

// "OK" for no findings, else the findings joined with "; ".
std::string VerdictOf(const std::vector<std::string>& findings);

// VerdictOf(IntegrityFindings(record)).
std::string IntegrityVerdict(const Mp3Info& record);

// How a completely walked file's Xing header counts its frames: "without its own frame" (as
// LAME writes it), "with its own frame" (as some repair tools write it), "neither"; empty when
// there is no such count or the walk did not reach the end.
std::string XingFrameCounting(const Mp3Info& record);

// A time into the stream as m:ss.mmm, as the findings give them.
std::string FindingTime(std::uint64_t milliseconds);

}  // namespace vornik
