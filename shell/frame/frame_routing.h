// What the main window does with each command.
#pragma once

namespace vornik {

struct FrameRoute {
    enum class Kind {
        Frame,   // the main window handles it itself
        Post,    // posted to the view as `message` with `wParam`
        Send,    // sent to the view as `message` with `wParam`, its result returned
        Ignore,  // accepted and dropped
    };
    Kind kind = Kind::Ignore;
    int message = 0;
    int wParam = 0;

    friend bool operator==(const FrameRoute&, const FrameRoute&) = default;
};

FrameRoute RouteFrameCommand(int command);

}  // namespace vornik
