// SPDX-License-Identifier: GPL-3.0-or-later
#include "local_path.h"

#include <QFile>
#include <cstring>

#include "percent_encoding.h"

namespace vornik {

QString DisplayPath(const std::string& path) {
    return QString::fromUtf8(path.data(), static_cast<qsizetype>(path.size()));
}

QString DisplayFileName(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return DisplayPath(slash == std::string::npos ? path : path.substr(slash + 1));
}

std::string PathBytes(const QString& text) {
    return QFile::encodeName(text).toStdString();
}

bool IsTextPath(const std::string& path) {
    return PathBytes(DisplayPath(path)) == path;
}

QByteArray FileUri(const std::string& path) {
    return QByteArray::fromStdString("file://" + PercentEncoded(path, "/"));
}

QUrl FileUrl(const std::string& path) {
    return QUrl::fromEncoded(FileUri(path), QUrl::StrictMode);
}

std::optional<std::string> LocalPathOfUri(const QByteArray& uri) {
    const QByteArray trimmed = uri.trimmed();
    constexpr char kScheme[] = "file:";
    if (!trimmed.startsWith(kScheme)) {
        return std::nullopt;
    }
    QByteArray rest = trimmed.mid(sizeof(kScheme) - 1);
    if (rest.startsWith("//")) {
        rest = rest.mid(2);
        const qsizetype slash = rest.indexOf('/');
        const QByteArray host = slash < 0 ? rest : rest.left(slash);
        if (!host.isEmpty() && host != "localhost") {
            return std::nullopt;
        }
        rest = slash < 0 ? QByteArray() : rest.mid(slash);
    }
    // A query or fragment is no part of a file's name.
    const qsizetype end = rest.indexOf('#');
    if (end >= 0) {
        rest.truncate(end);
    }
    if (!rest.startsWith('/')) {
        return std::nullopt;
    }
    return QByteArray::fromPercentEncoding(rest).toStdString();
}

std::optional<std::string> LocalPathOfUrl(const QUrl& url) {
    if (!url.isLocalFile()) {
        return std::nullopt;
    }
    return LocalPathOfUri(url.toEncoded());
}

}  // namespace vornik
