// The library's setting edits, run as the update runs them: the definition
// is read by the library's loader, and each entry's "Setting" sections edit
// their files below the folder.

#include "bench/programs.h"

#include "platform/file_system.h"
#include "update/definition_file.h"
#include "update/update_data.h"

#include <memory>

namespace tern::bench {

namespace {

int editSettings(const std::string& definition, const std::string& folder) {
    std::vector<update::UpdateData*> entries;
    const bool loaded = update::loadDefinitionFile(entries, platform::toSystemPath(definition).c_str(), L"Update_Data",
                                                   update::BareLayouts::skip);
    const std::wstring target = platform::toSystemPath(folder) + L"\\";
    for (update::UpdateData* entry : entries) {
        for (update::SettingData* setting : entry->settings)
            setting->apply(target.c_str());
        delete entry;
    }
    return loaded ? 0 : 1;
}

} // namespace

int runLibraryWork(const std::vector<std::string>& arguments) {
    if (arguments.size() == 3 && arguments[0] == "settings")
        return editSettings(arguments[1], arguments[2]);
    return 2;
}

} // namespace tern::bench
