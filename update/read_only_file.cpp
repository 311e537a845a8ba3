#include "update/read_only_file.h"

#include "platform/file_system.h"
#include "update/path_limit.h"

namespace tern::update {

void clearReadOnlyAttribute(const std::wstring& path) {
    std::uint32_t attributes = 0;
    if (isExistingFile(path) && platform::getAttributes(path, attributes) && (attributes & platform::attrReadOnly))
        platform::setAttributes(path, attributes & ~std::uint32_t{platform::attrReadOnly});
}

} // namespace tern::update
