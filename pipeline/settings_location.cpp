// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings_location.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

#include "log.h"

namespace vornik {

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kProgramName = "vornik";

// A variable's value when it is an absolute path; the base-directory rules say to ignore
// relative ones.
std::optional<fs::path> AbsoluteFromEnvironment(const LocationProbe& probe,
                                                const std::string& name) {
    const std::optional<std::string> value = probe.environment(name);
    if (!value || value->empty() || value->front() != '/') {
        return std::nullopt;
    }
    return fs::path(*value);
}

// Empty when neither variable gives a usable folder.
fs::path ConfigurationFolder(const LocationProbe& probe) {
    if (auto config = AbsoluteFromEnvironment(probe, "XDG_CONFIG_HOME")) {
        return *config / kProgramName;
    }
    if (auto home = AbsoluteFromEnvironment(probe, "HOME")) {
        return *home / ".config" / kProgramName;
    }
    return {};
}

}  // namespace

LocationProbe SystemLocationProbe() {
    LocationProbe probe;
    probe.environment = [](const std::string& name) -> std::optional<std::string> {
        const char* value = std::getenv(name.c_str());
        if (value == nullptr) {
            return std::nullopt;
        }
        return std::string(value);
    };
    probe.folderWritable = [](const std::string& folder) {
        return !IsInstalledProgramFolder(folder) && ::access(folder.c_str(), W_OK | X_OK) == 0;
    };
    return probe;
}

bool IsInstalledProgramFolder(const std::string& folder) {
    std::error_code error;
    const fs::path path(folder);
    return path.filename() == "bin" &&
           fs::is_directory(path.parent_path() / "share" / "doc" / kProgramName, error);
}

SettingsFiles LocateSettingsFiles(const std::string& executablePath,
                                  const std::string& explicitSettings, const LocationProbe& probe) {
    if (!explicitSettings.empty()) {
        fs::path log(explicitSettings);
        log.replace_extension(".log");
        if (log == fs::path(explicitSettings)) {
            log += ".log";  // "x.log" must not be its own log
        }
        return {explicitSettings, log.string()};
    }

    const fs::path executable(executablePath);
    std::string name = executable.filename().string();
    fs::path folder = executable.parent_path();
    if (name.empty()) {
        name = kProgramName;
        folder.clear();
    }
    if (folder.empty() || !probe.folderWritable(folder.string())) {
        if (fs::path configuration = ConfigurationFolder(probe); !configuration.empty()) {
            folder = std::move(configuration);
        }
    }
    if (folder.empty()) {
        return {};
    }
    return {(folder / (name + ".ini")).string(), (folder / (name + ".log")).string()};
}

std::string OwnExecutablePath() {
    std::error_code error;
    std::string path = fs::read_symlink("/proc/self/exe", error).string();
    if (error) {
        return {};
    }
    // The kernel marks a program file replaced while it runs (a rebuild); the settings
    // belong to the name, not to the old file.
    constexpr std::string_view kDeleted = " (deleted)";
    if (path.ends_with(kDeleted)) {
        path.resize(path.size() - kDeleted.size());
    }
    return path;
}

bool CreateFolderFor(const std::string& path) {
    std::error_code ignored;
    return CreateFolderFor(path, ignored);
}

bool CreateFolderFor(const std::string& path, std::error_code& error) {
    error.clear();
    const fs::path folder = fs::path(path).parent_path();
    if (folder.empty()) {
        return true;  // the current folder
    }
    // Existing folders answer EEXIST (or EACCES where their parent is closed); the check
    // below judges the outcome, and the first part that is no folder gives the reason.
    std::vector<std::pair<fs::path, int>> parts;  // (folder, errno of its mkdir or 0)
    fs::path partial;
    for (const fs::path& part : folder) {
        partial /= part;
        parts.emplace_back(partial, ::mkdir(partial.c_str(), 0700) == 0 ? 0 : errno);
    }
    if (fs::is_directory(folder, error)) {
        return true;
    }
    for (const auto& [part, made] : parts) {
        std::error_code statError;
        const fs::file_status status = fs::status(part, statError);
        if (fs::is_directory(status)) {
            continue;
        }
        if (fs::exists(status)) {
            error = std::make_error_code(std::errc::not_a_directory);
        } else if (made != 0 && made != EEXIST) {
            error = std::error_code(made, std::generic_category());
        } else if (statError) {
            error = statError;
        }
        break;
    }
    if (!error) {
        error = std::make_error_code(std::errc::no_such_file_or_directory);
    }
    return false;
}

std::optional<std::string> SaveSettingsFile(const CIniFile& ini) {
    const std::string& path = ini.FileName();
    std::string failure;
    std::error_code error;
    if (path.empty()) {
        failure = "Cannot save the settings: no folder for the settings file was found";
    } else if (!CreateFolderFor(path, error)) {
        failure = "Cannot save the settings to " + path +
                  ": cannot create its folder: " + error.message();
    } else if (!ini.Write(error)) {
        failure = "Cannot save the settings to " + path + ": " + error.message();
    } else {
        return std::nullopt;
    }
    Log(failure);
    return failure;
}

}  // namespace vornik
