// SPDX-License-Identifier: GPL-3.0-or-later
// Which files the list analyses, chosen by extension.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vornik {

// The "filetypes" setting: extensions each with its dot, each followed by ";"
// (".mp3;.mp2;.mp1;.mpc;.mp+;"). A missing final ";" still ends the last piece; empty pieces
// (";;") are dropped. Both the setting and the file's extension are compared in ASCII lower
// case, so ".MP3" in the setting and "SONG.Mp3" on disk match.
class FileTypeFilter {
  public:
    explicit FileTypeFilter(std::string_view fileTypes);

    // True when the text from the last "." of `name` to its end equals one of the extensions;
    // a name without "." is never wanted. Works on a file name or a whole path alike.
    bool Wants(std::string_view name) const;

    // The extensions in setting order, lower-cased, duplicates kept.
    const std::vector<std::string>& Extensions() const { return extensions_; }

  private:
    std::vector<std::string> extensions_;
};

// The pieces of a "filetypes" setting in setting order, letter case kept, empty pieces dropped.
std::vector<std::string> SplitFileTypes(std::string_view fileTypes);
// The setting made of `extensions`, each followed by ";"; none gives an empty setting.
std::string JoinFileTypes(const std::vector<std::string>& extensions);

// `text` with the ASCII letters lower-cased; other bytes (UTF-8 included) are kept.
std::string AsciiLower(std::string_view text);

}  // namespace vornik
