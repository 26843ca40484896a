// SPDX-License-Identifier: GPL-3.0-or-later
#include "freedesktop_trash.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <optional>

#include "percent_encoding.h"

namespace vornik {
namespace {

constexpr std::size_t kNameMax = 255;
constexpr char kInfoSuffix[] = ".trashinfo";

std::string Reason(int error) {
    return std::strerror(error);
}

std::string ParentOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string Absolute(const std::string& path) {
    if (!path.empty() && path.front() == '/') {
        return path;
    }
    char* const cwd = ::getcwd(nullptr, 0);
    const std::string folder = cwd != nullptr ? cwd : "";
    std::free(cwd);
    return folder + "/" + path;
}

// The device of `path`, or of its nearest folder that exists.
std::optional<dev_t> DeviceOf(std::string path) {
    for (;;) {
        struct stat status {};
        if (::stat(path.c_str(), &status) == 0) {
            return status.st_dev;
        }
        if (path == "/" || path.empty() || path == ".") {
            return std::nullopt;
        }
        path = ParentOf(path);
    }
}

// Makes `path` as a folder of this account's own when it is missing; true when it is a real
// folder (no symbolic link) that this process can write into.
bool EnsureFolder(const std::string& path) {
    if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) {
        return false;
    }
    struct stat status {};
    return ::lstat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode) &&
           ::access(path.c_str(), W_OK | X_OK) == 0;
}

bool EnsureFolders(const std::string& path) {
    std::string made;
    std::size_t from = 1;
    for (;;) {
        const std::size_t slash = path.find('/', from);
        made = path.substr(0, slash);
        if (slash == std::string::npos) {
            return EnsureFolder(made);
        }
        // Folders above the last may belong to others; they only need to be there.
        if (::mkdir(made.c_str(), 0700) != 0 && errno != EEXIST) {
            return false;
        }
        from = slash + 1;
    }
}

// The top folder of the mount that holds `folder`: the last folder on the way up with the
// same device.
std::string MountTop(const std::string& folder, dev_t device) {
    std::string top = folder;
    while (top != "/") {
        const std::string up = ParentOf(top);
        struct stat status {};
        if (::stat(up.c_str(), &status) != 0 || status.st_dev != device) {
            break;
        }
        top = up;
    }
    return top;
}

struct TrashFolder {
    std::string path;       // holds files/ and info/
    std::string pathsFrom;  // Path= values are relative to this folder; empty: absolute
};

bool HasFilesAndInfo(const std::string& trash) {
    return EnsureFolder(trash) && EnsureFolder(trash + "/files") && EnsureFolder(trash + "/info");
}

std::optional<TrashFolder> TrashFor(const std::string& file, const TrashPlaces& places) {
    struct stat status {};
    if (::lstat(file.c_str(), &status) != 0) {
        return std::nullopt;
    }
    const std::optional<dev_t> homeDevice = DeviceOf(places.dataHome);
    if (homeDevice && *homeDevice == status.st_dev) {
        const std::string trash = places.dataHome + "/Trash";
        if (!places.dataHome.empty() && places.dataHome.front() == '/' &&
            EnsureFolders(places.dataHome) && HasFilesAndInfo(trash)) {
            return TrashFolder{trash, ""};
        }
        return std::nullopt;
    }
    const std::string top = MountTop(ParentOf(file), status.st_dev);
    const std::string prefix = top == "/" ? "" : top;
    const std::string uid = std::to_string(places.uid);
    // An administrator's shared .Trash counts only as a real, sticky folder.
    struct stat shared {};
    const std::string sharedPath = prefix + "/.Trash";
    if (::lstat(sharedPath.c_str(), &shared) == 0 && S_ISDIR(shared.st_mode) &&
        (shared.st_mode & S_ISVTX) != 0 && HasFilesAndInfo(sharedPath + "/" + uid)) {
        return TrashFolder{sharedPath + "/" + uid, top};
    }
    const std::string own = prefix + "/.Trash-" + uid;
    struct stat ownStatus {};
    if (HasFilesAndInfo(own) && ::lstat(own.c_str(), &ownStatus) == 0 &&
        ownStatus.st_uid == places.uid) {
        return TrashFolder{own, top};
    }
    return std::nullopt;
}

