// What a CUpdater owns: the definition's entries and the layout tables of
// the last layout update.

#include "update/updater.h"

#include "update/layout/layout_table.h"
#include "update/owned_pointers.h"
#include "update/update_data.h"

namespace tern::update {

void CUpdater::clearEntries() {
    deleteAll(updates);
    deleteAll(tables);
}

} // namespace tern::update
