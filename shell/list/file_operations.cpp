#include "file_operations.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace vornik {
namespace {

QString Named(const QStringList& paths) {
    return paths.size() == 1 ? QStringLiteral("\"%1\"").arg(QFileInfo(paths.front()).fileName())
                             : QStringLiteral("%1 files").arg(paths.size());
}

}  // namespace

DeleteOutcome DeleteFiles(const QStringList& paths, bool forGood, const Confirm& confirm) {
    DeleteOutcome outcome;
    if (paths.isEmpty()) {
        return outcome;
    }
    const QString question =
        forGood ? QStringLiteral("Delete %1 for good? This cannot be undone.").arg(Named(paths))
                : QStringLiteral("Move %1 to the trash?").arg(Named(paths));
    if (!confirm(question)) {
        outcome.kept = paths;
        return outcome;
    }
    // Qt's trash goes astray (into the working folder) when the data folder it lives in is
    // missing, as on a fresh account: the folder is made first.
    if (!forGood) {
        QDir().mkpath(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
    }
    QStringList untrashed;
    for (const QString& path : paths) {
        if (forGood) {
            (QFile::remove(path) ? outcome.removed : outcome.failed) << path;
        } else if (QFile::moveToTrash(path)) {
            outcome.removed << path;
        } else {
            untrashed << path;
        }
    }
    if (untrashed.isEmpty()) {
        return outcome;
    }
    QStringList names;
    for (const QString& path : untrashed) {
        names << QFileInfo(path).fileName();
    }
    const QString second = QStringLiteral(
                               "The trash cannot take %1:\n%2\n\nDelete for good instead? "
                               "This cannot be undone.")
                               .arg(Named(untrashed), names.join('\n'));
    if (!confirm(second)) {
        outcome.kept << untrashed;
        return outcome;
    }
    for (const QString& path : untrashed) {
        (QFile::remove(path) ? outcome.removed : outcome.failed) << path;
    }
    return outcome;
}

std::optional<QString> RenameRefusal(const QString& folder, const QString& oldName,
                                     const QString& newName) {
    if (newName.isEmpty()) {
        return QStringLiteral("A file name cannot be empty.");
    }
    if (newName == QLatin1String(".") || newName == QLatin1String("..")) {
        return QStringLiteral("\"%1\" cannot be a file name.").arg(newName);
    }
    if (newName.contains('/')) {
        return QStringLiteral("A file name cannot contain \"/\".");
    }
    if (newName != oldName && QFileInfo::exists(QDir(folder).filePath(newName))) {
        return QStringLiteral("A file named \"%1\" is there already.").arg(newName);
    }
    return std::nullopt;
}

std::optional<QString> RenameFile(const QString& folder, const QString& oldName,
                                  const QString& newName) {
    if (std::optional<QString> refusal = RenameRefusal(folder, oldName, newName)) {
        return refusal;
    }
    if (newName == oldName) {
        return std::nullopt;
    }
    // QFile::rename never replaces an existing file.
    QFile file(QDir(folder).filePath(oldName));
    if (!file.rename(QDir(folder).filePath(newName))) {
        return QStringLiteral("Cannot rename \"%1\": %2").arg(oldName, file.errorString());
    }
    return std::nullopt;
}

}  // namespace vornik
