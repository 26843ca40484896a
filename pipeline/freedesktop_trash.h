// SPDX-License-Identifier: GPL-3.0-or-later
// Moving a file into the desktop's trash in the freedesktop.org Trash layout, so that every
// file manager can list and restore it: the home trash under the data
// folder for files on the home's file system, else the volume's own `.Trash/$uid` or
// `.Trash-$uid` at the top of the mount. A file goes only where a trash folder really is and
// can be written; nothing is ever made outside one.
#pragma once

#include <sys/types.h>
#include <string>

namespace vornik {

// Where the trash folders are looked for; the defaults are this account's.
struct TrashPlaces {
    std::string dataHome;  // $XDG_DATA_HOME, else ~/.local/share
    uid_t uid = 0;
    static TrashPlaces OfThisAccount();
};

struct TrashOutcome {
    enum class Kind {
        Trashed,
        NoTrash,       // no trash can take the file; deleting it for good could still work
        CannotRemove,  // the file cannot leave its folder (permissions, read-only, gone)
    };
    Kind kind = Kind::NoTrash;
    std::string reason;       // the system's words, for the user
    std::string trashedPath;  // where the file went, when trashed
};

TrashOutcome MoveToTrash(const std::string& path, const TrashPlaces& places);

// The Path= value of a .trashinfo: bytes outside the unreserved characters and "/"
// percent-encoded.
std::string TrashInfoPath(const std::string& path);

}  // namespace vornik
