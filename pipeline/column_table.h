// SPDX-License-Identifier: GPL-3.0-or-later
// The file list's columns: one entry per catalogue attribute, and the ones shown.
#pragma once

#include <array>
#include <map>
#include <string>
#include <vector>

#include "attribute_catalogue.h"

namespace vornik {

enum class ColumnAlignment { Left, Right };

struct ColumnEntry {
    std::string name;         // header text
    std::string description;  // header tool tip
    std::string group;        // where the column chooser files it
    ColumnAlignment alignment = ColumnAlignment::Left;
    int width = 0;     // pixels: the catalogue's, a stored "colwidth2_", or as the user left it
    int textSlot = 0;  // the row's display text the column shows
    SortField sortField = SortField::Text;  // Text: the column sorts by its display text
    bool needsWalk = false;                 // the value needs the frame walk

    bool SortsNumerically() const { return sortField != SortField::Text; }
};

// Attribute id of the Name column, the one the user edits to rename a file.
inline constexpr int kNameColumnId = 0;
// Attribute id of the Quality column, which shows a colour instead of its text.
inline constexpr int kQualityColumnId = 7;

// Name, Encoder, Bitrate, Frames, Length, Size, Bad Last Frame, Quality.
inline constexpr std::array<int, 8> kDefaultColumnIds{0, 1, 2, 9, 4, 5, 6, 7};

class ColumnTable {
  public:
    // Every catalogue attribute at its catalogue width; the default columns shown.
    ColumnTable();

    // The entry of attribute `id`, null when the catalogue does not know it.
    const ColumnEntry* Find(int id) const;
    const std::map<int, ColumnEntry>& Entries() const { return entries_; }

    // Shows `ids` left to right, leaving out the ids the catalogue does not know. Widths stay
    // as the entries hold them, so a column shown before keeps its width.
    void SetShownIds(const std::vector<int>& ids);
    // Shows the default columns at their catalogue widths.
    void ShowDefaultColumns();

    const std::vector<int>& ShownIds() const { return shown_; }
    int ShownCount() const { return static_cast<int>(shown_.size()); }
    // The entry of shown column `column`; `column` must be within ShownCount().
    const ColumnEntry& Shown(int column) const;
    // The leftmost shown column of attribute `id`, -1 when it is not shown.
    int ColumnOf(int id) const;

    // Sets the width of attribute `id`'s entry; unknown ids are ignored.
    void SetWidth(int id, int width);

    // True when a shown column needs the frame walk, so the worker has to walk the frames.
    bool AnyShownNeedsWalk() const;
    bool IsShown(int id) const;

  private:
    std::map<int, ColumnEntry> entries_;
    std::vector<int> shown_;
};

// The width that lets column 0 fill the client area: clientWidth - sum(widths) + widths[0],
// at least 200 pixels. `widths` are the shown columns' widths left to right; with none, the
// client width itself (at least 200).
int AutoSizedFirstColumnWidth(int clientWidth, const std::vector<int>& widths);

}  // namespace vornik
