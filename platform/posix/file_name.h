// Matching of file names against the wildcard patterns of a folder search.
//
// The rules are those of a Windows folder search: "*" matches any run of
// characters (none included), "?" exactly one, letters compare without regard
// to case, and "*.*" matches every name, also a name without a dot.

#pragma once

#include <string_view>

namespace tern::platform::posix {

bool matchesWildcard(std::wstring_view pattern, std::wstring_view name);

} // namespace tern::platform::posix
