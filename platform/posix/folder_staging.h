// New files copied into an empty folder out of sight: in a hidden folder
// beside it, which takes the empty folder's place once every copy is made.
//
// A copy into a folder in view never shows a torn file: it writes a file
// without a name and names it when whole. Out of sight, each file is made
// under its own name at once, which costs the file system less. A process
// killed half-way leaves the folder as empty as it was, and the hidden
// folder, named as a file written beside its target is
// (platform/temporary_files.h), to the clean-up of a later process.

#pragma once

#include "platform/posix/file_descriptor.h"

#include <optional>
#include <string>
#include <system_error>
#include <vector>

namespace tern::platform::posix {

// Copies the files `names` of the folder open as `from` into the empty
// folder open as `to`, whose system path is `folder`, as out-of-sight copies;
// `to` then holds the folder in place. Each name's outcome is the one
// copyFile(FailIfExists::yes) gives (no error for a copy made). Nothing,
// before anything is written, when the folder cannot be replaced so: when
// its path does not name it within its parent's file system, or when its
// owner, group, permissions or extended attributes (an ACL among them)
// would not be the hidden folder's.
std::optional<std::vector<std::error_code>>
copyIntoEmptyFolder(int from, FileDescriptor& to, const std::wstring& folder, const std::vector<std::string>& names);

} // namespace tern::platform::posix
