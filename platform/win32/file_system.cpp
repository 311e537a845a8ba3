// The Win32 backend of the file-system operations.
//
// The Windows semantics the library relies on are the system's own here:
// CopyFileW keeps attributes and last-write time, DeleteFileW refuses a
// read-only file, FindFirstFileW matches wildcards without regard to case.
// What is added is the one-step replace, a stable listing order, the limits
// of a read, and the checks where Wine is more lenient than Windows.

#include "platform/file_system.h"

#include "platform/error_report.h"
#include "platform/temporary_files.h"
#include "platform/text.h"
#include "platform/win32/long_path.h"
#include "platform/win32/win32_error.h"

#include <windows.h>

#include <shlwapi.h>

#include <algorithm>
#include <memory>

namespace tern::platform {

using win32::failsNow;
using win32::lastError;
using win32::win32Path;

namespace {

// The result of a Win32 call that reports failure through GetLastError.
bool result(BOOL succeeded, std::error_code* why) { return succeeded ? succeed(why) : fail(why, lastError()); }

struct HandleCloser {
    void operator()(HANDLE handle) const { ::CloseHandle(handle); }
};
using Handle = std::unique_ptr<void, HandleCloser>;

Handle openHandle(const std::wstring& path, DWORD access, DWORD disposition, DWORD flags) {
    HANDLE handle = ::CreateFileW(win32Path(path).c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, disposition, flags, nullptr);
    return Handle(handle == INVALID_HANDLE_VALUE ? nullptr : handle);
}

// Opens a file or folder, following links, to ask the file system about it
// (backup semantics open a folder as well).
Handle openToQuery(const std::wstring& path) {
    return openHandle(path, FILE_READ_ATTRIBUTES, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS);
}

FileTime toFileTime(const FILETIME& time) {
    return static_cast<FileTime>((static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime);
}

FILETIME toFiletime(FileTime time) {
    const auto bits = static_cast<std::uint64_t>(time);
    return {static_cast<DWORD>(bits & 0xFFFFFFFFu), static_cast<DWORD>(bits >> 32)};
}

// Why a file may not be put at `path` by a replacement: a folder is in the
// way, or a read-only file. A missing or writable file gives no reason;
// `existing` receives the present file's attributes, or stays untouched.
std::error_code whyNotReplaceable(const std::wstring& path, DWORD* existing = nullptr) {
    const DWORD attributes = ::GetFileAttributesW(win32Path(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = ::GetLastError();
        return error == ERROR_FILE_NOT_FOUND ? std::error_code() : win32::toErrorCode(error);
    }
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        return std::make_error_code(std::errc::is_a_directory);
    if (attributes & FILE_ATTRIBUTE_READONLY)
        return std::make_error_code(std::errc::permission_denied);
    if (existing)
        *existing = attributes;
    return {};
}

// The file a replacing write or copy to `path` acts on: the file a link
// (a symbolic link or another reparse point) leads to, as the file
// functions follow it; `path` itself when it is no link. A link that leads
// nowhere gives a reason.
std::error_code writeTarget(const std::wstring& path, std::wstring& target) {
    target = path;
    const DWORD attributes = ::GetFileAttributesW(win32Path(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_REPARSE_POINT))
        return {};
    std::error_code why;
    resolvePath(path, target, &why);
    return why;
}

std::error_code writeAll(HANDLE file, std::string_view bytes) {
    std::size_t written = 0;
    while (written < bytes.size()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - written, 1u << 30));
        DWORD done = 0;
        if (failsNow(FileCall::write) || !::WriteFile(file, bytes.data() + written, chunk, &done, nullptr))
            return lastError();
        written += done;
    }
    return {};
}

// The folder part of a path, with its final backslash; empty for a bare name.
std::wstring folderOf(const std::wstring& path) {
    const std::size_t cut = path.rfind(L'\\');
    return cut == std::wstring::npos ? std::wstring() : path.substr(0, cut + 1);
}

// Creates a new file beside `target`, under a name no other file has
// (platform/temporary_files.h), with the given attributes; `created`
// receives its name.
Handle createBeside(const std::wstring& target, DWORD attributes, std::wstring& created) {
    const std::wstring folder = folderOf(target);
    const std::wstring name = target.substr(folder.size());
    for (;;) {
        created = folder + temporaryNameBeside(name);
        Handle file = failsNow(FileCall::open) ? Handle() : openHandle(created, GENERIC_WRITE, CREATE_NEW, attributes);
        if (file || ::GetLastError() != ERROR_FILE_EXISTS)
            return file;
    }
}

// Why a file cannot be copied: only a file on disk has content to copy,
// not a device or a pipe (NUL, CON, \\.\pipe\...).
std::error_code whyNotCopyable(const std::wstring& path) {
    Handle file = openToQuery(path);
    if (!file)
        return lastError();
    return ::GetFileType(file.get()) == FILE_TYPE_DISK ? std::error_code() : make_error_code(FileError::notRegularFile);
}

// Copies a file to a path where none exists yet, attributes and last-write
// time included.
std::error_code copyToNewFile(const std::wstring& from, const std::wstring& to) {
    const std::wstring source = win32Path(from), destination = win32Path(to);
    if (failsNow(FileCall::copy) || !::CopyFileW(source.c_str(), destination.c_str(), TRUE))
        return lastError();
    // Windows gives a copy the source's attributes; Wine does not always,
    // so a read-only source is made to stay read-only.
    const DWORD sourceAttributes = ::GetFileAttributesW(source.c_str());
    const DWORD copyAttributes = ::GetFileAttributesW(destination.c_str());
    if (sourceAttributes != INVALID_FILE_ATTRIBUTES && copyAttributes != INVALID_FILE_ATTRIBUTES &&
        (sourceAttributes & FILE_ATTRIBUTE_READONLY) && !(copyAttributes & FILE_ATTRIBUTE_READONLY))
        ::SetFileAttributesW(destination.c_str(), copyAttributes | FILE_ATTRIBUTE_READONLY);
    return {};
}

// Sets the attributes a file can carry (not the folder and link bits).
bool applyAttributes(const std::wstring& native, std::uint32_t attributes) {
    const DWORD settable = attributes & ~static_cast<DWORD>(attrFolder | attrLink);
    return !failsNow(FileCall::changeAttributes) &&
           ::SetFileAttributesW(native.c_str(), settable != 0 ? settable : FILE_ATTRIBUTE_NORMAL) != FALSE;
}

// Removes a copy that is not to take its place; it may carry the source's
// read-only attribute.
void discard(const std::wstring& temporary) {
    ::SetFileAttributesW(win32Path(temporary).c_str(), FILE_ATTRIBUTE_NORMAL);
    ::DeleteFileW(win32Path(temporary).c_str());
}

bool moveOver(const std::wstring& from, const std::wstring& to) {
    return !failsNow(FileCall::rename) && ::MoveFileExW(win32Path(from).c_str(), win32Path(to).c_str(),
                                                        MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
}

// Moves a finished copy into its place: over the file there, or only while
// no file is there (a new file is not flushed: a run that finds none copies
// it again).
bool moveInto(const std::wstring& from, const std::wstring& to, FailIfExists policy) {
    if (policy == FailIfExists::no)
        return moveOver(from, to);
    return !failsNow(FileCall::rename) && ::MoveFileExW(win32Path(from).c_str(), win32Path(to).c_str(), 0) != FALSE;
}

} // namespace

bool makeFolder(const std::wstring& path, std::error_code* why) {
    return result(!failsNow(FileCall::makeFolder) && ::CreateDirectoryW(win32Path(path).c_str(), nullptr), why);
}

bool removeFolder(const std::wstring& path, std::error_code* why) {
    return result(!failsNow(FileCall::removeFolder) && ::RemoveDirectoryW(win32Path(path).c_str()), why);
}

namespace {

// copyFile, the copy given `attributes` in place of the source's when set.
bool copyWith(const std::wstring& from, const std::wstring& to, FailIfExists policy,
              std::optional<std::uint32_t> attributes, std::error_code* why) {
    // A destination that is there already ends the copy at one status call,
    // before the source is opened; the move below still guards the moment after.
    if (policy == FailIfExists::yes && ::GetFileAttributesW(win32Path(to).c_str()) != INVALID_FILE_ATTRIBUTES)
        return fail(why, std::errc::file_exists);
    if (const std::error_code refused = whyNotCopyable(from))
        return fail(why, refused);

    std::wstring target = to;
    if (policy == FailIfExists::no) {
        // Windows' CopyFileW refuses a read-only destination; Wine's replaces it.
        // A link's target is what is replaced, so its attribute counts.
        if (const std::error_code refused = writeTarget(to, target))
            return fail(why, refused);
        if (const std::error_code refused = whyNotReplaceable(target))
            return fail(why, refused);
        // A file copied onto itself must survive.
        FileIdentity source, destination;
        if (getFileIdentity(from, source) && getFileIdentity(target, destination) && source == destination)
            return fail(why, std::errc::file_exists);
    }
    // CopyFileW writes its destination in place: a failure half-way would
    // tear the file it replaces, and a process killed half-way would leave a
    // torn new file that later runs, finding it there, would keep. The copy
    // is made beside and takes its place in one step: over the old file, or
    // only while the place is still free.
    const std::wstring folder = folderOf(target);
    if (policy == FailIfExists::no)
        removeStaleTemporaryFiles(folder);
    else
        removeStaleTemporaryFilesOnce(folder); // a run may create thousands of files in one folder
    std::wstring temporary;
    std::error_code failed;
    do {
        temporary = folder + temporaryNameBeside(target.substr(folder.size()));
        failed = copyToNewFile(from, temporary);
    } while (failed == std::errc::file_exists);
    if (!failed && attributes && !applyAttributes(win32Path(temporary), *attributes)) {
        failed = lastError();
        discard(temporary);
    }
    if (!failed && !moveInto(temporary, target, policy)) {
        failed = lastError();
        discard(temporary);
    }
    return finish(why, failed);
}

} // namespace

bool copyFile(const std::wstring& from, const std::wstring& to, FailIfExists policy, std::error_code* why) {
    return copyWith(from, to, policy, std::nullopt, why);
}

bool copyFileAs(const std::wstring& from, const std::wstring& to, std::uint32_t attributes, std::error_code* why) {
    return copyWith(from, to, FailIfExists::no, attributes, why);
}

bool deleteFile(const std::wstring& path, std::error_code* why) {
    return result(!failsNow(FileCall::remove) && ::DeleteFileW(win32Path(path).c_str()), why);
}

bool getAttributes(const std::wstring& path, std::uint32_t& attributes, std::error_code* why) {
    const DWORD found = ::GetFileAttributesW(win32Path(path).c_str());
    if (found == INVALID_FILE_ATTRIBUTES)
        return fail(why, lastError());
    attributes = found;
    return succeed(why);
}

bool setAttributes(const std::wstring& path, std::uint32_t attributes, std::error_code* why) {
    const std::wstring native = win32Path(path);
    const DWORD present = ::GetFileAttributesW(native.c_str());
    if (present == INVALID_FILE_ATTRIBUTES)
        return fail(why, lastError());
    // SetFileAttributesW would reach through a link to its target, which lies
    // outside whatever tree the caller walks: a link is left as it is.
    if (present & FILE_ATTRIBUTE_REPARSE_POINT)
        return succeed(why);
    return result(applyAttributes(native, attributes), why);
}

bool isFolder(const std::wstring& path) { return ::PathIsDirectoryW(win32Path(path).c_str()) != FALSE; }

bool exists(const std::wstring& path) { return ::PathFileExistsW(win32Path(path).c_str()) != FALSE; }

bool findFiles(const std::wstring& pattern, std::vector<FolderEntry>& entries, std::error_code* why) {
    entries.clear();
    const std::wstring wildcard = pattern.substr(pattern.rfind(L'\\') + 1);
    if (wildcard.empty())
        return fail(why, std::errc::invalid_argument);
    WIN32_FIND_DATAW found;
    HANDLE search = ::FindFirstFileW(win32Path(pattern).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        // An existing folder without a match; a missing folder is
        // ERROR_PATH_NOT_FOUND.
        const DWORD error = ::GetLastError();
        return error == ERROR_FILE_NOT_FOUND ? succeed(why) : fail(why, win32::toErrorCode(error));
    }
    DWORD error = ERROR_SUCCESS;
    while (error == ERROR_SUCCESS) {
        const std::wstring name = found.cFileName;
        // FindFirstFileW also matches the 8.3 short name ("*.xml" finds
        // "a.xmlx" through "A~1.XML"); only the name itself may match.
        if (name != L"." && name != L".." && ::PathMatchSpecW(name.c_str(), wildcard.c_str()))
            entries.push_back({name, found.dwFileAttributes, toFileTime(found.ftLastWriteTime)});
        if (!::FindNextFileW(search, &found))
            error = ::GetLastError();
    }
    ::FindClose(search);
    if (error != ERROR_NO_MORE_FILES) {
        entries.clear();
        return fail(why, win32::toErrorCode(error));
    }
    // In the order NTFS lists a folder (by upper-cased name), which repeats
    // on any file system and is the POSIX backend's order too.
    std::sort(entries.begin(), entries.end(),
              [](const FolderEntry& a, const FolderEntry& b) { return lessIgnoringCase(a.name, b.name); });
    return succeed(why);
}

bool getFileIdentity(const std::wstring& path, FileIdentity& identity, std::error_code* why) {
    Handle file = openToQuery(path);
    BY_HANDLE_FILE_INFORMATION information;
    if (!file || !::GetFileInformationByHandle(file.get(), &information))
        return fail(why, lastError());
    identity.volume = information.dwVolumeSerialNumber;
    identity.index = (static_cast<std::uint64_t>(information.nFileIndexHigh) << 32) | information.nFileIndexLow;
    return succeed(why);
}

bool resolvePath(const std::wstring& path, std::wstring& resolved, std::error_code* why) {
    Handle file = openToQuery(path);
    if (!file)
        return fail(why, lastError());
    std::wstring name(MAX_PATH, L'\0');
    for (;;) {
        // The length without the terminator, or the room needed with it.
        const DWORD length = ::GetFinalPathNameByHandleW(file.get(), name.data(), static_cast<DWORD>(name.size()),
                                                         FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        if (length == 0)
            return fail(why, lastError());
        const bool fits = length < name.size();
        name.resize(length);
        if (fits)
            break;
    }
    // The name comes as \\?\C:\... or \\?\UNC\server\share\...; system
    // paths are C:\... and \\server\share\...
    const std::wstring unc = L"\\\\?\\UNC\\", local = L"\\\\?\\";
    if (name.rfind(unc, 0) == 0)
        name = L"\\\\" + name.substr(unc.size());
    else if (name.rfind(local, 0) == 0)
        name = name.substr(local.size());
    resolved = std::move(name);
    return succeed(why);
}

bool getFileStatus(const std::wstring& path, FileStatus& status, std::error_code* why) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!::GetFileAttributesExW(win32Path(path).c_str(), GetFileExInfoStandard, &data))
        return fail(why, lastError());
    status.lastWrite = toFileTime(data.ftLastWriteTime);
    status.attributes = data.dwFileAttributes;
    return succeed(why);
}

bool setFileStatus(const std::wstring& path, const FileStatus& status, std::error_code* why) {
    if (status.lastWrite != 0) {
        // Writing attributes, not content, is allowed on a read-only file.
        Handle file = openHandle(path, FILE_WRITE_ATTRIBUTES, OPEN_EXISTING,
                                 FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT);
        const FILETIME lastWrite = toFiletime(status.lastWrite);
        if (!file || failsNow(FileCall::changeAttributes) || !::SetFileTime(file.get(), nullptr, nullptr, &lastWrite))
            return fail(why, lastError());
    }
    return setAttributes(path, status.attributes, why);
}

bool readFile(const std::wstring& path, std::string& bytes, std::error_code* why) {
    Handle file =
        failsNow(FileCall::open) ? Handle() : openHandle(path, GENERIC_READ, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN);
    if (!file) {
        // Windows denies access to a folder's content; say what it is, as POSIX does.
        const std::error_code failed = lastError();
        return fail(why, isFolder(path) ? std::make_error_code(std::errc::is_a_directory) : failed);
    }
    // Only a file on disk has content to read; a pipe or a device (NUL, CON)
    // is refused before a read could wait on it.
    if (::GetFileType(file.get()) != FILE_TYPE_DISK)
        return fail(why, FileError::notRegularFile);
    LARGE_INTEGER size;
    if (!::GetFileSizeEx(file.get(), &size))
        return fail(why, lastError());
    if (static_cast<std::uint64_t>(size.QuadPart) > maxReadSize)
        return fail(why, FileError::tooLarge);
    std::string content;
    content.reserve(static_cast<std::size_t>(size.QuadPart));
    char buffer[65536];
    for (DWORD done = 0;; content.append(buffer, done)) {
        if (failsNow(FileCall::read) || !::ReadFile(file.get(), buffer, sizeof buffer, &done, nullptr))
            return fail(why, lastError());
        if (done == 0)
            break;
        // The limit holds also for a file that grows while it is read.
        if (done > maxReadSize - content.size())
            return fail(why, FileError::tooLarge);
    }
    bytes = std::move(content);
    return succeed(why);
}

bool writeFileReplacing(const std::wstring& path, const std::string& bytes, std::error_code* why) {
    return writeFileReplacingWith(path, [&](FileWriter& writer) { return writer.write(bytes); }, why);
}

bool writeFileReplacingWith(const std::wstring& path, const std::function<bool(FileWriter&)>& produce,
                            std::error_code* why) {
    std::wstring target;
    DWORD existing = FILE_ATTRIBUTE_NORMAL;
    if (const std::error_code refused = writeTarget(path, target))
        return fail(why, refused);
    if (const std::error_code refused = whyNotReplaceable(target, &existing))
        return fail(why, refused);
    removeStaleTemporaryFiles(folderOf(target));
    // The new file takes the attributes (hidden, archive...) of the one it replaces.
    std::wstring temporary;
    Handle file = createBeside(target, existing & ~static_cast<DWORD>(FILE_ATTRIBUTE_REPARSE_POINT), temporary);
    if (!file)
        return fail(why, lastError());
    std::error_code failed =
        writeProduced([&file](std::string_view bytes) { return writeAll(file.get(), bytes); }, produce);
    if (!failed && (failsNow(FileCall::flush) || !::FlushFileBuffers(file.get())))
        failed = lastError();
    if (!::CloseHandle(file.release()) && !failed)
        failed = lastError();
    if (!failed && !moveOver(temporary, target))
        failed = lastError();
    if (failed) {
        ::DeleteFileW(win32Path(temporary).c_str());
        return fail(why, failed);
    }
    return succeed(why);
}

bool replaceFile(const std::wstring& from, const std::wstring& to, std::error_code* why) {
    if (const std::error_code refused = whyNotReplaceable(to))
        return fail(why, refused);
    return result(moveOver(from, to), why);
}

std::wstring toSystemPath(const std::filesystem::path& nativePath) {
    std::wstring path = nativePath.wstring();
    std::replace(path.begin(), path.end(), L'/', L'\\');
    return path;
}

std::filesystem::path toNativePath(const std::wstring& systemPath) { return std::filesystem::path(systemPath); }

} // namespace tern::platform
