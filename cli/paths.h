// Native command-line paths turned into the system paths the library takes.

#pragma once

#include <string>

namespace tern::cli {

// An absolute system path for a folder, ending in a backslash.
std::wstring folderArgument(const std::string& nativePath);
// A system path for a file, as given (relative stays relative, empty stays empty).
std::wstring fileArgument(const std::string& nativePath);

} // namespace tern::cli
