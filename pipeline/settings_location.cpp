#include "settings_location.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string_view>
#include <system_error>

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
    const fs::path folder = fs::path(path).parent_path();
    if (folder.empty()) {
        return true;  // the current folder
    }
    // Existing folders answer EEXIST (or EACCES where their parent is closed); the check
    // below judges the outcome.
    fs::path partial;
    for (const fs::path& part : folder) {
        partial /= part;
        ::mkdir(partial.c_str(), 0700);
    }
    std::error_code error;
    return fs::is_directory(folder, error);
}

}  // namespace vornik
