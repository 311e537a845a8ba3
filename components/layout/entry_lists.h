// Operations shared by the model's lists of entries.
//
// Insertion by index follows the layout library's rules: -1 appends, 0 to
// size inserts there, anything else fails; the result is the new entry's
// 1-based position, 0 on failure. A caption refresh touches only entries of
// the record's identifier, so commands the table does not know (identifier
// 0) never change.

#pragma once

#include "components/utility/command_table.h"

#include <utility>
#include <vector>

namespace tern::layout {

template <class Entry> int insertAt(std::vector<Entry>& entries, int index, Entry entry) {
    const int size = static_cast<int>(entries.size());
    if (index == -1)
        index = size;
    if (index < 0 || index > size)
        return 0;
    entries.insert(entries.begin() + index, std::move(entry));
    return index + 1;
}

// Gives `shown` the record's caption when it shows that command; true when
// the caption changed.
inline bool refreshCaption(utility::SCommand& shown, const utility::SCommand& record) {
    if (record.id == 0 || shown.id != record.id || shown.caption == record.caption)
        return false;
    shown.caption = record.caption;
    return true;
}

} // namespace tern::layout
