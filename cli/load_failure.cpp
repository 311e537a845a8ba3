#include "cli/load_failure.h"

#include "cli/shown_path.h"
#include "components/utility/command_table.h"
#include "platform/text.h"

#include <iostream>

namespace tern::cli {

namespace {

// The loaders' problems start with the file's system path: it is named once,
// natively, in front.
void sayCannotLoad(const std::string& what, const std::wstring& file, const std::wstring& why) {
    const bool named = why.compare(0, file.size(), file) == 0;
    const std::wstring rest = named ? why.substr(file.size()) : L": " + why;
    std::cerr << "error: cannot load " << what << shownPath(file) << platform::toUtf8(rest) << "\n";
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
