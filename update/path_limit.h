// The longest path the library handles: Windows' MAX_PATH less its
// terminator. A longer path counts as a missing file or folder.

#pragma once

#include <cstddef>
#include <string>

namespace tern::update {

constexpr std::size_t maxPathLength = 260;

inline bool withinPathLimit(const std::wstring& path) { return path.size() <= maxPathLength; }

// Whether path is short enough and names an existing folder.
bool isExistingFolder(const std::wstring& path);

// Whether path is short enough and names an existing file (not a folder).
bool isExistingFile(const std::wstring& path);

} // namespace tern::update
