#include "cli/shown_path.h"

#include "platform/file_system.h"
#include "platform/text.h"

#include <type_traits>

namespace tern::cli {

namespace {

// A native path's characters in UTF-8: a wide one (Windows) is converted
// with the system's own replacement of what UTF-8 cannot carry, where
// std::filesystem::path::u8string would throw; a narrow one (POSIX) is
// UTF-8 already.
template <class NativeText> std::string utf8Of(const NativeText& native) {
    if constexpr (std::is_same_v<NativeText, std::wstring>)
        return platform::toUtf8(native);
    else
        return native;
}

} // namespace

std::string shownPath(const std::wstring& systemPath) { return utf8Of(platform::toNativePath(systemPath).native()); }

} // namespace tern::cli
