// The one line that names a file the host could not load, and why.

#pragma once

#include <string>

namespace tern::cli {

// Prints "error: cannot load FILE: WHY" on standard error, FILE as a native
// path and only once (a WHY that starts with the file's path, as the
// loaders' problems do, is printed without it), and returns the exit
// status 1.
int refuseUnloadable(const std::wstring& file, const std::wstring& why);

} // namespace tern::cli
