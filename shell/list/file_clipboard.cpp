// SPDX-License-Identifier: GPL-3.0-or-later
#include "file_clipboard.h"

#include <QMimeData>
#include <QStringList>
#include <QUrl>

#include "local_path.h"

namespace vornik {
namespace {

constexpr std::uint32_t kDropCopy = 1;
constexpr std::uint32_t kDropMove = 2;

QByteArray LittleEndianWord(std::uint32_t value) {
    QByteArray bytes(4, '\0');
    for (int i = 0; i < 4; ++i) {
        bytes[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    }
    return bytes;
}

FileEffect EffectOfDropWord(const QByteArray& bytes) {
    std::uint32_t word = 0;
    for (int i = 0; i < 4 && i < bytes.size(); ++i) {
        word |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[i])) << (8 * i);
    }
    if (word & kDropCopy) {
        return FileEffect::Copy;
    }
    return word & kDropMove ? FileEffect::Move : FileEffect::None;
}

}  // namespace

QMimeData* FilesMimeData(const std::vector<std::string>& paths, bool cut) {
    auto* data = new QMimeData;
    // Written as bytes: a QUrl made from a path would lose a name that is not UTF-8.
    QByteArray uriList;
    QByteArray gnome = cut ? "cut" : "copy";
    QStringList shown;
    for (const std::string& path : paths) {
        const QByteArray uri = FileUri(path);
        uriList += uri + "\r\n";
        gnome += '\n' + uri;
        // As text for people and text fields; a name that is not UTF-8 would read as another
        // file's name there, so it goes as its URI.
        shown << (IsTextPath(path) ? DisplayPath(path) : QString::fromLatin1(FileUri(path)));
    }
    data->setData(QStringLiteral("text/uri-list"), uriList);
    data->setData(kGnomeCopiedFiles, gnome);
    if (cut) {
        data->setData(kKdeCutSelection, "1");
    }
    data->setData(kPreferredDropEffect, LittleEndianWord(cut ? kDropMove : kDropCopy));
    data->setText(shown.join('\n'));
    return data;
}

ClipboardFiles ReadFilesMimeData(const QMimeData& data) {
    ClipboardFiles files;
    QList<QByteArray> uris;
    // The raw list first: QUrl would turn a name's bytes into text.
    for (const QByteArray& line : data.data(QStringLiteral("text/uri-list")).split('\n')) {
        const QByteArray uri = line.trimmed();
        if (!uri.isEmpty() && !uri.startsWith('#')) {
            uris << uri;
        }
    }
    if (uris.isEmpty()) {
        for (const QUrl& url : data.urls()) {
            uris << url.toEncoded();
        }
    }
    const QByteArray gnome = data.data(kGnomeCopiedFiles);
    const QList<QByteArray> gnomeLines = gnome.split('\n');
    if (uris.isEmpty()) {
        for (qsizetype line = 1; line < gnomeLines.size(); ++line) {
            if (!gnomeLines[line].trimmed().isEmpty()) {
                uris << gnomeLines[line].trimmed();
            }
        }
    }
    for (const QByteArray& uri : uris) {
        if (std::optional<std::string> path = LocalPathOfUri(uri)) {
            files.paths.push_back(std::move(*path));
        }
    }
    if (files.paths.empty()) {
        return files;
    }
    if (data.hasFormat(kPreferredDropEffect)) {
        files.effect = EffectOfDropWord(data.data(kPreferredDropEffect));
    } else if (!gnome.isEmpty()) {
        files.effect = gnomeLines.front().trimmed() == "cut" ? FileEffect::Move : FileEffect::Copy;
    } else if (data.data(kKdeCutSelection).trimmed() == "1") {
        files.effect = FileEffect::Move;
    } else {
        files.effect = FileEffect::Copy;
    }
    return files;
}

}  // namespace vornik
