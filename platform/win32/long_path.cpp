#include "platform/win32/long_path.h"

#include <windows.h>

namespace tern::platform::win32 {

namespace {

// CreateDirectoryW's limit: room must remain for an 8.3 name below.
constexpr std::size_t longestPlainPath = MAX_PATH - 12;

bool hasPrefix(const std::wstring& path, const wchar_t* prefix) { return path.rfind(prefix, 0) == 0; }

std::wstring withoutTrailingBackslashes(std::wstring path) {
    while (path.size() > 1 && path.back() == L'\\' && path[path.size() - 2] != L':')
        path.pop_back();
    return path;
}

// The absolute form of a path, with "." and ".." resolved: the "\\?\"
// prefix turns off that resolution, so it is done before.
std::wstring fullPath(const std::wstring& path) {
    std::wstring full(path.size() + MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = ::GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
        if (length == 0)
            return path;
        if (length < full.size()) {
            full.resize(length);
            return full;
        }
        full.resize(length);
    }
}

} // namespace

std::wstring win32Path(const std::wstring& systemPath) {
    std::wstring path = withoutTrailingBackslashes(systemPath);
    if (path.size() < longestPlainPath || hasPrefix(path, L"\\\\?\\") || hasPrefix(path, L"\\\\.\\"))
        return path;
    path = fullPath(path);
    if (hasPrefix(path, L"\\\\"))
        return L"\\\\?\\UNC\\" + path.substr(2);
    return L"\\\\?\\" + path;
}

} // namespace tern::platform::win32
