// The private messages between the main window, the view and its panes, by the numbers the
// program always gave them. Here they name direct calls (sent) and queued calls (posted).
#pragma once

namespace vornik {

// In a namespace of their own: the windows' handlers carry the same names.
namespace message {

enum Id : int {
    ListShowFiles = 0x404,
    ViewSettings = 0x40B,
    ViewRefresh = 0x40D,
    ViewRename = 0x40E,
    ListLoadFolder = 0x411,
    FrameSetStatusText = 0x41E,
    FrameAnimate = 0x41F,
    ViewOpenDetails = 0x420,
    TreeSelChanged = 0x423,
    ViewClipboard = 0x429,
    ViewSelectAll = 0x42A,
    ViewSwitchPane = 0x432,
    TreeGoToFolder = 0x43C,
    ViewCommand = 0x43F,
    ViewStartup = 0x447,
};

}  // namespace message
}  // namespace vornik
