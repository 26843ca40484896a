#include "command_line.h"

#include <algorithm>
#include <cctype>

namespace vornik {
namespace {

bool IsMp3Path(const std::string& path) {
    const std::size_t dot = path.rfind('.');
    if (dot == std::string::npos) {
        return false;
    }
    std::string extension = path.substr(dot);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension == ".mp3";
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
        if (IsMp3Path(paths.front())) {
            return {StartupRequest::Kind::ShowFiles, paths};
        }
        return {StartupRequest::Kind::SelectPath, paths};
    }
    StartupRequest request{StartupRequest::Kind::ShowFiles, {}};
    std::copy_if(paths.begin(), paths.end(), std::back_inserter(request.paths), IsMp3Path);
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
