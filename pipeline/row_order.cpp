// SPDX-License-Identifier: GPL-3.0-or-later
#include "row_order.h"

#include <cctype>

#include "attribute_catalogue.h"

namespace vornik {

int CompareTextsIgnoringCase(std::string_view a, std::string_view b) {
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        const int ca = std::tolower(static_cast<unsigned char>(a[i]));
        const int cb = std::tolower(static_cast<unsigned char>(b[i]));
        if (ca != cb) {
            return ca - cb;
        }
    }
    return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

bool RowBefore(const RowKey& a, const RowKey& b, int sortId, bool reverse) {
    if (a.done != b.done) {
        return a.done;
    }
    if (!a.done) {
        return false;
    }
    const AttributeInfo* attribute = FindAttribute(sortId);
    if (attribute == nullptr) {
        attribute = FindAttribute(0);
    }
    if (attribute->sortField != SortField::Text) {
        const double va = SortValue(*a.record, attribute->sortField);
        const double vb = SortValue(*b.record, attribute->sortField);
        return reverse ? va > vb : va < vb;
    }
    const std::string_view ta = (*a.texts)[attribute->textSlot];
    const std::string_view tb = (*b.texts)[attribute->textSlot];
    const int order = reverse ? CompareTextsIgnoringCase(tb, ta) : CompareTextsIgnoringCase(ta, tb);
    return order < 0;
}

}  // namespace vornik
