#include "update/read_only_file.h"

#include "platform/file_system.h"
#include "update/file_events.h"
#include "update/path_limit.h"

namespace tern::update {

void clearReadOnlyAttribute(const std::wstring& path) {
    std::uint32_t attributes = 0;
    std::error_code ignored;
    if (isExistingFile(path) && platform::getAttributes(path, attributes) && (attributes & platform::attrReadOnly))
        changeAttributes(path, attributes & ~std::uint32_t{platform::attrReadOnly}, L"read-only cleared", ignored);
}

} // namespace tern::update
