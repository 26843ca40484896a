// SPDX-License-Identifier: GPL-3.0-or-later
// Text from files (names, tags) on its way to a terminal: a tag's escape sequences must not
// retitle the window or clear the screen, so control characters are shown escaped, as `ls`
// shows them.
#pragma once

#include <ostream>
#include <streambuf>
#include <string>
#include <string_view>

namespace vornik {

// `text` with every control character (C0 but tab, LF and CR LF, DEL, C1 written as UTF-8) and
// every byte that is not UTF-8 written as "\xHH".
std::string TerminalText(std::string_view text);

// A stream buffer that writes each whole line to `target` as TerminalText shows it: the error
// lines that name files reach a terminal with their control characters escaped.
class TerminalLineBuffer : public std::streambuf {
  public:
    explicit TerminalLineBuffer(std::ostream& target) : target_(target) {}
    ~TerminalLineBuffer() override { sync(); }

  protected:
    int_type overflow(int_type c) override;
    int sync() override;

  private:
    std::ostream& target_;
    std::string line_;
};

}  // namespace vornik
