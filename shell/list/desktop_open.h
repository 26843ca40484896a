// Handing a file to the desktop: its default program, or the file manager showing it.
#pragma once

#include <QString>

class QObject;

namespace vornik {

// Opens the file with the desktop's default program for its type.
void OpenWithDefaultApplication(const QString& path);

// Asks the file manager (org.freedesktop.FileManager1.ShowItems over D-Bus) to open the
// file's folder with the file selected; where no file manager answers, the folder is opened
// with the default handler. Never waits: the answer arrives later, handled by `context`.
void OpenContainingFolder(const QString& path, QObject* context);

}  // namespace vornik
