#include "cli/load_failure.h"

#include "platform/file_system.h"
#include "platform/text.h"

#include <iostream>

namespace tern::cli {

int refuseUnloadable(const std::wstring& file, const std::wstring& why) {
    std::cerr << "error: cannot load " << platform::toNativePath(file).u8string() << ": " << platform::toUtf8(why)
              << "\n";
    return 1;
}

} // namespace tern::cli
