// SPDX-License-Identifier: GPL-3.0-or-later
// The texts of the checks that tell whether a file's stream is sound.
#pragma once

#include "attribute_texts.h"
#include "mp3_info.h"

namespace vornik {

// "CRC Frames" and "CRC Errors" (which read "--" when no frame carried a CRC), and the
// "Integrity" verdict of a completely scanned file.
void FillIntegrityTexts(AttributeTexts& texts, const Mp3Info& record);

}  // namespace vornik
