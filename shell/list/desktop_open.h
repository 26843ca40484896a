// SPDX-License-Identifier: GPL-3.0-or-later
// Handing a file to the desktop: its default program, or the file manager showing it.
#pragma once

#include <QString>
#include <string>

class QObject;

namespace vornik {

// Opens the file with the desktop's default program for its type.
// `path` is the file's own bytes; the desktop gets it as a percent-encoded URI.
void OpenWithDefaultApplication(const std::string& path);

// Asks the file manager (org.freedesktop.FileManager1.ShowItems over D-Bus) to open the
// file's folder with the file selected; where no file manager answers, the folder is opened
// with the default handler. Never waits: the answer arrives later, handled by `context`.
void OpenContainingFolder(const std::string& path, QObject* context);

}  // namespace vornik
