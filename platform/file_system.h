// File-system operations on system paths.
//
// A system path is a wide string with backslash separators, as the library
// has always written them ("C:\Users\me\PLX\OrvoLumen\OrvoLumen\2016_x64\").
// Folder paths end in a backslash and names are appended directly. Each
// backend maps system paths to its own: the Win32 backend passes them to the
// wide Win32 calls as they are; the POSIX backend turns every backslash into
// a slash ("\tmp\x\" is "/tmp/x/").
//
// Every backend keeps the Windows semantics the library relies on, also when
// the process runs as root:
//  - a file with the read-only attribute cannot be deleted, written or
//    replaced, and a copy onto it fails; on POSIX, read-only is the absence of
//    the owner's write permission, checked by the backend itself because root
//    would otherwise write anyway;
//  - a copy keeps the source's attributes (read-only included) and its
//    last-write time;
//  - a copy with FailIfExists::yes creates its destination exclusively, so a
//    file that appears meanwhile is never overwritten;
//  - attribute 16 marks a folder, 1 a read-only file, 0x400 a symbolic link
//    (a reparse point on Windows): folder enumeration reports links with it
//    and never describes their targets.
// No function here limits path length: the callers refuse paths over 260
// characters where the design asks for it.
//
// Links are followed where Windows' file functions follow them: a read or a
// copy from a link reads the file it leads to, and a save or a replacing
// copy onto a link replaces the file it leads to, keeping the link a link
// and the target's read-only attribute in force. Deleting, listing and
// attribute changes act on a link itself.
//
// Only regular files are read or copied: a folder, a pipe or a device is
// refused at once, without waiting for a pipe's writer. A read holds the
// whole file in memory and stops at maxReadSize.
//
// Results are booleans: true means the operation took effect. A caller that
// wants to say why something failed passes a std::error_code to fill.

#pragma once

#include "platform/file_writer.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <system_error>
#include <vector>

