// What every layout item does with the list of tables it is given, and
// where "Before" and "After" put a new entry.

#pragma once

#include "update/layout/layout_item.h"

#include <vector>

namespace tern::update::layout {

// Runs `edit` on every non-null table, in order; true when one of them
// changed. An empty list gives false.
template <class Edit> bool editEachTable(const std::vector<LayoutTable*>& tables, Edit edit) {
    bool changed = false;
    for (LayoutTable* table : tables)
        if (table)
            changed = edit(*table) || changed;
    return changed;
}

// Where pos puts a new entry among its siblings, as an index for the layout
// library's insertions (-1 appends): 0 for EP_FIRST, -1 for EP_LAST, the
// target's index for EP_BEFORE and the one after it for EP_AFTER. A target
// that is absent (a negative targetIndex) gives -1: the entry is appended.
// False for any other pos, which places nothing.
inline bool insertIndex(ItemPos pos, int targetIndex, int& index) {
    switch (pos) {
    case EP_FIRST:
        index = 0;
        return true;
    case EP_LAST:
        index = -1;
        return true;
    case EP_BEFORE:
    case EP_AFTER:
        index = targetIndex < 0 ? -1 : pos == EP_AFTER ? targetIndex + 1 : targetIndex;
        return true;
    }
    return false;
}

} // namespace tern::update::layout
