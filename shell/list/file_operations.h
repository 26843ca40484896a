// SPDX-License-Identifier: GPL-3.0-or-later
// Deleting and renaming the listed files, with the user's word before anything is lost. Paths
// are the files' own bytes: a name that is not valid UTF-8 still names exactly its file.
#pragma once

#include <QString>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "freedesktop_trash.h"

namespace vornik {

// Asks the user `question`; true for yes.
using Confirm = std::function<bool(const QString& question)>;

struct DeleteFailure {
    std::string path;
    std::string reason;
};

struct DeleteOutcome {
    std::vector<std::string> removed;   // trashed or deleted for good
    std::vector<std::string> kept;      // left where they were because the user said no
    std::vector<DeleteFailure> failed;  // left where they were, and why
};

// Moves `paths` to the trash after one confirmation naming the file (or the number of files).
// Files no trash can take (some mounts have none) are deleted for good only after a second
// confirmation that lists them; a file that cannot leave its folder at all (a read-only
// folder) fails with the reason and is never offered for deletion. With `forGood`, one
// confirmation and then the files are deleted without the trash.
DeleteOutcome DeleteFiles(const std::vector<std::string>& paths, bool forGood,
                          const Confirm& confirm,
                          const TrashPlaces& places = TrashPlaces::OfThisAccount());

// The lines of a message about `failed`: each file's name and the reason.
QString FailureLines(const std::vector<DeleteFailure>& failed);

// The length of `name` without its extension: up to the last "." that is not the first
// character; the whole name when there is none.
qsizetype BaseNameLength(const QString& name);

// The question to ask before a rename changes or removes the extension of `oldName`, or none
// when the extension stays (letter case aside).
std::optional<QString> ExtensionQuestion(const QString& oldName, const QString& newName);

// Why `newName` cannot be the new name of `oldName` in `folder`, or none when it can: empty,
// "." or "..", holding "/", or naming a file that is there already.
std::optional<QString> RenameRefusal(const std::string& folder, const std::string& oldName,
                                     const QString& newName);

// Renames `oldName` in `folder` to `newName`, never replacing a file; the error text, or none.
// A `newName` that shows the old name unchanged (even one that is not valid UTF-8) renames
// nothing.
std::optional<QString> RenameFile(const std::string& folder, const std::string& oldName,
                                  const QString& newName);

}  // namespace vornik
