// SPDX-License-Identifier: GPL-3.0-or-later
#include "integrity_texts.h"

#include <string>

#include "integrity_check.h"

namespace vornik {

void FillIntegrityTexts(AttributeTexts& t, const Mp3Info& r) {
    t[kSlotCrcFrames] = std::to_string(r.crcFrames);
    t[kSlotCrcErrors] = r.crcFrames == 0 ? "--" : std::to_string(r.crcErrors);
    // Only a walk to the end can tell a file sound.
    t[kSlotIntegrity] = r.scanComplete ? IntegrityVerdict(r) : "(scan incomplete)";
}

}  // namespace vornik
