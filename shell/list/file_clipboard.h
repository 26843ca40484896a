// SPDX-License-Identifier: GPL-3.0-or-later
// Files on the clipboard and in drags, in the formats Linux file managers and Windows-era
// programs write and read.
#pragma once

#include <string>
#include <vector>

class QMimeData;

namespace vornik {

enum class FileEffect { None, Copy, Move };

// `paths` (absolute, the files' own bytes) as: text/uri-list, every byte outside the
// unreserved characters percent-encoded; GNOME's x-special/gnome-copied-files ("cut" or "copy",
// then one URI per line); KDE's application/x-kde-cutselection ("1" after a cut);
// "Preferred DropEffect", one 32-bit little-endian word (2 cut, 1 copy); and the paths as
// plain text, one per line (a name that is not UTF-8 as its file URI, never as a text that
// names another file).
QMimeData* FilesMimeData(const std::vector<std::string>& paths, bool cut);

struct ClipboardFiles {
    std::vector<std::string> paths;  // local files only, in their order, as bytes
    FileEffect effect = FileEffect::None;
};

// The files `data` offers and what pasting them should do: "Preferred DropEffect" first (its
// copy bit wins over its move bit; neither bit: nothing), else GNOME's first line, else KDE's
// cut mark, else a copy. Without files the effect is None.
ClipboardFiles ReadFilesMimeData(const QMimeData& data);

inline constexpr char kGnomeCopiedFiles[] = "x-special/gnome-copied-files";
inline constexpr char kKdeCutSelection[] = "application/x-kde-cutselection";
inline constexpr char kPreferredDropEffect[] = "Preferred DropEffect";

}  // namespace vornik
