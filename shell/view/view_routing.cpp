#include "view_routing.h"

#include "messages.h"

namespace vornik {

Pane RouteViewMessage(int message, int wParam, bool mouseOverTree) {
    switch (message) {
        case message::ViewRefresh:
            return wParam == 0 && mouseOverTree ? Pane::Tree : Pane::List;
        case message::ViewClipboard:
            return mouseOverTree ? Pane::Tree : Pane::List;
        case message::ViewRename:
        case message::ViewSelectAll:
        case message::ViewCommand:
            return Pane::List;
        default:
            return Pane::View;
    }
}

}  // namespace vornik