// `name` cut to at most `limit` bytes, never inside a UTF-8 sequence.
std::string CutName(const std::string& name, std::size_t limit) {
    if (name.size() <= limit) {
        return name;
    }
    std::size_t cut = limit;
    while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80) {
        --cut;
    }
    return name.substr(0, cut);
}

// The name in the trash for try `attempt`: the file's own first, then "stem.N.ext".
std::string TrashName(const std::string& name, int attempt) {
    const std::size_t limit = kNameMax - (sizeof(kInfoSuffix) - 1);
    if (attempt == 0) {
        return CutName(name, limit);
    }
    const std::size_t dot = name.find_last_of('.');
    const bool hasExtension = dot != std::string::npos && dot > 0 && name.size() - dot <= 16;
    const std::string extension = hasExtension ? name.substr(dot) : "";
    const std::string number = "." + std::to_string(attempt + 1);
    const std::string stem = hasExtension ? name.substr(0, dot) : name;
    return CutName(stem, limit - number.size() - extension.size()) + number + extension;
}

std::string DeletionDate() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &local);
    return text;
}

bool WriteAll(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t written = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        done += static_cast<std::size_t>(written);
    }
    return true;
}

TrashOutcome NoTrash() {
    return {TrashOutcome::Kind::NoTrash, "no trash folder can take it", ""};
}

}  // namespace

TrashPlaces TrashPlaces::OfThisAccount() {
    TrashPlaces places;
    places.uid = ::getuid();
    const char* const dataHome = std::getenv("XDG_DATA_HOME");
    if (dataHome != nullptr && dataHome[0] == '/') {
        places.dataHome = dataHome;
    } else if (const char* const home = std::getenv("HOME"); home != nullptr && home[0] == '/') {
        places.dataHome = std::string(home) + "/.local/share";
    }
    return places;
}

std::string TrashInfoPath(const std::string& path) {
    return PercentEncoded(path, "/");
}

TrashOutcome MoveToTrash(const std::string& givenPath, const TrashPlaces& places) {
    const std::string file = Absolute(givenPath);
    struct stat status {};
    if (::lstat(file.c_str(), &status) != 0) {
        return {TrashOutcome::Kind::CannotRemove, Reason(errno), ""};
    }
    const std::string parent = ParentOf(file);
    if (::access(parent.c_str(), W_OK | X_OK) != 0) {
        return {TrashOutcome::Kind::CannotRemove, Reason(errno), ""};
    }
    const std::optional<TrashFolder> trash = TrashFor(file, places);
    if (!trash) {
        return NoTrash();
    }
    std::string recorded = file;
    if (!trash->pathsFrom.empty() && trash->pathsFrom != "/") {
        recorded = file.substr(trash->pathsFrom.size() + 1);
    } else if (!trash->pathsFrom.empty()) {
        recorded = file.substr(1);
    }
    const std::string record =
        "[Trash Info]\nPath=" + TrashInfoPath(recorded) + "\nDeletionDate=" + DeletionDate() + "\n";
    const std::string name = NameOf(file);
    for (int attempt = 0; attempt < 1000; ++attempt) {
        const std::string trashName = TrashName(name, attempt);
        const std::string info = trash->path + "/info/" + trashName + kInfoSuffix;
        // The record claims the name: no two programs can take the same one.
        const int fd = ::open(info.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd < 0) {
            if (errno == EEXIST) {
                continue;
            }
            return NoTrash();
        }
        const bool written = WriteAll(fd, record) && ::fsync(fd) == 0;
        if (::close(fd) != 0 || !written) {
            ::unlink(info.c_str());
            return NoTrash();
        }
        const std::string target = trash->path + "/files/" + trashName;
        if (::renameat2(AT_FDCWD, file.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0) {
            return {TrashOutcome::Kind::Trashed, "", target};
        }
        const int error = errno;
        ::unlink(info.c_str());
        if (error == EEXIST) {
            continue;  // a stray file without its record; the next name
        }
        if (error == EXDEV) {
            return NoTrash();  // another mount over the same device
        }
        return {TrashOutcome::Kind::CannotRemove, Reason(error), ""};
    }
    return NoTrash();
}

}  // namespace vornik
