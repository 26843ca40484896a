// SPDX-License-Identifier: GPL-3.0-or-later
// A row of the file list and the values that travel between the list and its workers.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "mp3_info.h"
#include "packed_texts.h"

namespace vornik {

// What a row's file turned out to hold. Rows of files without audio stay in the list,
// greyed, their Encoder cell saying why.
enum class RowContent : std::uint8_t {
    Audio,       // MPEG audio or MPEG Plus, analysed (also when the engine gave up)
    NoAudio,     // empty, or no MPEG audio found
    Unreadable,  // cannot be opened, or not a regular file
};

// One file of the list. The list owns its rows, on its own thread only: workers get copies of
// what they need (ListRowRequest) and send values back (ListItemResult), never pointers.
struct _LVItemData {
    virtual ~_LVItemData() = default;

    // The folder that holds the file (the rows of a folder do not each keep a copy).
    std::string Folder() const { return std::filesystem::path(fullPath).parent_path().string(); }

    std::string fileName;  // the file's name within the folder, as labels show it
    int icon = -1;         // the shell decides; -1 until known
    Mp3Info record{};      // zero until the worker's result arrives
    PackedTexts texts;     // the Name slot holds the display name
    std::string fullPath;  // the folder and the name
    bool done = false;     // the worker has reported the row; never cleared
    RowContent content = RowContent::Audio;
    // The row's identity for its results: unique within the list, never reused.
    std::uint64_t id = 0;
    // Counts the row's requests: a result answers only the latest one.
    std::uint32_t generation = 0;
};

// Which request of which row a result answers.
struct ListRowRef {
    std::uint64_t id = 0;
    std::uint32_t generation = 0;
    friend bool operator==(const ListRowRef&, const ListRowRef&) = default;
};

// One row of a batch, copied from the row when the batch is posted.
struct ListRowRequest {
    ListRowRef ref;
    std::string path;
    std::string name;  // the display name
};

// The worker's result for one row, swapped into the row by the list's thread when the row is
// still there and the result answers its latest request.
struct ListItemResult {
    ListRowRef ref;
    RowContent content = RowContent::Audio;
    Mp3Info record{};
    PackedTexts texts;
};

// A batch of rows for the worker, with every option the analysis needs.
struct ListRequest {
    std::vector<ListRowRequest> rows;  // in processing order
    int frameBudget = 1000;            // 0 or less: every frame
    bool walk = true;                  // false when no shown column needs the frame walk
    bool checkIntegrity = false;       // the Integrity column is shown: complete scans check all
    bool monoQuality = false;          // the list's "monoquality" setting
    bool readAllUnknown = true;        // the list's "readallunknown" setting
};

// How the worker's messages reach the list's thread: the desktop program posts them to its
// event loop, the command line and the tests queue them. Called on the worker's thread; it
// must queue and return, never wait for the list's thread.
class ListResultPoster {
  public:
    virtual ~ListResultPoster() = default;
    // `ListItemDone`: the row's result; `lastOfBatch` for the batch's last row.
    virtual void PostItemDone(std::unique_ptr<ListItemResult> result, bool lastOfBatch) = 0;
};

}  // namespace vornik
