// Clearing a file's read-only attribute before the library replaces it.

#pragma once

#include <string>

namespace tern::update {

// When path names an existing file (not a folder) within the path limit
// and its read-only bit is set, clears that bit and keeps the other
// attribute bits, and tells the run report. Failures are absorbed: the
// replacement that follows fails in turn, leaves the file as it was and
// reports why.
void clearReadOnlyAttribute(const std::wstring& path);

} // namespace tern::update
