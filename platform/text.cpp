#include "platform/text.h"

#include "platform/upper_case_table.h"

#include <algorithm>
#include <cstdint>
#include <array>

namespace tern::platform {

namespace {

constexpr char32_t replacement = 0xFFFD;

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

void appendWide(std::wstring& out, char32_t c) {
    if constexpr (sizeof(wchar_t) == 2) {
        if (c >= 0x10000) {
            c -= 0x10000;
            out += static_cast<wchar_t>(0xD800 + (c >> 10));
            out += static_cast<wchar_t>(0xDC00 + (c & 0x3FF));
            return;
        }
    }
    out += static_cast<wchar_t>(c);
}

bool isSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDFFF; }

// A folded character's place in UTF-16 order. Where wide characters are
// UTF-32, one beyond U+FFFF would be a surrogate pair (0xD800 and up) in
// UTF-16, so U+E000 to U+FFFF are moved above it; below U+E000 the order is
// the characters' own.
std::uint32_t utf16Order(wchar_t c) {
    const auto value = static_cast<std::uint32_t>(c);
    return value >= 0xE000 && value <= 0xFFFF ? value + 0x110000 : value;
}

bool sameLetter(wchar_t a, wchar_t b) { return a == b || toUpperCase(a) == toUpperCase(b); }

} // namespace

std::string toUtf8(std::wstring_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = static_cast<char32_t>(text[i]);
        if (sizeof(wchar_t) == 2 && c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size()) {
            const char32_t low = static_cast<char32_t>(text[i + 1]);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
                ++i;
            }
        }
        if (isSurrogate(c) || c > 0x10FFFF)
            c = replacement;
        appendUtf8(out, c);
    }
    return out;
}

std::wstring fromUtf8(std::string_view text) {
    std::wstring out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const unsigned char lead = static_cast<unsigned char>(text[i]);
        const int length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 0;
        char32_t c = length == 1 ? lead : length == 2 ? (lead & 0x1F) : length == 3 ? (lead & 0x0F) : (lead & 0x07);
        bool valid = length != 0 && i + length <= text.size();
        for (int k = 1; valid && k < length; ++k) {
            const unsigned char next = static_cast<unsigned char>(text[i + k]);
            valid = (next & 0xC0) == 0x80;
            c = (c << 6) | (next & 0x3F);
        }
        static constexpr char32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
        if (!valid || c < smallest[length] || isSurrogate(c) || c > 0x10FFFF) {
            appendWide(out, replacement);
            ++i;
            continue;
        }
        appendWide(out, c);
        i += length;
    }
    return out;
}

wchar_t toUpperCase(wchar_t c) {
    // The rows expanded once into one entry per UTF-16 unit: names are
    // folded unit by unit, in every comparison and sort of a listing. The
    // table has no destructor, so static objects that list folders while
    // the program exits still find it.
    static const std::array<char16_t, 0x10000> upper = [] {
        std::array<char16_t, 0x10000> units{};
        for (std::size_t unit = 0; unit < units.size(); ++unit)
            units[unit] = static_cast<char16_t>(unit);
        for (const UpperCaseRange& range : upperCaseRanges) {
            for (std::int32_t unit = range.first; unit <= range.last; unit += range.step)
                units[static_cast<std::size_t>(unit)] = static_cast<char16_t>(unit + range.delta);
        }
        return units;
    }();
    const auto unit = static_cast<std::uint32_t>(c);
    return unit < upper.size() ? static_cast<wchar_t>(upper[unit]) : c;
}

bool equalIgnoringCase(std::wstring_view a, std::wstring_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), sameLetter);
}

bool lessIgnoringCase(std::wstring_view a, std::wstring_view b) {
    const auto [inA, inB] = std::mismatch(a.begin(), a.end(), b.begin(), b.end(), sameLetter);
    if (inB == b.end())
        return false; // b is a or begins it
    return inA == a.end() || utf16Order(toUpperCase(*inA)) < utf16Order(toUpperCase(*inB));
}

std::u32string caseOrderKey(std::wstring_view name) {
    std::u32string key(name.size(), U'\0');
    std::transform(name.begin(), name.end(), key.begin(),
                   [](wchar_t c) { return static_cast<char32_t>(utf16Order(toUpperCase(c))); });
    return key;
}

} // namespace tern::platform
