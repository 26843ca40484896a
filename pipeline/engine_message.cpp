// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine_message.h"

namespace vornik {

std::string EngineMessageLine(std::string_view text) {
    std::string line;
    for (const char c : text) {
        if (c == '\r' || c == '\n') {
            if (!line.empty() && line.back() != ' ') {
                line += ' ';
            }
        } else {
            line += c;
        }
    }
    while (!line.empty() && line.back() == ' ') {
        line.pop_back();
    }
    return line;
}

}  // namespace vornik
