// The form in which a system path is handed to the wide Win32 calls.
//
// Win32 stops at MAX_PATH (260) characters, and CreateDirectoryW already at
// 248, unless a path carries the "\\?\" prefix. The platform layer sets no
// length limit of its own, so a long path is made absolute and given the
// prefix; shorter paths pass as they are. Trailing backslashes are dropped
// (except from a root such as "C:\"), so that a link is addressed as itself.

#pragma once

#include <string>

namespace tern::platform::win32 {

std::wstring win32Path(const std::wstring& systemPath);

} // namespace tern::platform::win32
