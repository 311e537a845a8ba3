#include "update/updater.h"

#include "host/main_frame.h"
#include "platform/file_system.h"
#include "update/folder_tree.h"
#include "update/path_limit.h"
#include "update/release_folders.h"
#include "update/vendor_root.h"
#include "update/version_file.h"
#include "update/version_text.h"

#include <exception>
#include <vector>

namespace tern::update {

bool hasLumenPatronFolder = false;

namespace {

// The installation's version file, which holds the running release's version.
std::wstring installedVersionFile(const core::IMainFrame& frame) {
    return std::wstring(frame.getResourceFolder()) + L"ja\\version.xml";
}

// The files of an installation folder matching pattern (folders skipped).
std::vector<platform::FolderEntry> shippedFiles(const std::wstring& pattern) {
    std::vector<platform::FolderEntry> entries;
    if (!platform::findFiles(pattern, entries))
        return {};
    std::vector<platform::FolderEntry> files;
    for (auto& entry : entries)
        if (!entry.isFolder())
            files.push_back(std::move(entry));
    return files;
}

// Copies every shipped initial settings file the user does not have yet.
bool copyInitialSettings(const core::IMainFrame& frame) {
    const std::wstring source = std::wstring(frame.getInstallFolder()) + L"Config\\InitialSet\\";
    const std::wstring destination = frame.getInitialConfigFolder();
    bool copied = false;
    for (const auto& file : shippedFiles(source + L"*.*"))
        copied |= copyFileWithinLimit(source + file.name, destination + file.name, platform::FailIfExists::yes);
    return copied;
}

// Copies each shipped layer template the user lacks and replaces the user's
// copies that are older than the shipped one. A replaced template keeps the
// attributes it had, so a read-only template stays read-only.
bool refreshLayerTemplates(const core::IMainFrame& frame) {
    const std::wstring source = std::wstring(frame.getInstallFolder()) + L"Templates\\Layer\\";
    const std::wstring destination = std::wstring(frame.getTemplateFolder()) + L"Layer\\";
    bool copied = false;
    for (const auto& file : shippedFiles(source + L"*.xml")) {
        const std::wstring from = source + file.name;
        const std::wstring to = destination + file.name;
        if (copyFileWithinLimit(from, to, platform::FailIfExists::yes)) {
            copied = true;
            continue;
        }
        platform::FileStatus status;
        if (!platform::getFileStatus(to, status) || file.lastWrite == 0 || status.lastWrite >= file.lastWrite)
            continue;
        const std::uint32_t remembered = status.attributes;
        // A zero time leaves the file's times as they are.
        platform::setFileStatus(to, {0, remembered & ~std::uint32_t{platform::attrReadOnly}});
        copied |= copyFileWithinLimit(from, to, platform::FailIfExists::no);
        platform::setFileStatus(to, {0, remembered});
    }
    return copied;
}

} // namespace

CUpdater::CUpdater() = default;

CUpdater::~CUpdater() { clearEntries(); }

int CUpdater::run(const wchar_t* definitionPath, const core::IMainFrame& frame, bool lumen) try {
    if (!definitionPath || !*definitionPath)
        return -1;
    const std::wstring definition = definitionPath;
    lumenLine = lumen;
    patronEdition = definition.find(getPatronKey()) != std::wstring::npos;
    civicEdition = definition.find(L"Civic") != std::wstring::npos;

    if (!readVersionFile(versionText, installedVersionFile(frame).c_str()))
        versionText = L"2012";
    if (!versionText.empty()) {
        parseMajor(major, versionText);
        parseMinor(minor, versionText);
    }

    const std::wstring appData = frame.getAppDataFolder();
    const std::wstring userData = frame.getUserDataFolder();
    vendorRoot = findVendorRoot(appData);
    if (vendorRoot.empty())
        return -1;

    hasLumenFolder = isExistingFolder(vendorRoot + L"OrvoLumen\\OrvoLumen\\");
    hasVistaFolder = isExistingFolder(vendorRoot + L"OrvoLumen\\OrvoVista\\");
    hasOrvoFolder = isExistingFolder(vendorRoot + L"OrvoLumen\\Orvo\\");
    hasOrvo2012Folder = isExistingFolder(vendorRoot + L"Orvo\\Orvo\\2012\\");
    hasPatronFolder = isExistingFolder(vendorRoot + L"OrvoLumen\\OrvoPatron\\");
    hasCivicFolder = isExistingFolder(vendorRoot + L"OrvoLumen\\OrvoCivic\\");
    hasLumenPatronFolder = isExistingFolder(vendorRoot + L"OrvoLumen\\OrvoLumenPatron\\");
    if (isExistingFolder(vendorRoot + L"OrvoLumen\\OrvoLumenAtlas\\"))
        hasLumenFolder = true;

    hasCurrentFolder = isExistingFolder(appData);
    if (!hasCurrentFolder && !createFolderTree(appData.c_str(), 4))
        return -1;
    if (!isExistingFolder(userData) && !createFolderTree(userData.c_str(), 4))
        return -1;
    for (const std::wstring& folder : releaseSubFolders(appData, userData)) {
        if (!withinPathLimit(folder) || (!platform::exists(folder) && !platform::makeFolder(folder)))
            return -1;
    }
    if (!isExistingFolder(appData))
        return -1;

    int result = 0;
    if (isExistingFile(definition)) {
        clearEntries();
        if (loadXml(definitionPath) && excute(frame))
            result = 1;
    }
    if (copyInitialSettings(frame))
        result = 1;
    if (refreshLayerTemplates(frame))
        result = 1;
    return result;
} catch (const std::exception&) {
    // No exception may leave the library into the host, which it would end
    // (std::bad_alloc from a file too large to hold, say): the run fails.
    return 0;
}

bool CUpdater::readVersion(const core::IMainFrame& frame) {
    return readVersionFile(versionText, installedVersionFile(frame).c_str());
}

bool CUpdater::setup(const wchar_t* definitionPath) {
    clearEntries();
    if (!definitionPath || !*definitionPath)
        return false;
    return loadXml(definitionPath);
}

const wchar_t* CUpdater::getPatronKey() const { return L"Patron"; }

} // namespace tern::update
