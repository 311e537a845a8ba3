// New-file copies between open folders, each file reached by its name alone.

#pragma once

#include <optional>
#include <string>
#include <system_error>

namespace tern::platform::posix {

// copyFile(source folder + name, destination folder + name, FailIfExists::yes)
// between the folders open as `from` and `to`, `toFolder` being the system
// path of the latter (for the clean-up of what killed writes left there).
// Nothing when the system cannot make the copy by name here, before anything
// is written: the copy by path is then the one to make.
std::optional<std::error_code> copyNewFileAt(int from, int to, const std::wstring& toFolder, const std::string& name);

// The same copy into a folder that no one else sees while it is filled: the
// file is made under its name at once, and removed again when the copy
// fails.
std::error_code copyFileOutOfSight(int from, int to, const std::string& name);

// Moves the file `from`, which renameat finds from `fromAt`, to `to`, found
// from `toAt`, in one step and only while no file has that name.
std::error_code moveToFreePlace(int fromAt, const char* from, int toAt, const char* to);

} // namespace tern::platform::posix
