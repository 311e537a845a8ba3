// What a CUpdater owns: the definition's entries and the layout tables of
// the last layout update.

#include "update/updater.h"

#include "update/layout/layout_table.h"
#include "update/update_data.h"

namespace tern::update {

void CUpdater::clearEntries() {
    for (UpdateData* entry : updates)
        delete entry;
    updates.clear();
    for (layout::LayoutTable* table : tables)
        delete table;
    tables.clear();
}

} // namespace tern::update
