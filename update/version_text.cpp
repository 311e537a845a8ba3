#include "update/version_text.h"

#include <climits>

namespace tern::update {

namespace {

bool isSpace(wchar_t c) { return c == L' ' || (c >= L'\t' && c <= L'\r'); }

// The dot that splits major from minor, or npos when the whole text is the major.
std::wstring::size_type splitDot(const std::wstring& text) {
    const auto dot = text.find(L'.');
    if (dot == std::wstring::npos || dot < 1 || dot + 2 > text.size())
        return std::wstring::npos;
    return dot;
}

} // namespace

std::int32_t readNumber(const std::wstring& text) {
    std::size_t i = 0;
    while (i < text.size() && isSpace(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-'))
        negative = text[i++] == L'-';
    long long value = 0;
    for (; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i) {
        value = value * 10 + (text[i] - L'0');
        if (value > INT_MAX)
            return negative ? INT_MIN : INT_MAX; // _wtoi saturates on overflow
    }
    return static_cast<std::int32_t>(negative ? -value : value);
}

bool parseMajor(std::int32_t& major, const std::wstring& text) {
    if (text.empty())
        return false;
    const auto dot = splitDot(text);
    major = readNumber(dot == std::wstring::npos ? text : text.substr(0, dot));
    return true;
}

bool parseMinor(std::int32_t& minor, const std::wstring& text) {
    if (text.empty())
        return false;
    const auto dot = splitDot(text);
    minor = dot == std::wstring::npos ? 0 : readNumber(text.substr(dot + 1));
    return true;
}

} // namespace tern::update
