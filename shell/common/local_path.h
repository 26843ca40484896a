// SPDX-License-Identifier: GPL-3.0-or-later
// File names on Linux are bytes, not text: a name from a Latin-1 era collection is not valid
// UTF-8, and a QString made from it holds U+FFFD in place of the bytes, which names another
// file (or none). Paths therefore travel as `std::string` bytes from the row to the system
// call; a QString is made only to show a name, and file URIs carry the bytes percent-encoded.
#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>
#include <optional>
#include <string>

namespace vornik {

// The text to show for `path` (invalid bytes shown as U+FFFD). Never pass it back to a file
// call.
QString DisplayPath(const std::string& path);
// The last component of `path`, for display.
QString DisplayFileName(const std::string& path);

// The bytes of a name the user typed or picked in a file dialog.
std::string PathBytes(const QString& text);

// True when `path` survives the trip through a QString unchanged.
bool IsTextPath(const std::string& path);

// "file://" and the absolute `path` with every byte but the unreserved characters and "/"
// percent-encoded, as RFC 3986 and the desktop's URI lists want.
QByteArray FileUri(const std::string& path);
QUrl FileUrl(const std::string& path);

// The local path a "file:" URI names, with its percent-encoded bytes restored; none for other
// schemes and remote hosts.
std::optional<std::string> LocalPathOfUri(const QByteArray& uri);
std::optional<std::string> LocalPathOfUrl(const QUrl& url);

}  // namespace vornik
