#include "file_clipboard.h"

#include <QMimeData>
#include <QUrl>

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

QMimeData* FilesMimeData(const QStringList& paths, bool cut) {
    auto* data = new QMimeData;
    QList<QUrl> urls;
    QByteArray gnome = cut ? "cut" : "copy";
    for (const QString& path : paths) {
        const QUrl url = QUrl::fromLocalFile(path);
        urls << url;
        gnome += '\n' + url.toEncoded();
    }
    data->setUrls(urls);
    data->setData(kGnomeCopiedFiles, gnome);
    if (cut) {
        data->setData(kKdeCutSelection, "1");
    }
    data->setData(kPreferredDropEffect, LittleEndianWord(cut ? kDropMove : kDropCopy));
    data->setText(paths.join('\n'));
    return data;
}

ClipboardFiles ReadFilesMimeData(const QMimeData& data) {
    ClipboardFiles files;
    QList<QUrl> urls = data.urls();
    const QByteArray gnome = data.data(kGnomeCopiedFiles);
    const QList<QByteArray> gnomeLines = gnome.split('\n');
    if (urls.isEmpty() && gnomeLines.size() > 1) {
        for (qsizetype line = 1; line < gnomeLines.size(); ++line) {
            if (!gnomeLines[line].trimmed().isEmpty()) {
                urls << QUrl::fromEncoded(gnomeLines[line].trimmed());
            }
        }
    }
    for (const QUrl& url : urls) {
        if (url.isLocalFile()) {
            files.paths << url.toLocalFile();
        }
    }
    if (files.paths.isEmpty()) {
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
