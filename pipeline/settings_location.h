// SPDX-License-Identifier: GPL-3.0-or-later
// Where the settings file and the log file live, and saving the settings at the end.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <system_error>

#include "ini_file.h"

namespace vornik {

struct SettingsFiles {
    std::string settings;
    std::string log;
};

// What placing the files asks of the system; tests answer in its stead.
struct LocationProbe {
    // The value of an environment variable, nullopt when it is not set.
    std::function<std::optional<std::string>(const std::string& name)> environment;
    // Whether this process may create files in `folder`.
    std::function<bool(const std::string& folder)> folderWritable;
};

// The process environment and access(2); an installed program's folder counts as not
// writable, so that a program run by root from /usr/bin does not write its settings there.
LocationProbe SystemLocationProbe();

// True for a "bin" folder beside "share/doc/vornik": where the install rules put the programs.
bool IsInstalledProgramFolder(const std::string& folder);

// Both files sit beside the executable and are named after its file name with ".ini" and
// ".log" appended ("/opt/vornik/vornik" gives "/opt/vornik/vornik.ini"). Where that folder
// is not writable they go to "vornik" in the user's configuration folder: $XDG_CONFIG_HOME,
// else $HOME/.config (a relative or empty value counts as unset). A non-empty
// `explicitSettings` (--settings FILE) is the settings file as given, and the log goes beside
// it with its extension replaced by ".log". `executablePath` is the running program's path,
// empty when unknown: then the files are named "vornik.ini" and "vornik.log" in the
// configuration folder. Both paths are empty when no folder can be found.
SettingsFiles LocateSettingsFiles(const std::string& executablePath,
                                  const std::string& explicitSettings,
                                  const LocationProbe& probe = SystemLocationProbe());

// The running program's path as /proc/self/exe names it; empty when it cannot be read.
std::string OwnExecutablePath();

// Creates the missing folders on the way to `path` (the configuration folder may not exist
// yet), each readable by the user alone. Call it before writing either file.
// False when the folder holding `path` does not exist afterwards.
bool CreateFolderFor(const std::string& path);
// The same, with the reason in `error` when the folder is not there.
bool CreateFolderFor(const std::string& path, std::error_code& error);

// Saves the settings at the program's end: creates the folder of `ini`'s file where it is
// missing and writes the file (CIniFile::Write, which leaves a read-only file alone).
// Nullopt once saved. Otherwise the line that tells the user, naming the file and the reason
// ("Cannot save the settings to /home/u/.config/vornik/vornik.ini: No space left on device");
// it has gone to the log already, and the caller shows it on standard error.
std::optional<std::string> SaveSettingsFile(const CIniFile& ini);

}  // namespace vornik
