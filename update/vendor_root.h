// The vendor folder that every release's per-user folders lie under.
//
// An application-data folder has the shape root\PLX\product\edition\release\ with
// its trailing backslash. The vendor root is that text up to and including
// the backslash after "PLX" (case-sensitive).

#pragma once

#include <string>

namespace tern::update {

// The vendor root of appData, or empty when appData does not have that shape.
std::wstring findVendorRoot(const std::wstring& appData);

} // namespace tern::update
