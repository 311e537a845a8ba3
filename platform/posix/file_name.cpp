#include "platform/posix/file_name.h"

#include "platform/text.h"

namespace tern::platform::posix {

namespace {

bool sameLetter(wchar_t a, wchar_t b) { return a == b || toUpperCase(a) == toUpperCase(b); }

} // namespace

bool matchesWildcard(std::wstring_view pattern, std::wstring_view name) {
    if (pattern == L"*.*")
        return true;
    // Greedy matching with one back-track point: the last "*" seen and the
    // name position it has absorbed up to.
    std::size_t p = 0;
    std::size_t n = 0;
    std::size_t starAt = std::wstring_view::npos;
    std::size_t starMatched = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == L'?' || (pattern[p] != L'*' && sameLetter(pattern[p], name[n])))) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == L'*') {
            starAt = p++;
            starMatched = n;
        } else if (starAt != std::wstring_view::npos) {
            p = starAt + 1;
            n = ++starMatched;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == L'*')
        ++p;
    return p == pattern.size();
}

} // namespace tern::platform::posix
