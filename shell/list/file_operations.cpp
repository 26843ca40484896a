// SPDX-License-Identifier: GPL-3.0-or-later
#include "file_operations.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QStringList>
#include <cerrno>
#include <cstring>

#include "local_path.h"

namespace vornik {
namespace {

QString Named(const std::vector<std::string>& paths) {
    return paths.size() == 1 ? QStringLiteral("\"%1\"").arg(DisplayFileName(paths.front()))
                             : QStringLiteral("%1 files").arg(paths.size());
}

void DeleteForGood(const std::string& path, DeleteOutcome& outcome) {
    if (::unlink(path.c_str()) == 0) {
        outcome.removed.push_back(path);
    } else {
        outcome.failed.push_back({path, std::strerror(errno)});
    }
}

}  // namespace

DeleteOutcome DeleteFiles(const std::vector<std::string>& paths, bool forGood,
                          const Confirm& confirm, const TrashPlaces& places) {
    DeleteOutcome outcome;
    if (paths.empty()) {
        return outcome;
    }
    const QString question =
        forGood ? QStringLiteral("Delete %1 for good? This cannot be undone.").arg(Named(paths))
                : QStringLiteral("Move %1 to the trash?").arg(Named(paths));
    if (!confirm(question)) {
        outcome.kept = paths;
        return outcome;
    }
    std::vector<std::string> untrashed;
    for (const std::string& path : paths) {
        if (forGood) {
            DeleteForGood(path, outcome);
            continue;
        }
        const TrashOutcome trashed = MoveToTrash(path, places);
        switch (trashed.kind) {
            case TrashOutcome::Kind::Trashed:
                outcome.removed.push_back(path);
                break;
            case TrashOutcome::Kind::NoTrash:
                untrashed.push_back(path);
                break;
            case TrashOutcome::Kind::CannotRemove:
                outcome.failed.push_back({path, trashed.reason});
                break;
        }
    }
    if (untrashed.empty()) {
        return outcome;
    }
    QStringList names;
    for (const std::string& path : untrashed) {
        names << DisplayFileName(path);
    }
    const QString second = QStringLiteral(
                               "The trash cannot take %1:\n%2\n\nDelete for good instead? "
                               "This cannot be undone.")
                               .arg(Named(untrashed), names.join('\n'));
    if (!confirm(second)) {
        outcome.kept.insert(outcome.kept.end(), untrashed.begin(), untrashed.end());
        return outcome;
    }
    for (const std::string& path : untrashed) {
        DeleteForGood(path, outcome);
    }
    return outcome;
}

QString FailureLines(const std::vector<DeleteFailure>& failed) {
    QStringList lines;
    for (const DeleteFailure& failure : failed) {
        lines << QStringLiteral("%1: %2").arg(DisplayFileName(failure.path),
                                              QString::fromStdString(failure.reason));
    }
    return lines.join('\n');
}

qsizetype BaseNameLength(const QString& name) {
    const qsizetype dot = name.lastIndexOf('.');
    return dot > 0 ? dot : name.size();
}

std::optional<QString> ExtensionQuestion(const QString& oldName, const QString& newName) {
    const QString oldExtension = oldName.mid(BaseNameLength(oldName));
    const QString newExtension = newName.mid(BaseNameLength(newName));
    if (oldExtension.compare(newExtension, Qt::CaseInsensitive) == 0) {
        return std::nullopt;
    }
    if (newExtension.isEmpty()) {
        return QStringLiteral(
                   "Remove the extension \"%1\"? The file may no longer open in "
                   "its program, and the list may no longer show it.")
            .arg(oldExtension);
    }
    if (oldExtension.isEmpty()) {
        return std::nullopt;  // adding one changes nothing that worked
    }
    return QStringLiteral(
               "Change the extension from \"%1\" to \"%2\"? The file may no longer "
               "open in its program, and the list may no longer show it.")
        .arg(oldExtension, newExtension);
}

std::optional<QString> RenameRefusal(const std::string& folder, const std::string& oldName,
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
    if (newName == DisplayPath(oldName)) {
        return std::nullopt;
    }
    struct stat status {};
    const std::string target = folder + "/" + PathBytes(newName);
    if (PathBytes(newName) != oldName && ::lstat(target.c_str(), &status) == 0) {
        return QStringLiteral("A file named \"%1\" is there already.").arg(newName);
    }
    return std::nullopt;
}

std::optional<QString> RenameFile(const std::string& folder, const std::string& oldName,
                                  const QString& newName) {
    if (std::optional<QString> refusal = RenameRefusal(folder, oldName, newName)) {
        return refusal;
    }
    const std::string newBytes = PathBytes(newName);
    // An unchanged text keeps the old bytes: a name that is not UTF-8 shows as U+FFFD, and
    // its bytes are not what the text would encode to.
    if (newName == DisplayPath(oldName) || newBytes == oldName) {
        return std::nullopt;
    }
    const std::string from = folder + "/" + oldName;
    const std::string to = folder + "/" + newBytes;
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) != 0) {
        return QStringLiteral("Cannot rename \"%1\": %2")
            .arg(DisplayPath(oldName), QString::fromStdString(std::strerror(errno)));
    }
    return std::nullopt;
}

}  // namespace vornik
