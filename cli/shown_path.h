// A system path as the user reads it in tnupdate's output.

#pragma once

#include <string>

namespace tern::cli {

// The native form of systemPath (forward slashes on Linux), in UTF-8. A
// name that is not valid UTF-16 (an unpaired surrogate) is shown with U+FFFD
// in its place rather than failing.
std::string shownPath(const std::wstring& systemPath);

} // namespace tern::cli
