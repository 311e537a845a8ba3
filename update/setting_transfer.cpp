// CUpdater's transfer of a previous release's settings, work data and
// templates into the running release's folders.

#include "update/updater.h"

#include "host/main_frame.h"
#include "platform/file_system.h"
#include "platform/open_folder.h"
#include "update/file_events.h"
#include "update/folder_tree.h"
#include "update/setting_conversion.h"

#include <string>
#include <vector>

namespace tern::update {

namespace {

// Copies the files of the previous "Config\" folder that this release's
// lacks; the files it has stay as they are. The layout file "Display.xml"
// is left out: the layout update carries it forward, bringing it up to date
// on the way.
void copyConfigFiles(const std::wstring& previousFolder, const std::wstring& appData) {
    const platform::OpenFolder source(previousFolder + L"Config\\");
    platform::OpenFolder destination(appData + L"Config\\");
    std::vector<platform::FolderEntry> entries;
    source.listKinds(L"*.*", entries);
    MissingFileCopies files(destination, source);
    for (platform::FolderEntry& entry : entries) {
        if (entry.isFolder())
            continue;
        if (entry.name == L"Display.xml") {
            files.copy();
            reportCopy(core::RunEvent::fileSkipped, destination.path() + entry.name, source.path() + entry.name,
                       L"the layout update carries the layout file forward");
        } else {
            files.add(std::move(entry.name));
        }
    }
    files.copy();
}

} // namespace

bool CUpdater::transferSetting(const wchar_t* previousFolder, const wchar_t* previousUserFolder,
                               const core::IMainFrame& frame, bool copyTemplates) {
    if (!previousFolder || !*previousFolder)
        return false;
    const std::wstring previous = previousFolder;
    const std::wstring previousUser = previousUserFolder ? previousUserFolder : L"";
    const std::wstring appData = frame.getAppDataFolder();
    const std::wstring userData = frame.getUserDataFolder();
    if (appData == previous || userData == previousUser)
        return false;
    const std::wstring userSource = previousUser.empty() ? previous : previousUser;

    std::int32_t previousMajor = 0;
    std::int32_t previousMinor = 0;
    inspectVersion(previousMajor, previousMinor, previousFolder);

    copyConfigFiles(previous, appData);
    copyFolderTree((userData + L"WorkData\\").c_str(), (userSource + L"WorkData\\").c_str());
    if (copyTemplates)
        copyFolderTree((userData + L"Templates\\").c_str(), (userSource + L"Templates\\").c_str());

    // Settings took today's form after 2012.9. The two numbers are tested
    // apart, so a minor above 9 is never converted whatever its major.
    if (previousMajor > 2012 || previousMinor > 9)
        return true;
    convertOldSettings(frame);
    return true;
}

bool CUpdater::transferSetting(const wchar_t* previousFolder, const wchar_t* previousUserFolder,
                               const core::IMainFrame& frame) {
    return transferSetting(previousFolder, previousUserFolder, frame, true);
}

} // namespace tern::update
