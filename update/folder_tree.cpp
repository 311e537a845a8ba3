#include "update/folder_tree.h"

#include "platform/file_system.h"
#include "update/path_limit.h"

#include <cwctype>
#include <string>
#include <vector>

namespace tern::update {

namespace {

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

// A folder path reduced for comparing where folders lie: "." and ".." steps
// resolved, a trailing backslash, and upper case because Windows does not
// tell folder names apart by case.
std::wstring comparableFolder(const std::wstring& folder) {
    std::vector<std::wstring> steps;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = folder.find(L'\\', start);
        const std::wstring step = folder.substr(start, end - start);
        if (step == L".." && !steps.empty() && steps.back() != L".." && !steps.back().empty())
            steps.pop_back();
        else if (step != L"." && !(step.empty() && !steps.empty()))
            steps.push_back(step);
        if (end == std::wstring::npos)
            break;
        start = end + 1;
    }
    std::wstring result;
    for (const std::wstring& step : steps)
        result += step + L'\\';
    for (wchar_t& c : result)
        c = static_cast<wchar_t>(std::towupper(static_cast<std::wint_t>(c)));
    return result;
}

// Whether `folder` is `ancestor` or lies below it, by their names: a copy
// into such a folder would meet its own output again and again.
bool isSameOrInside(const std::wstring& folder, const std::wstring& ancestor) {
    const std::wstring outer = comparableFolder(ancestor);
    return comparableFolder(folder).compare(0, outer.size(), outer) == 0;
}

// Whether a folder of this path may be used: not over the limit (Windows
// cannot reach it) and existing or creatable.
bool haveFolder(const std::wstring& path) {
    return withinPathLimit(path) && (platform::exists(path) || platform::makeFolder(path));
}

void deleteFileForcing(const std::wstring& path, bool forceReadOnly) {
    if (platform::deleteFile(path) || !forceReadOnly)
        return;
    std::uint32_t attributes = 0;
    if (platform::getAttributes(path, attributes))
        platform::setAttributes(path, attributes & ~std::uint32_t{platform::attrReadOnly});
    platform::deleteFile(path);
}

} // namespace

bool createFolderTree(const wchar_t* path, std::int32_t depth) {
    if (!path || !*path || depth < 0)
        return false;
    const std::wstring folder = path;
    if (isExistingFolder(folder))
        return true;
    if (depth > 0) {
        // The parent ends at the last backslash before the folder's own
        // trailing one.
        if (folder.size() < 2)
            return false;
        const std::size_t last = folder.rfind(L'\\', folder.size() - (folder.back() == L'\\' ? 2 : 1));
        if (last == std::wstring::npos)
            return false;
        if (!createFolderTree(folder.substr(0, last + 1).c_str(), depth - 1))
            return false;
    }
    return haveFolder(folder);
}

bool copyFolderTree(const wchar_t* destination, const wchar_t* source) {
    if (!destination || !*destination || !source || !*source)
        return false;
    const std::wstring from = withTrailingBackslash(source);
    const std::wstring to = withTrailingBackslash(destination);
    if (!isExistingFolder(source) || isSameOrInside(to, from) || !haveFolder(destination))
        return false;

    bool result = true;
    for (const platform::FolderEntry& entry : listFolder(from)) {
        // A link is left out: copying through it would copy what lies
        // outside the tree.
        if (entry.isLink())
            continue;
        const std::wstring sourcePath = from + entry.name;
        const std::wstring destinationPath = to + entry.name;
        if (entry.isFolder())
            result = copyFolderTree(destinationPath.c_str(), sourcePath.c_str()) && result;
        else if (withinPathLimit(sourcePath) && withinPathLimit(destinationPath))
            platform::copyFile(sourcePath, destinationPath, platform::FailIfExists::yes);
    }
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
            if (withinPathLimit(entryPath))
                platform::removeFolder(entryPath);
        } else if (withinPathLimit(entryPath)) {
            deleteFileForcing(entryPath, forceReadOnly);
            result = true;
        }
    }
    return result;
}

} // namespace tern::update
