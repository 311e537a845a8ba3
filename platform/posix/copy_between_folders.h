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

} // namespace tern::platform::posix
