#include "update/updater.h"

#include "host/main_frame.h"
#include "platform/file_system.h"
#include "platform/open_folder.h"
#include "platform/text.h"
#include "update/file_events.h"
#include "update/folder_tree.h"
#include "update/path_limit.h"
#include "update/release_folders.h"
#include "update/run_report.h"
#include "update/vendor_root.h"
#include "update/version_file.h"
#include "update/version_text.h"

#include <exception>
#include <vector>

namespace tern::update {

bool hasLumenPatronFolder = false;

namespace {

using core::RunEvent;

// The installation's version file, which holds the running release's version.
std::wstring installedVersionFile(const core::IMainFrame& frame) {
    return std::wstring(frame.getResourceFolder()) + L"ja\\version.xml";
}

// The names of the files of an installation folder matching `wildcard`
// (folders skipped).
std::vector<std::wstring> shippedFiles(const platform::OpenFolder& folder, const std::wstring& wildcard) {
    std::vector<platform::FolderEntry> entries;
    if (!folder.listKinds(wildcard, entries))
        return {};
    std::vector<std::wstring> files;
    for (auto& entry : entries)
        if (!entry.isFolder())
            files.push_back(std::move(entry.name));
    return files;
}

// Copies every shipped initial settings file the user does not have yet.
bool copyInitialSettings(const core::IMainFrame& frame) {
    const platform::OpenFolder source(std::wstring(frame.getInstallFolder()) + L"Config\\InitialSet\\");
    platform::OpenFolder destination(frame.getInitialConfigFolder());
    return copyMissingFiles(destination, source, shippedFiles(source, L"*.*"));
}

// Replaces the user's template `to` with the newer shipped `from`, keeping
// the attributes the template had: the copy is given them before it takes
// the template's place. A read-only template is writable for the moment of
// the replacement only (a read-only file cannot be replaced), and is made
// read-only again when the copy fails. Each step that fails is reported, so
// a template left writable is never left unsaid. Both paths are within the
// limit: the copy that found the template there checked them.
bool replaceOlderTemplate(const std::wstring& from, const std::wstring& to, std::uint32_t attributes) {
    std::error_code why;
    const std::uint32_t writable = attributes & ~std::uint32_t{platform::attrReadOnly};
    const bool readOnly = writable != attributes;
    if (readOnly && !changeAttributes(to, writable, L"read-only cleared", why)) {
        reportCopy(RunEvent::fileNotWritten, to, from, why, L"its read-only attribute could not be cleared: ");
        return false;
    }
    if (platform::copyFileAs(from, to, attributes, &why)) {
        reportCopy(RunEvent::fileReplaced, to, from, L"it was older than the shipped template");
        if (readOnly)
            reportAttributesChanged(to, L"read-only set again");
        return true;
    }
    reportCopy(RunEvent::fileNotWritten, to, from, why);
    if (readOnly && !changeAttributes(to, attributes, L"read-only set again", why))
        reportCopy(RunEvent::fileNotWritten, to, from, why, L"its read-only attribute could not be set again: ");
    return false;
}

// Whether the user's template is older than the shipped one, both asked in
// their folders. A shipped template without a time replaces nothing.
bool isOlderTemplate(const platform::OpenFolder& source, const platform::OpenFolder& destination,
                     const std::wstring& name, std::uint32_t& attributes) {
    platform::FileStatus shipped;
    platform::FileStatus present;
    if (!source.getStatus(name, shipped) || shipped.lastWrite == 0 || !destination.getStatus(name, present))
        return false;
    attributes = present.attributes;
    return present.lastWrite < shipped.lastWrite;
}

// Copies each shipped layer template the user lacks and replaces the user's
// copies that are older than the shipped one.
bool refreshLayerTemplates(const core::IMainFrame& frame) {
    const platform::OpenFolder source(std::wstring(frame.getInstallFolder()) + L"Templates\\Layer\\");
    platform::OpenFolder destination(std::wstring(frame.getTemplateFolder()) + L"Layer\\");
    const auto whenPresent = [&](const std::wstring& name, const std::wstring& from, const std::wstring& to) {
        std::uint32_t attributes = 0;
        if (isOlderTemplate(source, destination, name, attributes))
            return replaceOlderTemplate(from, to, attributes);
        reportCopy(RunEvent::fileSkipped, to, from, L"it exists already and is not older than the shipped template");
        return false;
    };
    return copyNewFiles(destination, source, shippedFiles(source, L"*.xml"), whenPresent);
}

// Makes a folder of the run with up to `depth` missing ancestors; false,
// after reporting the refusal, when it cannot be made.
bool makeRunFolder(const std::wstring& folder, std::int32_t depth) {
    std::error_code why;
    if (createFolderTree(folder.c_str(), depth, &why))
        return true;
    reportFile(RunEvent::refused, folder, why, L"the folder could not be made: ");
    return false;
}

} // namespace

CUpdater::CUpdater() = default;

CUpdater::~CUpdater() { clearEntries(); }

int CUpdater::run(const wchar_t* definitionPath, const core::IMainFrame& frame, bool lumen) try {
    const int result = runSteps(definitionPath, frame, lumen);
    reportFinished(result);
    return result;
} catch (const std::exception& error) {
    // No exception may leave the library into the host, which it would end
    // (std::bad_alloc from a file too large to hold, say): the run fails.
    try {
        reportFinished(0, L"the run was ended by an error: " + platform::fromUtf8(error.what()));
    } catch (const std::exception&) {
        // Nothing is left to tell the host with.
    }
    return 0;
}

int CUpdater::runSteps(const wchar_t* definitionPath, const core::IMainFrame& frame, bool lumen) {
    if (!definitionPath || !*definitionPath) {
        reportFile(RunEvent::refused, {}, L"no update-definition file was given");
        return -1;
    }
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
    if (vendorRoot.empty()) {
        reportFile(RunEvent::refused, appData,
                   L"the application-data folder is not three levels below a folder named \"PLX\" "
                   L"(as in PLX\\OrvoLumen\\OrvoLumen\\2016_x64\\)");
        return -1;
    }

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
    if (!hasCurrentFolder && !makeRunFolder(appData, 4))
        return -1;
    if (!isExistingFolder(userData) && !makeRunFolder(userData, 4))
        return -1;
    for (const std::wstring& folder : releaseSubFolders(appData, userData))
        if (!makeRunFolder(folder, 0))
            return -1;
    // A file of that name passes the creation, which asks only for existence.
    if (!isExistingFolder(appData)) {
        reportFile(RunEvent::refused, appData, L"the application-data folder is not a folder");
        return -1;
    }

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
