// SPDX-License-Identifier: GPL-3.0-or-later
// What the paths on the command line ask for at start-up, and whether there is a display to
// open a window on.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace vornik {

struct StartupRequest {
    enum class Kind {
        InitialFolder,  // no path: the tree selects "initdir"
        SelectPath,     // one path that is not an audio file: the tree selects it
        ShowFiles,      // audio files: the tree selects its root without loading it and the
                        // list is handed the files, as if they were dropped
    };
    Kind kind = Kind::InitialFolder;
    std::vector<std::string> paths;

    friend bool operator==(const StartupRequest&, const StartupRequest&) = default;
};

// Each argument is one path, as the shell split them. One path whose extension (in any case)
// is one of the list's default file types (".mp3", ".mp2", ".mp1", ".mpc", ".mp+") is shown
// as a file; one other path is selected in the tree; of several paths those of these types
// are shown as files and the others left out.
StartupRequest DecideStartup(const std::vector<std::string>& paths);

// True when Qt has somewhere to draw: a platform plug-in that needs no display server
// (QT_QPA_PLATFORM=offscreen, ...), else DISPLAY or WAYLAND_DISPLAY set and not empty.
// `environment` answers an environment variable, nullopt when it is not set.
bool HasDisplay(const std::function<std::optional<std::string>(const char*)>& environment);

// The one line `vornik` prints before it exits when there is no display.
inline constexpr char kNoDisplayMessage[] =
    "vornik: no display to open a window on (DISPLAY and WAYLAND_DISPLAY are not set)";

}  // namespace vornik
