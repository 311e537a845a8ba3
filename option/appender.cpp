#include "option/appender.h"

#include "components/layout/layout_manager.h"
#include "host/main_frame.h"
#include "update/definition_file.h"
#include "update/file_events.h"
#include "update/layout/layout_table.h"
#include "update/layout/layout_tables.h"
#include "update/owned_pointers.h"
#include "update/path_limit.h"
#include "update/run_report.h"
#include "update/update_data.h"
#include "update/version_text.h"

#include <exception>
#include <memory>
#include <typeinfo>

namespace tern::option {

using update::layout::LayoutTable;

namespace {

bool isEmpty(const wchar_t* text) { return !text || !*text; }

// -1, and the report hears why.
int refuse(const std::wstring& path, const wchar_t* reason) {
    update::reportFile(core::RunEvent::refused, path, reason);
    return -1;
}

// The result, after telling the report that the run ended with it.
int finished(int result) {
    update::reportFinished(result);
    return result;
}

std::wstring versionText(std::int32_t major, std::int32_t minor) {
    return std::to_wstring(major) + L"." + std::to_wstring(minor);
}

// Tells the report that the entry passes the table's layout type by: the
// type carries the option at the entry's version or a newer one.
void reportAlreadyAppended(const std::wstring& optionName, const update::UpdateData& entry, const LayoutTable& table) {
    update::report([&] {
        return core::RunEventDetails{core::RunEvent::layoutItemNotApplied,
                                     {},
                                     {},
                                     L"Update ver=\"" + versionText(entry.major, entry.minor) + L"\"",
                                     L"type " + table.typeName,
                                     {},
                                     L"the layout type already has option \"" + optionName + L"\" at version " +
                                         versionText(table.optionMajor, table.optionMinor)};
    });
}

// Records the option's version on a layout type and, when that changes what
// the type carries, tells the report, as the layout file will read it.
void recordVersion(layout::LayoutTypeData& type, const std::wstring& optionName, std::int32_t major,
                   std::int32_t minor) {
    std::int32_t recordedMajor = 0, recordedMinor = 0;
    const bool same = update::runReport() && type.findAppendOptionVersion(recordedMajor, recordedMinor, optionName) &&
                      recordedMajor == major && recordedMinor == minor;
    type.setAppendOptionVersion(optionName, major, minor);
    if (same)
        return;
    update::report([&] {
        return core::RunEventDetails{core::RunEvent::layoutItemApplied,
                                     {},
                                     {},
                                     L"AppendOption Name=\"" + optionName + L"\" Major=\"" + std::to_wstring(major) +
                                         L"\" Minor=\"" + std::to_wstring(minor) + L"\"",
                                     L"type " + type.getName(),
                                     {},
                                     {}};
    });
}

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
    if (isEmpty(name))
        return finished(refuse({}, L"no option name was given"));
    if (isEmpty(definitionPath))
        return finished(refuse({}, L"no option-definition file was given"));
    if (isEmpty(folder))
        return finished(refuse({}, L"no application-data folder was given"));
    optionName = name;
    if (!update::isExistingFolder(folder))
        return finished(refuse(folder, L"not an existing folder within 260 characters"));
    if (!update::isExistingFile(definitionPath))
        return finished(0);
    clearEntries();
    if (!loadXml(definitionPath))
        return finished(0);
    return finished(updateLayout(folder, layoutManager, commandTable) ? 1 : 0);
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
        const std::wstring* reportedType = nullptr;
        for (LayoutTable* table : tables) {
            if (!table)
                continue;
            if (table->optionVersionFound &&
                !update::isNewerVersion(data.major, data.minor, table->optionMajor, table->optionMinor)) {
                // Said once per layout type: the version is the type's, not the mode's.
                if (!reportedType || *reportedType != table->typeName)
                    reportAlreadyAppended(optionName, data, *table);
                reportedType = &table->typeName;
                continue;
            }
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
                recordVersion(*type, optionName, newestMajor, newestMinor);
    }
    return changed && update::layout::saveChangedLayout(tables, manager, std::wstring(folder) + L"Config\\Display.xml",
                                                        commandTable);
}

} // namespace tern::option
