#include "cli/paths.h"

#include "platform/file_system.h"

#include <filesystem>

namespace tern::cli {

std::wstring folderArgument(const std::string& nativePath) {
    std::error_code ignored;
    std::wstring path = platform::toSystemPath(std::filesystem::absolute(std::filesystem::u8path(nativePath), ignored));
    if (path.empty() || path.back() != L'\\')
        path += L'\\';
    return path;
}

std::wstring fileArgument(const std::string& nativePath) {
    return nativePath.empty() ? std::wstring() : platform::toSystemPath(std::filesystem::u8path(nativePath));
}

} // namespace tern::cli
