// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace vornik {

// The engine's failure texts carry line breaks meant for a message box; on a terminal they
// read as one line.
std::string EngineMessageLine(std::string_view text);

}  // namespace vornik
