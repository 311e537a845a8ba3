// CUpdater::updateLayout: a release folder's layout file carried into this
// release's application-data folder, with the layout edits and setting-file
// edits of every update entry newer than that folder's version.
//
// The source folder is only ever read: the layout is written, and the setting
// files are copied and edited, in this release's folder alone, so that the
// previous release keeps working with its own files.

#include "update/updater.h"

#include "components/layout/layout_manager.h"
#include "host/main_frame.h"
#include "platform/file_system.h"
#include "platform/text.h"
#include "update/layout/layout_item.h"
#include "update/layout/layout_tables.h"
#include "update/path_limit.h"
#include "update/update_data.h"

#include <algorithm>

namespace tern::update {

namespace {

const wchar_t layoutFile[] = L"Config\\Display.xml";

// The entries at index count - 1 down to 0, oldest first, without the
// missing ones.
std::vector<const UpdateData*> oldestFirst(const std::vector<UpdateData*>& updates, std::int32_t count) {
    std::vector<const UpdateData*> entries;
    for (std::int32_t i = count - 1; i >= 0; --i)
        if (const UpdateData* entry = updates[static_cast<std::size_t>(i)])
            entries.push_back(entry);
    return entries;
}

// Applies every layout item of the entries, in order; true when one changed a table.
bool applyLayoutItems(const std::vector<const UpdateData*>& entries, const std::vector<layout::LayoutTable*>& tables,
                      const utility::CCommandTable& commandTable) {
    bool changed = false;
    for (const UpdateData* entry : entries)
        for (layout::ILayoutItem* item : entry->layout.items)
            if (item)
                changed |= item->apply(tables, commandTable);
    return changed;
}

// The files the entries' setting sections edit, each once, in ascending
// order. A section without a path edits nothing and names no file.
std::vector<std::wstring> settingFiles(const std::vector<const UpdateData*>& entries) {
    std::vector<std::wstring> names;
    for (const UpdateData* entry : entries)
        for (const SettingData* setting : entry->settings)
            if (setting && !setting->path.empty())
                names.push_back(setting->path);
    std::sort(names.begin(), names.end());
    names.erase(std::unique(names.begin(), names.end()), names.end());
    return names;
}

// Runs the setting-file edits of the entries in the current folder, in order;
// each section loads the file afresh, so a later one sees the earlier edits.
void applySettingEdits(const std::vector<const UpdateData*>& entries, const std::wstring& currentFolder) {
    for (const UpdateData* entry : entries)
        for (SettingData* setting : entry->settings)
            if (setting)
                setting->apply(currentFolder.c_str());
}

} // namespace

bool CUpdater::updateLayout(const wchar_t* sourceFolder, const core::IMainFrame& frame) {
    if (!sourceFolder || !*sourceFolder)
        return false;
    const std::wstring source = sourceFolder;
    const std::wstring current = frame.getAppDataFolder();
    // An empty folder would turn every path below into one relative to the
    // working folder: nothing is written there.
    if (current.empty())
        return false;

    std::int32_t sourceMajor = 0;
    std::int32_t sourceMinor = 0;
    if (!inspectVersion(sourceMajor, sourceMinor, sourceFolder))
        return false;
    const std::int32_t count = findPrevVer(sourceMajor, sourceMinor);
    if (count < 1)
        return false;

    tern::layout::LayoutManager manager;
    if (!manager.loadXmlFile(source + layoutFile, frame))
        return false;
    const utility::CCommandTable& commandTable = frame.getCommandTable();
    // Tables of an earlier call stay owned until the next setup, but the
    // model they were made from is gone: only this call's tables are edited.
    const auto firstTable = static_cast<std::ptrdiff_t>(tables.size());
    if (!layout::buildLayoutTables(tables, manager, commandTable, layout::FailedSetup::stop))
        return false;
    const std::vector<layout::LayoutTable*> built(tables.begin() + firstTable, tables.end());

    const std::vector<const UpdateData*> entries = oldestFirst(updates, count);
    const bool changed = applyLayoutItems(entries, built, commandTable);

    const std::vector<std::wstring> files = settingFiles(entries);
    if (!files.empty()) {
        // The same folder may be named in other letter case: copying a file
        // onto itself is pointless, and Windows sees one folder either way.
        if (!platform::equalIgnoringCase(source, current)) {
            // A file the user already has in this release is never replaced.
            for (const std::wstring& name : files)
                copyFileWithinLimit(source + name, current + name, platform::FailIfExists::yes);
        }
        applySettingEdits(entries, current);
    }

    // An unchanged layout is not rewritten; a failed commit writes nothing.
    return changed && layout::saveChangedLayout(built, manager, current + layoutFile, commandTable);
}

} // namespace tern::update
