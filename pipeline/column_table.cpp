// SPDX-License-Identifier: GPL-3.0-or-later
#include "column_table.h"

#include <algorithm>
#include <limits>
#include <numeric>

namespace vornik {

ColumnTable::ColumnTable() {
    for (const auto& [id, attribute] : BuildAttributeCatalogue()) {
        ColumnEntry entry;
        entry.name = attribute.name;
        entry.description = attribute.description;
        entry.group = attribute.group;
        // Numbers line up on their last digit.
        entry.alignment =
            attribute.sortField == SortField::Text ? ColumnAlignment::Left : ColumnAlignment::Right;
        entry.width = attribute.listWidth;
        entry.textSlot = attribute.textSlot;
        entry.sortField = attribute.sortField;
        entry.needsWalk = attribute.needsWalk;
        entries_.emplace(id, std::move(entry));
    }
    ShowDefaultColumns();
}

const ColumnEntry* ColumnTable::Find(int id) const {
    const auto it = entries_.find(id);
    return it == entries_.end() ? nullptr : &it->second;
}

void ColumnTable::SetShownIds(const std::vector<int>& ids) {
    shown_.clear();
    for (const int id : ids) {
        if (entries_.count(id) != 0) {
            shown_.push_back(id);
        }
    }
}

void ColumnTable::ShowDefaultColumns() {
    shown_.assign(kDefaultColumnIds.begin(), kDefaultColumnIds.end());
    for (const int id : shown_) {
        entries_.at(id).width = FindAttribute(id)->listWidth;
    }
}

const ColumnEntry& ColumnTable::Shown(int column) const {
    return entries_.at(shown_.at(static_cast<std::size_t>(column)));
}

int ColumnTable::ColumnOf(int id) const {
    const auto it = std::find(shown_.begin(), shown_.end(), id);
    return it == shown_.end() ? -1 : static_cast<int>(it - shown_.begin());
}

void ColumnTable::SetWidth(int id, int width) {
    const auto it = entries_.find(id);
    if (it != entries_.end()) {
        it->second.width = width;
    }
}

bool ColumnTable::AnyShownNeedsWalk() const {
    return std::any_of(shown_.begin(), shown_.end(),
                       [this](int id) { return entries_.at(id).needsWalk; });
}

bool ColumnTable::IsShown(int id) const {
    return std::find(shown_.begin(), shown_.end(), id) != shown_.end();
}

int AutoSizedFirstColumnWidth(int clientWidth, const std::vector<int>& widths) {
    const long long all = std::accumulate(widths.begin(), widths.end(), 0LL);
    const long long first = widths.empty() ? 0 : widths.front();
    const long long width = clientWidth - all + first;
    if (width <= 200) {
        return 200;
    }
    return static_cast<int>(std::min<long long>(width, std::numeric_limits<int>::max()));
}

}  // namespace vornik
