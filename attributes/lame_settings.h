// SPDX-License-Identifier: GPL-3.0-or-later
// The options a Lame-encoded file was made with, written as users type them on lame's command
// line, from the fields of its Lame tag.
#pragma once

#include <string>

#include "mp3_info.h"

namespace vornik {

// For example "-V 2", "-b 320", "--abr 160", "--preset extreme" or "-V 4 --lowpass 17"; empty
// without a valid Lame tag. Options that equal lame's defaults for the rest are left out.
std::string LameSettingsText(const Mp3Info& record);

}  // namespace vornik
