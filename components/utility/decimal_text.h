// Whole numbers written as plain decimal digits, as the application's own
// files store identifiers and version numbers.

#pragma once

#include <cstdint>
#include <string>

namespace tern::utility {

// True when text is one or more decimal digits whose value fits an int32;
// no sign, no white space. value is left as it was otherwise.
bool parseDecimal(const std::wstring& text, std::int32_t& value);

} // namespace tern::utility
