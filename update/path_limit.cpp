#include "update/path_limit.h"

#include "platform/file_system.h"

namespace tern::update {

bool isExistingFolder(const std::wstring& path) { return withinPathLimit(path) && platform::isFolder(path); }

bool isExistingFile(const std::wstring& path) {
    return withinPathLimit(path) && platform::exists(path) && !platform::isFolder(path);
}

bool copyFileWithinLimit(const std::wstring& from, const std::wstring& to, platform::FailIfExists policy) {
    return withinPathLimit(from) && withinPathLimit(to) && platform::copyFile(from, to, policy);
}

} // namespace tern::update
