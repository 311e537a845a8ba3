#include "tests/fuzz/fuzz_target.h"

#include "platform/file_system.h"
#include "tests/support/temp_folder.h"

#include <cstdio>
#include <cstdlib>

namespace tern::fuzz {

const std::wstring& folder() {
    // Destroyed, and so removed, when the process exits normally; libFuzzer
    // exits that way at the end of a run.
    static const test::TempFolder temp;
    static const std::wstring path = temp.system();
    return path;
}

std::wstring writeInput(const std::wstring& name, std::string_view bytes) {
    const std::wstring path = folder() + name;
    require(platform::writeFileReplacing(path, std::string(bytes)), "the input can be written to a file");
    return path;
}

std::optional<std::string> contentOf(const std::wstring& path) {
    std::string bytes;
    if (!platform::readFile(path, bytes))
        return std::nullopt;
    return bytes;
}

void require(bool kept, const char* promise) {
    if (kept)
        return;
    std::fprintf(stderr, "broken promise: %s\n", promise);
    std::fflush(stderr);
    std::abort();
}

} // namespace tern::fuzz
