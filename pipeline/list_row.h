// A row of the file list and the requests and results that travel between the list and its
// worker.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "attribute_texts.h"
#include "mp3_info.h"

namespace vornik {

// One file of the list. The list owns its rows; a row's identity is its folder and file name.
struct _LVItemData {
    virtual ~_LVItemData() = default;

    std::string folder;  // the folder that holds the file
    bool focused = false;
    bool selected = false;
    std::string fileName;     // the file's name within the folder
    int icon = -1;            // the shell decides; -1 until known
    Mp3Info record{};         // zero until the worker's result arrives
    AttributeTexts texts;     // the Name slot holds the display name
    std::string displayName;  // the whole file name: labels always show the extension
    std::string fullPath;
    bool done = false;  // the worker has reported the row; never cleared
};

// The worker's result for one row: a record and texts filled on the worker's private copy,
// swapped into the row by the list's thread, so that a row on screen is never read while it is
// written.
struct ListItemResult {
    _LVItemData* row = nullptr;  // the row the result belongs to
    Mp3Info record{};
    AttributeTexts texts;
};

// The request word of a batch: bits 16-23 the batch sequence number, 24-31 the no-walk flag;
// the frame budget travels whole beside it, so budgets above 65535 frames survive.
struct ListRequest {
    std::vector<_LVItemData*> rows;  // in processing order; the rows stay the list's
    int frameBudget = 1000;          // 0 or less: every frame
    std::uint8_t sequence = 0;       // the list's batch counter
    bool walk = true;                // false when no shown column needs the frame walk
    bool checkIntegrity = false;     // the Integrity column is shown: complete scans check all
};

// How the worker's messages reach the list's thread: the desktop program posts them to its
// event loop, the command line and the tests queue them. Called on the worker's thread.
class ListResultPoster {
  public:
    virtual ~ListResultPoster() = default;
    // `ListItemDone`: the row's result; `lastOfBatch` for the batch's last row.
    virtual void PostItemDone(std::unique_ptr<ListItemResult> result, bool lastOfBatch,
                              std::uint8_t sequence) = 0;
    // `ListItemFailed`: the file could not be read as audio.
    virtual void PostItemFailed(_LVItemData* row) = 0;
};

}  // namespace vornik
