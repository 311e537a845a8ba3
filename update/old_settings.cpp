// CUpdater's clean-up for a user who does not inherit: this release's
// settings files and layer templates removed, so that the application starts
// from its defaults and the shipped templates.

#include "update/updater.h"

#include "host/main_frame.h"
#include "update/folder_tree.h"

#include <string>

namespace tern::update {

namespace {

// folder + name, or an empty path (which deleteFolderContents refuses) when
// the host gives no folder: a bare name would reach the working folder.
std::wstring below(const wchar_t* folder, const wchar_t* name) {
    if (!folder || !*folder)
        return {};
    return folder + std::wstring(name);
}

} // namespace

void CUpdater::deleteOldSetting(const core::IMainFrame& frame) const {
    const wchar_t* const appData = frame.getAppDataFolder();
    const wchar_t* const userData = frame.getUserDataFolder();
    for (const std::wstring& folder :
         {below(appData, L"Config\\"), below(appData, L"InitialConfig\\"), below(userData, L"WorkData\\")})
        deleteFolderContents(folder.c_str(), false, false);
}

void CUpdater::forceDeleteLayerTemplates(const core::IMainFrame& frame) const {
    deleteFolderContents(below(frame.getTemplateFolder(), L"Layer\\").c_str(), true, true);
}

} // namespace tern::update
