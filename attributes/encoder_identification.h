// SPDX-License-Identifier: GPL-3.0-or-later
// Names the probable encoder of an MPEG audio file.
#pragma once

#include <string>

#include "mp3_info.h"

namespace vornik {

// The encoder's own text when the stream carries one, else the guess that the Layer III
// statistics of the walked frames point to; "Unknown" when they fit no encoder cleanly and for
// Layer I and II files, whose statistics stay empty. Never fails.
std::string IdentifyEncoder(const Mp3Info& record);

}  // namespace vornik
