#include "update/folder_tree.h"

#include "platform/file_system.h"
#include "platform/open_folder.h"
#include "update/file_events.h"
#include "update/path_limit.h"
#include "update/run_report.h"

#include <string>
#include <vector>

namespace tern::update {

namespace {

using core::RunEvent;

std::wstring withTrailingBackslash(std::wstring folder) {
    if (folder.empty() || folder.back() != L'\\')
        folder += L'\\';
    return folder;
}

// The entries of a folder (a system path ending in a backslash); empty when
// it cannot be listed, which the callers treat as a folder with nothing in it.
std::vector<platform::FolderEntry> listFolder(const std::wstring& folder) {
    std::vector<platform::FolderEntry> entries;
    platform::findFiles(folder + L"*.*", entries);
    return entries;
}

// The text up to and including the last backslash before the path's own
// trailing one: the folder that holds it. Empty when there is none (a root,
// a bare name, a path of one character).
std::wstring parentOf(const std::wstring& path) {
    if (path.size() < 2)
        return {};
    const std::size_t last = path.rfind(L'\\', path.size() - (path.back() == L'\\' ? 2 : 1));
    return last == std::wstring::npos ? std::wstring() : path.substr(0, last + 1);
}

// Whether `folder`, or the folder that would hold it when it does not exist
// yet, is `ancestor` or lies below it, as the file system places folders:
// the path is resolved (links followed, ".." steps taken) and each folder on
// it compared with `ancestor` by identity, so that letter case tells folders
// apart exactly where the file system does. A copy into such a folder would
// meet its own output again and again.
bool isSameOrInside(const std::wstring& folder, const std::wstring& ancestor) {
    platform::FileIdentity outer;
    if (!platform::getFileIdentity(ancestor, outer))
        return false;
    std::wstring existing = folder;
    if (!platform::exists(existing)) {
        existing = parentOf(folder);
        if (existing.empty())
            existing = L".";
    }
    std::wstring resolved;
    if (!platform::resolvePath(existing, resolved))
        return false; // its copy cannot be made anyway
    for (std::wstring at = resolved; !at.empty(); at = parentOf(at)) {
        platform::FileIdentity identity;
        if (platform::getFileIdentity(at, identity) && identity == outer)
            return true;
    }
    return false;
}

// Whether a folder of this path may be used: not over the limit (Windows
// cannot reach it) and existing or creatable. A folder it makes, or fails to
// make, is reported.
bool haveFolder(const std::wstring& path, std::error_code& why) {
    why.clear();
    if (!withinPathLimit(path))
        why = pathTooLong();
    else if (platform::exists(path))
        return true;
    else if (platform::makeFolder(path, &why))
        reportFile(RunEvent::folderMade, path);
    if (why)
        reportFile(RunEvent::folderNotMade, path, why);
    return !why;
}

// Deletes one file, and with forceReadOnly a read-only one too, its
// read-only bit cleared first. Reports what became of it.
void deleteFileForcing(const std::wstring& path, bool forceReadOnly) {
    std::error_code why;
    std::uint32_t attributes = 0;
    if (!platform::deleteFile(path, &why) && forceReadOnly && platform::getAttributes(path, attributes) &&
        (attributes & platform::attrReadOnly) &&
        changeAttributes(path, attributes & ~std::uint32_t{platform::attrReadOnly}, L"read-only cleared", why))
        platform::deleteFile(path, &why);
    if (why)
        reportFile(RunEvent::fileLeft, path, why);
    else
        reportFile(RunEvent::fileDeleted, path);
}

// Removes an emptied sub-folder (or a link to a folder, as itself), named
// with its trailing backslash as the library names folders. One that kept
// a file is left.
void removeEmptiedFolder(const std::wstring& path) {
    std::error_code why;
    if (!withinPathLimit(path))
        why = pathTooLong();
    else
        platform::removeFolder(path, &why);
    report([&] {
        core::RunEventDetails details{};
        details.event = why ? RunEvent::fileLeft : RunEvent::fileDeleted;
        details.path = withTrailingBackslash(path);
        if (why)
            details.reason = reasonOf(why);
        return details;
    });
}

} // namespace

bool createFolderTree(const wchar_t* path, std::int32_t depth, std::error_code* why) {
    std::error_code unasked;
    std::error_code& reason = why ? *why : unasked;
    if (!path || !*path || depth < 0) {
        reason = std::make_error_code(std::errc::invalid_argument);
        return false;
    }
    const std::wstring folder = path;
    if (isExistingFolder(folder)) {
        reason.clear();
        return true;
    }
    if (depth > 0) {
        const std::wstring parent = parentOf(folder);
        if (parent.empty()) {
            reason = std::make_error_code(std::errc::no_such_file_or_directory);
            return false;
        }
        if (!createFolderTree(parent.c_str(), depth - 1, &reason))
            return false;
    }
    return haveFolder(folder, reason);
}

bool copyFolderTree(const wchar_t* destination, const wchar_t* source) {
    if (!destination || !*destination || !source || !*source)
        return false;
    const std::wstring from = withTrailingBackslash(source);
    const std::wstring to = withTrailingBackslash(destination);
    std::error_code why;
    if (!isExistingFolder(source) || isSameOrInside(to, from) || !haveFolder(destination, why))
        return false;

    const platform::OpenFolder sourceFolder(from);
    platform::OpenFolder destinationFolder(to);
    std::vector<platform::FolderEntry> entries;
    sourceFolder.listKinds(L"*.*", entries);
    // The files before the first folder find a new destination empty,
    // where copies cost the least (platform/open_folder.h).
    MissingFileCopies files(destinationFolder, sourceFolder);
    bool result = true;
    for (platform::FolderEntry& entry : entries) {
        if (!entry.isLink() && !entry.isFolder()) {
            files.add(std::move(entry.name));
            continue;
        }
        files.copy();
        // A link is left out: copying through it would copy what lies
        // outside the tree.
        if (entry.isLink())
            reportCopy(RunEvent::fileSkipped, to + entry.name, from + entry.name,
                       L"the source is a link, never followed");
        else
            result = copyFolderTree((to + entry.name).c_str(), (from + entry.name).c_str()) && result;
    }
    files.copy();
    return result;
}

bool deleteFolderContents(const wchar_t* path, bool recursive, bool forceReadOnly) {
    if (!path || !*path || !isExistingFolder(path))
        return false;
    const std::wstring folder = withTrailingBackslash(path);

    bool result = false;
    for (const platform::FolderEntry& entry : listFolder(folder)) {
        const std::wstring entryPath = folder + entry.name;
        if (entry.isFolder()) {
            if (!recursive)
                continue;
            // A link to a folder goes as an entry; its target keeps its content.
            if (!entry.isLink())
                result = deleteFolderContents(entryPath.c_str(), true, false) || result;
            removeEmptiedFolder(entryPath);
        } else if (withinPathLimit(entryPath)) {
            deleteFileForcing(entryPath, forceReadOnly);
            result = true;
        } else {
            reportFile(RunEvent::fileLeft, entryPath, pathTooLong());
        }
    }
    return result;
}

} // namespace tern::update
