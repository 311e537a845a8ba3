#include "update/layout/layout_tables.h"

#include "components/layout/layout_manager.h"
#include "update/file_events.h"
#include "update/layout/item_events.h"
#include "update/owned_pointers.h"
#include "update/run_report.h"

#include <memory>
#include <string>

namespace tern::update::layout {

using tern::layout::LayoutModeData;

namespace {

bool hasChanges(const LayoutTable& table) {
    return table.toolBarChanged || table.ribbonChanged || table.menuChanged;
}

} // namespace

bool buildLayoutTables(std::vector<LayoutTable*>& tables, const tern::layout::LayoutManager& manager,
                       const utility::CCommandTable& commandTable, FailedSetup onFailedSetup,
                       const TablePreparation& prepare) {
    std::vector<std::wstring> typeNames;
    if (manager.getTypeNames(typeNames) == 0)
        return false;
    const std::wstring modeNames[] = {LayoutModeData::getNormalModeName(), LayoutModeData::get3dModeName(),
                                      LayoutModeData::getRedModeName()};
    for (const std::wstring& typeName : typeNames) {
        const tern::layout::LayoutTypeData* type = manager.findType(typeName);
        if (!type)
            return false;
        for (const std::wstring& modeName : modeNames) {
            LayoutModeData* mode = type->findLayoutMode(modeName);
            if (!mode)
                continue;
            auto table = std::make_unique<LayoutTable>();
            if (prepare)
                prepare(*table, *type);
            if (table->setup(mode, commandTable, LayoutTable::modeNoFromName(modeName), typeName.c_str(),
                             modeName.c_str()))
                pushOwned(tables, std::move(table));
            else if (onFailedSetup == FailedSetup::stop)
                return false;
        }
    }
    return true;
}

bool commitChangedTables(const std::vector<LayoutTable*>& tables, const utility::CCommandTable& commandTable,
                         const LayoutTable** failed) {
    for (LayoutTable* table : tables) {
        if (table && hasChanges(*table) && !table->commit(commandTable)) {
            if (failed)
                *failed = table;
            return false;
        }
    }
    return true;
}

bool saveChangedLayout(const std::vector<LayoutTable*>& tables, const tern::layout::LayoutManager& manager,
                       const std::wstring& layoutFile, const utility::CCommandTable& commandTable) {
    const LayoutTable* failed = nullptr;
    if (!commitChangedTables(tables, commandTable, &failed)) {
        report([&] {
            core::RunEventDetails event{};
            event.event = core::RunEvent::fileNotWritten;
            event.path = layoutFile;
            event.reason = L"the changes to " + placeOf(*failed) + L" could not be stored";
            return event;
        });
        return false;
    }
    std::error_code why;
    if (!manager.saveXmlFile(layoutFile, commandTable, &why)) {
        reportFile(core::RunEvent::fileNotWritten, layoutFile, why);
        return false;
    }
    reportFile(core::RunEvent::fileWritten, layoutFile);
    return true;
}

} // namespace tern::update::layout
