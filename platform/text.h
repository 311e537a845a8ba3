// Conversions between the system's wide text and UTF-8.
//
// Wide strings are UTF-16 on Windows and UTF-32 elsewhere; both convert
// losslessly to UTF-8. An unpaired surrogate or an invalid UTF-8 sequence
// becomes U+FFFD rather than failing: these conversions serve output and
// file names, where a readable result beats an error.

#pragma once

#include <string>
#include <string_view>

namespace tern::platform {

std::string toUtf8(std::wstring_view text);
std::wstring fromUtf8(std::string_view text);

// Whether two names are equal without regard to letter case, as Windows
// compares file names and as the library compares names found in listings.
bool equalIgnoringCase(std::wstring_view a, std::wstring_view b);

} // namespace tern::platform
