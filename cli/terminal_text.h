// Text from files (names, tags) on its way to a terminal: a tag's escape sequences must not
// retitle the window or clear the screen, so control characters are shown escaped, as `ls`
// shows them.
#pragma once

#include <string>
#include <string_view>

namespace vornik {

// `text` with every control character (C0 but tab, LF and CR LF, DEL, C1 written as UTF-8) and
// every byte that is not UTF-8 written as "\xHH".
std::string TerminalText(std::string_view text);

}  // namespace vornik
