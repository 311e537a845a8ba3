// Making, copying and emptying folder trees under the user's folders.
//
// The three helpers take system paths (backslash separators), never throw
// and report only a boolean; every failure of a single file or folder is
// absorbed as each function describes. A path longer than 260 characters is
// treated as Windows treats it without long-path support: it cannot be
// found, created, copied or deleted.
//
// Symbolic links (reparse points) are never followed out of a tree: a copy
// skips them, and emptying a folder removes a link as an entry of its own
// without touching what it points to.
//
// Each folder made or not made, file copied or skipped, and entry deleted
// or left is told to the run report (update/run_report.h), with the reason
// for what was not done. A folder removed or left is reported as a file
// entry, named with its trailing backslash.

#pragma once

#include <cstdint>
#include <system_error>

namespace tern::update {

// Creates the folder `path` and, when depth is above 0, up to `depth` missing
// ancestors. True when the folder exists afterwards (also when it existed
// already; a file of that name counts as well, since only existence is
// asked); false for a null or empty path, a negative depth, a path over 260
// characters, or a folder that could not be made; `why`, when given, then
// says why (update/path_limit.h's pathTooLong() for a path over the limit,
// else the system's reason).
bool createFolderTree(const wchar_t* path, std::int32_t depth, std::error_code* why = nullptr);

// Copies the files and sub-folders of `source` into `destination`, creating
// `destination` (one level) when it is missing. Files already present in the
// destination are kept; a file that cannot be copied is left out silently.
// False for a null or empty path, a source over 260 characters or not an
// existing folder, a destination that cannot be created or that lies inside
// the source, or when a sub-folder's copy yields false.
//
// Refusing a destination inside the source goes beyond the plain recursive
// copy, which would copy its own output into itself again and again until
// the paths grew past 260 characters. Where the destination lies is decided
// as the file system decides it: by the identity of the folders it resolves
// to, with links followed and ".." steps taken, so that "Case" is inside
// "case" on Windows and a separate folder on a case-sensitive file system.
bool copyFolderTree(const wchar_t* destination, const wchar_t* source);

// Deletes the files of the folder `path`, and with `recursive` also the
// contents of its sub-folders and the sub-folders themselves once they are
// empty. With `forceReadOnly`, a read-only file at the top level is made
// writable and deleted; read-only files further down stay, and so do their
// folders. The folder itself is never removed. True when at least one file
// was attempted at this level or a sub-folder's call yielded true; false for
// a null or empty path, one over 260 characters or not an existing folder.
bool deleteFolderContents(const wchar_t* path, bool recursive, bool forceReadOnly);

} // namespace tern::update
