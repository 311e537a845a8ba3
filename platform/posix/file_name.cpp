#include "platform/posix/file_name.h"

#include <algorithm>
#include <cwctype>

namespace tern::platform::posix {

namespace {

std::wint_t upper(wchar_t c) { return std::towupper(static_cast<std::wint_t>(c)); }

bool sameLetter(wchar_t a, wchar_t b) { return a == b || upper(a) == upper(b); }

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

bool listedBefore(std::wstring_view a, std::wstring_view b) {
    const auto mismatch = std::mismatch(a.begin(), a.end(), b.begin(), b.end(), sameLetter);
    if (mismatch.first != a.end() && mismatch.second != b.end())
        return upper(*mismatch.first) < upper(*mismatch.second);
    if (a.size() != b.size())
        return a.size() < b.size();
    return a < b;
}

} // namespace tern::platform::posix
