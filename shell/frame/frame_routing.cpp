#include "frame_routing.h"

#include "command_ids.h"
#include "messages.h"

namespace vornik {
namespace {

FrameRoute Post(int message, int wParam) {
    return {FrameRoute::Kind::Post, message, wParam};
}

}  // namespace

FrameRoute RouteFrameCommand(int command) {
    if (command >= CmdFavouriteFirst && command <= CmdFavouriteLast) {
        return {FrameRoute::Kind::Frame};
    }
    switch (command) {
        case CmdExit:
        case CmdToolbar:
        case CmdAnimation:
        case CmdStatusBar:
        case CmdAbout:
        case CmdDocumentation:
        case CmdLogging:
        case CmdFavouritesAdd:
        case CmdFavouritesOrganize:
            return {FrameRoute::Kind::Frame};
        case CmdRename:
            return Post(message::ViewRename, 0);
        case CmdCut:
        case CmdCopy:
        case CmdPaste:
            return Post(message::ViewClipboard, command);
        case CmdSelectAll:
            return Post(message::ViewSelectAll, 1);
        case CmdSelectNone:
            return Post(message::ViewSelectAll, 0);
        case CmdNextPane:
        case CmdPreviousPane:
            return Post(message::ViewSwitchPane, 0);
        case CmdTagDialog:
        case CmdStop:
        case CmdDelete:
        case CmdExport:
            return {FrameRoute::Kind::Send, message::ViewCommand, command};
        case CmdSettings:
            return Post(message::ViewSettings, 0);
        case CmdRefresh:
            return Post(message::ViewRefresh, 0);
        case CmdCompleteScan:
            return Post(message::ViewRefresh, 1);
        default:
            return {};
    }
}

}  // namespace vornik
