// Which pane a message of the main window reaches.
#pragma once

namespace vornik {

enum class Pane { Tree, List, View };

// F5 (ViewRefresh 0) and the clipboard commands go to the pane under the mouse: the tree when
// the cursor is over it, else the list; a complete scan (ViewRefresh 1), rename, select
// all/none and the list's commands always go to the list; switching panes and the settings
// sheet stay with the view. `message` is one of the view's message numbers.
Pane RouteViewMessage(int message, int wParam, bool mouseOverTree);

}  // namespace vornik
