// SPDX-License-Identifier: GPL-3.0-or-later
// The texts of the ID3v2 and APE tags' fields, the first picture and the list of tags.
#pragma once

#include <string>

#include "attribute_texts.h"
#include "mp3_info.h"

namespace vornik {

// "Cover (front), 45321 bytes"; empty without a picture.
std::string PictureText(const Mp3Info& record);

// The tags the file holds, in the order they stand in a file: "ID3v2.3, APEv2, ID3v1", or
// "none".
std::string TagsText(const Mp3Info& record);

void FillTagFieldTexts(AttributeTexts& texts, const Mp3Info& record);

}  // namespace vornik