namespace tern::platform {

// The most a read takes in: 256 MiB. The largest files the library reads,
// layout files, run to some megabytes; a file far beyond that is not one of
// them, and reading it whole, then decoding and parsing it at several times
// its size, would exhaust the memory of the host the library runs in.
constexpr std::uint64_t maxReadSize = std::uint64_t{256} << 20;

// The reasons for refusing a file that are the library's own rather than
// the system's; std::error_code values of the category fileErrorCategory().
enum class FileError {
    notRegularFile = 1, // a pipe, a device or a socket: no content to read or copy
    tooLarge,           // more than maxReadSize to read
};
const std::error_category& fileErrorCategory();
std::error_code make_error_code(FileError error);

// Windows file attribute bits, with the values the library stores and compares.
enum Attribute : std::uint32_t {
    attrReadOnly = 0x1,
    attrHidden = 0x2,
    attrFolder = 0x10,
    attrArchive = 0x20,
    attrNormal = 0x80,
    attrLink = 0x400,
};

// A last-write time in 100-nanosecond intervals since 1601-01-01 UTC (the
// Windows FILETIME scale). 0 means "no time".
using FileTime = std::int64_t;

// Whether a copy may replace an existing destination file.
enum class FailIfExists { no, yes };

// One entry of a folder listing.
struct FolderEntry {
    std::wstring name;        // the entry's own name, without its folder
    std::uint32_t attributes; // Attribute bits; a link has attrLink set
    FileTime lastWrite;
    bool isFolder() const { return (attributes & attrFolder) != 0; }
    bool isLink() const { return (attributes & attrLink) != 0; }
};

// The status of a file as the framework's file class reads and writes it.
struct FileStatus {
    FileTime lastWrite = 0;
    std::uint32_t attributes = 0;
};

// Creates one folder. Fails when it exists already or its parent is missing.
bool makeFolder(const std::wstring& path, std::error_code* why = nullptr);

// Removes one empty folder. A symbolic link to a folder is removed as a link;
// its target is untouched. Fails for a folder that is not empty.
bool removeFolder(const std::wstring& path, std::error_code* why = nullptr);

// Copies one file's content, attributes and last-write time. With
// FailIfExists::yes an existing destination makes the copy fail; with
// FailIfExists::no a writable destination is replaced in one step, as
// writeFileReplacing replaces it (a link followed to its target), and a
// read-only one makes the copy fail. A source that is a link is copied as
// its target's content, as CopyFileW does.
bool copyFile(const std::wstring& from, const std::wstring& to, FailIfExists policy,
              std::error_code* why = nullptr);

// A replacing copy (copyFile with FailIfExists::no) whose new file is given
// `attributes` in place of the source's before it takes the destination's
// place, so that the destination never carries other attributes, not even
// after a failure: the attributes a replaced file had are kept so.
bool copyFileAs(const std::wstring& from, const std::wstring& to, std::uint32_t attributes,
                std::error_code* why = nullptr);

// Deletes one file (or a link to a file, as a link). Fails for a read-only file.
bool deleteFile(const std::wstring& path, std::error_code* why = nullptr);

// The attribute bits of a file or folder (a link is described as itself);
// false when it does not exist.
bool getAttributes(const std::wstring& path, std::uint32_t& attributes, std::error_code* why = nullptr);

// Sets the attribute bits that a file carries: on POSIX only the read-only bit
// has an effect. The folder bit of the argument is ignored.
bool setAttributes(const std::wstring& path, std::uint32_t attributes, std::error_code* why = nullptr);

// Whether the path names an existing folder (not following a final link is
// not required: a link to a folder counts as a folder, as PathIsDirectoryW has it).
bool isFolder(const std::wstring& path);

// Whether anything exists at the path.
bool exists(const std::wstring& path);

// Lists the entries of a folder that match a pattern, as FindFirstFileW does
// for "folder\pattern": the pattern is the text after the last backslash,
// with "*" and "?" wildcards matched without regard to case, and "*.*"
// matching every name. "." and ".." are never listed. False when the folder
// cannot be listed; an existing folder with no match gives true and no entries.
bool findFiles(const std::wstring& pattern, std::vector<FolderEntry>& entries, std::error_code* why = nullptr);

// Reads a file's last-write time and attributes.
bool getFileStatus(const std::wstring& path, FileStatus& status, std::error_code* why = nullptr);

// Writes a file's attributes and, when status.lastWrite is not 0, its
// last-write time (zero leaves the time as it is, as CFile::SetStatus does).
bool setFileStatus(const std::wstring& path, const FileStatus& status, std::error_code* why = nullptr);

// What tells one file or folder from another on its file system, whatever
// path reaches it: the device and inode on POSIX, the volume serial number
// and file index on Windows. Two paths that name the same folder (through a
// link, ".." steps, or on Windows a different letter case) give equal
// identities; so do hard links to one file.
struct FileIdentity {
    std::uint64_t volume = 0;
    std::uint64_t index = 0;
    bool operator==(const FileIdentity& other) const { return volume == other.volume && index == other.index; }
    bool operator!=(const FileIdentity& other) const { return !(*this == other); }
};

// The identity of the file or folder the path reaches, following links;
// false when nothing is there.
bool getFileIdentity(const std::wstring& path, FileIdentity& identity, std::error_code* why = nullptr);

// The absolute system path by which the file system reaches an existing file
// or folder: links followed, "." and ".." resolved and, on Windows, each
// name spelt as the folder holds it. False when nothing is there.
bool resolvePath(const std::wstring& path, std::wstring& resolved, std::error_code* why = nullptr);

// Reads a whole regular file into bytes; FileError::tooLarge for one of
// more than maxReadSize bytes.
bool readFile(const std::wstring& path, std::string& bytes, std::error_code* why = nullptr);

// Replaces the file at path with bytes in one step: the bytes are written to
// a new file beside it, which then takes the target's place. On any failure
// the target is left as it was and the file beside it is removed. A read-only
// target is refused. A missing target is created. A link is followed: the
// file it leads to is replaced, and a link that leads nowhere is refused.
// The new file is named ".NAME.PID-N.tmp" until it takes the target's place;
// such files that a process which no longer runs left in the folder (it was
// killed in the middle of a save) are removed first.
bool writeFileReplacing(const std::wstring& path, const std::string& bytes, std::error_code* why = nullptr);

// As writeFileReplacing, with the bytes handed to the writer by `produce` as
// it makes them (file_writer.h). The target is replaced only when `produce`
// returns true and every write succeeded; `produce` returning false gives
// std::errc::operation_canceled.
bool writeFileReplacingWith(const std::wstring& path, const std::function<bool(FileWriter&)>& produce,
                            std::error_code* why = nullptr);

// Moves the file `from` over `to` in one step (both in the same folder);
// a read-only `to` is refused and left as it was. A link at `to` is
// replaced as itself, as MoveFileExW replaces it.
bool replaceFile(const std::wstring& from, const std::wstring& to, std::error_code* why = nullptr);

// Converts between a system path and a native path of this platform: what a
// command line or a test gives and takes. Relative paths stay relative; a
// trailing separator is kept.
std::wstring toSystemPath(const std::filesystem::path& nativePath);
std::filesystem::path toNativePath(const std::wstring& systemPath);

} // namespace tern::platform

namespace std {
template <>
struct is_error_code_enum<tern::platform::FileError> : true_type {};
} // namespace std
