// File names compared the way Windows compares them: without regard to case
// (by their upper-case forms, platform/text.h), both in folder searches and
// in listing order.
//
// A search pattern matches as in a Windows folder search: "*" matches any run
// of characters (none included), "?" exactly one, and "*.*" matches every
// name, also a name without a dot.

#pragma once

#include <string_view>

namespace tern::platform::posix {

bool matchesWildcard(std::wstring_view pattern, std::wstring_view name);

} // namespace tern::platform::posix
