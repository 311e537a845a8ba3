#include "cli/load_failure.h"

#include "cli/shown_path.h"
#include "platform/text.h"

#include <iostream>

namespace tern::cli {

int refuseUnloadable(const std::wstring& file, const std::wstring& why) {
    // The loaders' problems start with the file's system path: it is named
    // once, natively, in front.
    const bool named = why.compare(0, file.size(), file) == 0;
    const std::wstring rest = named ? why.substr(file.size()) : L": " + why;
    std::cerr << "error: cannot load " << shownPath(file) << platform::toUtf8(rest) << "\n";
    return 1;
}

} // namespace tern::cli
