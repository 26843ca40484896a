// Deleting and renaming the listed files, with the user's word before anything is lost.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace vornik {

// Asks the user `question`; true for yes.
using Confirm = std::function<bool(const QString& question)>;

struct DeleteOutcome {
    QStringList removed;  // trashed or deleted for good
    QStringList kept;     // left where they were because the user said no
    QStringList failed;   // left where they were because the deletion failed
};

// Moves `paths` to the freedesktop trash after one confirmation naming the file (or the number
// of files). Files the trash cannot take (some mounts have none) are deleted for good only
// after a second confirmation that lists them. With `forGood`, one confirmation and then the
// files are deleted without the trash.
DeleteOutcome DeleteFiles(const QStringList& paths, bool forGood, const Confirm& confirm);

// Why `newName` cannot be the new name of `oldName` in `folder`, or none when it can: empty,
// "." or "..", holding "/", or naming a file that is there already.
std::optional<QString> RenameRefusal(const QString& folder, const QString& oldName,
                                     const QString& newName);

// Renames `oldName` in `folder` to `newName`, never replacing a file; the error text, or none.
std::optional<QString> RenameFile(const QString& folder, const QString& oldName,
                                  const QString& newName);

}  // namespace vornik
