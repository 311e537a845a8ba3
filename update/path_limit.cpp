#include "update/path_limit.h"

#include "platform/file_system.h"

namespace tern::update {

bool isExistingFolder(const std::wstring& path) { return withinPathLimit(path) && platform::isFolder(path); }

bool isExistingFile(const std::wstring& path) {
    return withinPathLimit(path) && platform::exists(path) && !platform::isFolder(path);
}

} // namespace tern::update
