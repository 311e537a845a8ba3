// The longest path the library handles: Windows' MAX_PATH less its
// terminator. A longer path counts as a missing file or folder, and a file
// or folder there cannot be made, copied or replaced: the library's file
// calls behave as Windows' do without long-path support, whatever the
// platform layer itself could reach.

#pragma once

#include "platform/file_system.h"

#include <cstddef>
#include <string>
#include <system_error>

namespace tern::update {

constexpr std::size_t maxPathLength = 260;

inline bool withinPathLimit(const std::wstring& path) { return path.size() <= maxPathLength; }
// Whether folder + name is within the limit, told without joining them.
inline bool withinPathLimit(const std::wstring& folder, const std::wstring& name) {
    return folder.size() + name.size() <= maxPathLength;
}

// The reason a path over the limit gives where a platform call would give
// the system's: "the path is longer than 260 characters".
std::error_code pathTooLong();

// Whether path is short enough and names an existing folder.
bool isExistingFolder(const std::wstring& path);

// Whether path is short enough and names an existing file (not a folder).
bool isExistingFile(const std::wstring& path);

// platform::copyFile, failing with pathTooLong() when either path is over
// the limit.
bool copyFileWithinLimit(const std::wstring& from, const std::wstring& to, platform::FailIfExists policy,
                         std::error_code* why = nullptr);

} // namespace tern::update
