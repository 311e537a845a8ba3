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

// The index a new entry takes next to the target at targetIndex: the
// target's own for EP_BEFORE, the one after it for EP_AFTER. -1, which
// appends, when the target is absent (a negative targetIndex).
inline int indexNextTo(ItemPos pos, int targetIndex) {
    if (targetIndex < 0)
        return -1;
    return pos == EP_AFTER ? targetIndex + 1 : targetIndex;
}

} // namespace tern::update::layout
