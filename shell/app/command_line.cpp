// SPDX-License-Identifier: GPL-3.0-or-later
#include "command_line.h"

#include <algorithm>
#include <filesystem>
#include <iterator>

#include "file_type_filter.h"
#include "list_settings.h"

namespace vornik {
namespace {

// A file of a type the list shows by default: MPEG audio of any layer, or MPEG Plus.
bool IsAudioPath(const std::string& path) {
    return FileTypeFilter(ListSettings{}.fileTypes)
        .Wants(std::filesystem::path(path).filename().string());
}

bool Set(const std::optional<std::string>& value) {
    return value.has_value() && !value->empty();
}

}  // namespace

StartupRequest DecideStartup(const std::vector<std::string>& paths) {
    if (paths.empty()) {
        return {};
    }
    if (paths.size() == 1) {
        if (IsAudioPath(paths.front())) {
            return {StartupRequest::Kind::ShowFiles, paths};
        }
        return {StartupRequest::Kind::SelectPath, paths};
    }
    StartupRequest request{StartupRequest::Kind::ShowFiles, {}};
    std::copy_if(paths.begin(), paths.end(), std::back_inserter(request.paths), IsAudioPath);
    return request;
}

bool HasDisplay(const std::function<std::optional<std::string>(const char*)>& environment) {
    const std::optional<std::string> platform = environment("QT_QPA_PLATFORM");
    if (Set(platform) && !platform->starts_with("xcb") && !platform->starts_with("wayland")) {
        return true;
    }
    return Set(environment("DISPLAY")) || Set(environment("WAYLAND_DISPLAY"));
}

}  // namespace vornik
