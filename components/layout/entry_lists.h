// Operations shared by the model's lists of entries.
//
// Insertion by index follows the layout library's rules: -1 appends, 0 to
// size inserts there, anything else fails; the result is the new entry's
// 1-based position, 0 on failure. A caption refresh touches only entries of
// the record's identifier, so commands the table does not know (identifier
// 0) never change.

#pragma once

#include "components/layout/copy_on_write.h"
#include "components/utility/command_table.h"

#include <algorithm>
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

// Whether `shown` shows the record's command with another caption.
inline bool isStaleCaption(const utility::SCommand& shown, const utility::SCommand& record) {
    return record.id != 0 && shown.id == record.id && shown.caption != record.caption;
}

// Gives `shown` the record's caption when it shows that command; true when
// the caption changed.
inline bool refreshCaption(utility::SCommand& shown, const utility::SCommand& record) {
    if (!isStaleCaption(shown, record))
        return false;
    shown.caption = record.caption;
    return true;
}

// Refreshes the captions of a shared list's entries (`shown` gives an
// entry's command), taking a copy of the list only when a caption changes.
template <class Entry, class Shown>
bool refreshCaptions(CopyOnWrite<std::vector<Entry>>& list, const utility::SCommand& record, Shown shown) {
    const std::vector<Entry>& entries = list.read();
    if (std::none_of(entries.begin(), entries.end(),
                     [&](const Entry& entry) { return isStaleCaption(shown(entry), record); }))
        return false;
    bool changed = false;
    for (Entry& entry : list.write())
        changed = refreshCaption(shown(entry), record) || changed;
    return changed;
}

} // namespace tern::layout
