#include "option/appender.h"

#include "components/layout/layout_manager.h"
#include "host/main_frame.h"
#include "update/definition_file.h"
#include "update/layout/layout_table.h"
#include "update/layout/layout_tables.h"
#include "update/owned_pointers.h"
#include "update/path_limit.h"
#include "update/update_data.h"
#include "update/version_text.h"

#include <exception>
#include <memory>
#include <typeinfo>

namespace tern::option {

using update::layout::LayoutTable;

namespace {

bool isEmpty(const wchar_t* text) { return !text || !*text; }

} // namespace

Appender::Appender() = default;

Appender::~Appender() { clearEntries(); }

const wchar_t* Appender::getXmlRootName() { return L"Option_Data"; }

void Appender::clearEntries() {
    update::deleteAll(updates);
    update::deleteAll(tables);
}

int Appender::run(const wchar_t* name, const wchar_t* definitionPath, core::IMainFrame& frame) try {
    const std::wstring folder = frame.getAppDataFolder();
    if (folder.empty())
        return -1;
    return run(name, definitionPath, folder.c_str(), frame.getLayoutManager(), frame.getCommandTable());
} catch (const std::bad_cast&) {
    throw;
} catch (const std::exception&) {
    return 0; // as below
}

int Appender::run(const wchar_t* name, const wchar_t* definitionPath, const wchar_t* folder,
                  layout::ILayoutManager& layoutManager, const utility::CCommandTable& commandTable) try {
    if (isEmpty(name) || isEmpty(definitionPath) || isEmpty(folder))
        return -1;
    optionName = name;
    if (!update::isExistingFolder(folder))
        return -1;
    if (!update::isExistingFile(definitionPath))
        return 0;
    clearEntries();
    if (!loadXml(definitionPath))
        return 0;
    return updateLayout(folder, layoutManager, commandTable) ? 1 : 0;
} catch (const std::bad_cast&) {
    throw; // a layout manager of another class: the host's to handle
} catch (const std::exception&) {
    // Any other exception would end the host (std::bad_alloc from a file
    // too large to hold, say): the run fails instead.
    return 0;
}

bool Appender::setup(const wchar_t* definitionPath) {
    clearEntries();
    if (isEmpty(definitionPath))
        return false;
    return loadXml(definitionPath);
}

bool Appender::loadXml(const wchar_t* definitionPath) {
    return update::loadDefinitionFile(updates, definitionPath, getXmlRootName(), update::BareLayouts::load);
}

bool Appender::updateLayout(core::IMainFrame& frame) {
    const std::wstring folder = frame.getAppDataFolder();
    if (folder.empty())
        return false;
    return updateLayout(folder.c_str(), frame.getLayoutManager(), frame.getCommandTable());
}

bool Appender::updateLayout(const wchar_t* folder, layout::ILayoutManager& layoutManager,
                            const utility::CCommandTable& commandTable) {
    if (!folder)
        return false;
    auto& manager = dynamic_cast<layout::LayoutManager&>(layoutManager);
    // Each table carries the option version its layout type already holds;
    // a mode whose table cannot be set up is left as it is.
    const auto readRecordedVersion = [this](LayoutTable& table, const layout::LayoutTypeData& type) {
        table.optionVersionFound = type.findAppendOptionVersion(table.optionMajor, table.optionMinor, optionName);
    };
    if (!update::layout::buildLayoutTables(tables, manager, commandTable, update::layout::FailedSetup::skip,
                                           readRecordedVersion))
        return false;

    // Oldest entry first; each table takes only the entries newer than the
    // version it already carries.
    bool changed = false;
    bool entrySeen = false;
    std::int32_t newestMajor = 0, newestMinor = 0;
    for (auto entry = updates.rbegin(); entry != updates.rend(); ++entry) {
        const update::UpdateData& data = **entry;
        entrySeen = true;
        if (update::isNewerVersion(data.major, data.minor, newestMajor, newestMinor)) {
            newestMajor = data.major;
            newestMinor = data.minor;
        }
        for (LayoutTable* table : tables) {
            if (!table || (table->optionVersionFound && !update::isNewerVersion(data.major, data.minor,
                                                                                 table->optionMajor, table->optionMinor)))
                continue;
            const std::vector<LayoutTable*> only{table};
            for (update::layout::ILayoutItem* item : data.layout.items)
                if (item)
                    changed |= item->apply(only, commandTable);
        }
    }

    if (entrySeen) {
        std::vector<std::wstring> typeNames;
        manager.getTypeNames(typeNames);
        for (const std::wstring& typeName : typeNames)
            if (layout::LayoutTypeData* type = manager.findType(typeName))
                type->setAppendOptionVersion(optionName, newestMajor, newestMinor);
    }
    if (!changed || !update::layout::commitChangedTables(tables, commandTable))
        return false;
    return manager.saveXmlFile(std::wstring(folder) + L"Config\\Display.xml", commandTable);
}

} // namespace tern::option
