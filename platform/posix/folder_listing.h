// Reading a folder as a Windows listing reads it: each entry described as
// FindFirstFileW describes it, in the order NTFS lists a folder. Shared by
// the listing by path (findFiles) and the listing of an open folder
// (platform/open_folder.h).

#pragma once

#include "platform/file_system.h"

#include <dirent.h>
#include <string_view>
#include <sys/stat.h>
#include <system_error>
#include <vector>

namespace tern::platform::posix {

// Whether a file's permissions make it read-only as Windows has it: the
// owner may not write it.
bool isReadOnly(const struct stat& status);

// The attributes and last-write time of the entry `name` of the folder open
// as `folder` (AT_FDCWD: `name` is a path), described as a Windows listing
// describes it: a link as a reparse point (a folder one when it points to a
// folder), never as its target. False, with errno set, when it is not there.
bool describe(int folder, const char* name, FileStatus& status);

// How much of each entry a listing tells.
enum class ListingDetail {
    full, // attributes and last-write time, one status call an entry
    kind, // attrFolder and attrLink only, from the listing itself where the
          // file system tells the kind there (a status call otherwise)
};

// Reads the entries of `listing` whose names match `wildcard`, "." and ".."
// left out, into `entries`, sorted as NTFS lists a folder. An entry that a
// status call finds removed since the folder was read is not listed.
std::error_code readListing(DIR* listing, std::wstring_view wildcard, ListingDetail detail,
                            std::vector<FolderEntry>& entries);

} // namespace tern::platform::posix
