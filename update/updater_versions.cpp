// CUpdater's searches of the folder tree and of the definition's entries.

#include "update/updater.h"

#include "platform/file_system.h"
#include "platform/text.h"
#include "update/path_limit.h"
#include "update/update_data.h"
#include "update/version_file.h"
#include "update/version_text.h"

namespace tern::update {

std::int32_t CUpdater::searchPrevAppData(std::int32_t currentMajor, const wchar_t* editionFolder) const {
    if (!editionFolder || !*editionFolder || currentMajor < 2012)
        return 0;
    for (std::int32_t candidate = currentMajor - 1; candidate >= 2010; --candidate) {
        if (isExistingFolder(editionFolder + std::to_wstring(candidate) + L"_x64\\"))
            return candidate;
    }
    return 0;
}

bool CUpdater::inspectVersion(std::int32_t& folderMajor, std::int32_t& folderMinor,
                              const wchar_t* releaseFolder) const {
    folderMajor = 0;
    folderMinor = 0;
    if (!releaseFolder || !*releaseFolder)
        return false;
    const std::wstring folder = releaseFolder;
    const std::wstring versionFile = folder + L"version.xml";
    if (isExistingFile(versionFile)) {
        std::wstring text;
        if (!readVersionFile(text, versionFile.c_str()))
            return false;
        parseMajor(folderMajor, text);
        parseMinor(folderMinor, text);
        return true;
    }
    // Without a version file the folder's own name ("2014_x64\") gives the major.
    std::wstring::size_type start = 0;
    const auto last = folder.rfind(L'\\');
    if (last != std::wstring::npos && last > 0) {
        const auto second = folder.rfind(L'\\', last - 1);
        if (second != std::wstring::npos)
            start = second + 1;
    }
    folderMajor = readNumber(folder.substr(start, 4));
    return true;
}

std::int32_t CUpdater::findPrevVer(std::int32_t previousMajor, std::int32_t previousMinor) const {
    if (previousMajor < 2011 || previousMinor < 0 || updates.size() < 2)
        return -1;
    // Entries run from the newest; entry 0 is never compared.
    for (std::size_t i = 1; i < updates.size(); ++i) {
        const UpdateData* entry = updates[i];
        if (!entry)
            continue;
        if (isNewerVersion(previousMajor, previousMinor, entry->major, entry->minor))
            return i - 1 == 0 ? -1 : static_cast<std::int32_t>(i - 1);
        if (entry->major == previousMajor && entry->minor == previousMinor)
            return static_cast<std::int32_t>(i);
    }
    return -1;
}

bool CUpdater::checkOnlyTemplateFolderExists(const wchar_t* folder) const {
    std::vector<platform::FolderEntry> entries;
    if (!folder || !platform::findFiles(std::wstring(folder) + L"*", entries))
        return false;
    bool foundTemplates = false;
    bool otherContent = false;
    for (const auto& entry : entries) {
        if (platform::equalIgnoringCase(entry.name, L"Templates") && entry.isFolder())
            foundTemplates = true;
        else
            otherContent = true;
    }
    return foundTemplates && !otherContent;
}

} // namespace tern::update
