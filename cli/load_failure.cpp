#include "cli/load_failure.h"

#include "components/utility/command_table.h"
#include "platform/file_system.h"
#include "platform/text.h"

#include <iostream>

namespace tern::cli {

namespace {

void sayCannotLoad(const std::string& what, const std::wstring& file, const std::wstring& why) {
    std::cerr << "tnupdate: cannot load " << what << platform::toNativePath(file).u8string() << ": "
              << platform::toUtf8(why) << "\n";
}

} // namespace

const char* const usageErrorHelp = "2 for a usage error or a command table that cannot be loaded (nothing is "
                                   "touched then)";

int refuseUnloadable(const std::wstring& file, const std::wstring& why) {
    sayCannotLoad("", file, why);
    return 1;
}

bool loadCommandTable(utility::CCommandTable& commands, const std::wstring& file) {
    std::wstring why;
    if (commands.load(file, why))
        return true;
    sayCannotLoad("the command table ", file, why);
    return false;
}

} // namespace tern::cli
