#include "components/utility/win32/text_codec.h"

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <utility>

namespace tern::utility::xml {
namespace {

constexpr std::uint32_t utf8 = CP_UTF8;
// Windows' numbers for the Unicode encodings, which the conversion functions
// of the code-page API do not take: they are converted here.
constexpr std::uint32_t utf16LittleEndian = 1200;
constexpr std::uint32_t utf16BigEndian = 1201;
constexpr std::uint32_t utf32LittleEndian = 12000;
constexpr std::uint32_t utf32BigEndian = 12001;

// The code page of an encoding name (in lower case); 0 when it is not known.
std::uint32_t codePageOf(const std::string& encoding) {
    static const std::pair<const char*, std::uint32_t> names[] = {
        {"utf-8", utf8},           {"cp932", 932},       {"utf-7", CP_UTF7},
        {"utf-16", utf16LittleEndian}, {"utf-16le", utf16LittleEndian}, {"utf-16be", utf16BigEndian},
        {"ucs-2", utf16LittleEndian},  {"unicode", utf16LittleEndian},
        {"utf-32", utf32LittleEndian}, {"utf-32le", utf32LittleEndian}, {"utf-32be", utf32BigEndian},
        {"euc-jp", 20932},         {"x-euc-jp", 20932},  {"iso-2022-jp", 50220},
        {"us-ascii", 20127},       {"ascii", 20127},     {"latin1", 28591},
        {"gb2312", 936},           {"big5", 950},        {"euc-kr", 949},      {"koi8-r", 20866},
    };
    for (const auto& [name, codePage] : names) {
        if (encoding == name)
            return codePage;
    }
    // "iso-8859-N", "windows-NNNN" and "cpNNN" name their code pages by number.
    const std::pair<std::string_view, std::uint32_t> numbered[] = {{"iso-8859-", 28590}, {"windows-", 0}, {"cp", 0}};
    for (const auto& [prefix, base] : numbered) {
        const std::string_view digits = std::string_view(encoding).substr(std::min(prefix.size(), encoding.size()));
        if (encoding.compare(0, prefix.size(), prefix) != 0 || digits.empty() || digits.size() > 5 ||
            !std::all_of(digits.begin(), digits.end(), [](char c) { return std::isdigit(static_cast<unsigned char>(c)); }))
            continue;
        const auto codePage = base + static_cast<std::uint32_t>(std::stoul(std::string(digits)));
        return ::IsValidCodePage(codePage) ? codePage : 0;
    }
    return 0;
}

bool isUnicodeCodePage(std::uint32_t codePage) {
    return codePage == utf16LittleEndian || codePage == utf16BigEndian || codePage == utf32LittleEndian ||
           codePage == utf32BigEndian;
}

// UTF-16 or UTF-32 bytes into UTF-16 text; false for a cut-off unit, an
// unpaired surrogate or a value beyond U+10FFFF.
bool decodeUnicode(std::string_view bytes, std::uint32_t codePage, std::wstring& text) {
    const bool wide = codePage == utf32LittleEndian || codePage == utf32BigEndian;
    const bool bigEndian = codePage == utf16BigEndian || codePage == utf32BigEndian;
    const std::size_t unitSize = wide ? 4 : 2;
    if (bytes.size() % unitSize != 0)
        return false;
    std::u32string units;
    for (std::size_t at = 0; at < bytes.size(); at += unitSize) {
        char32_t unit = 0;
        for (std::size_t i = 0; i < unitSize; ++i) {
            const auto byte = static_cast<unsigned char>(bytes[at + (bigEndian ? i : unitSize - 1 - i)]);
            unit = (unit << 8) | byte;
        }
        units += unit;
    }
    text.clear();
    for (std::size_t i = 0; i < units.size(); ++i) {
        char32_t c = units[i];
        if (!wide && c >= 0xD800 && c <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
            units[i + 1] <= 0xDFFF) {
            text += static_cast<wchar_t>(c);
            text += static_cast<wchar_t>(units[++i]);
            continue;
        }
        if ((c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF)
            return false;
        if (c >= 0x10000) {
            c -= 0x10000;
            text += static_cast<wchar_t>(0xD800 + (c >> 10));
            text += static_cast<wchar_t>(0xDC00 + (c & 0x3FF));
        } else {
            text += static_cast<wchar_t>(c);
        }
    }
    return true;
}

std::string encodeUnicode(std::wstring_view text, std::uint32_t codePage) {
    const bool wide = codePage == utf32LittleEndian || codePage == utf32BigEndian;
    const bool bigEndian = codePage == utf16BigEndian || codePage == utf32BigEndian;
    const std::size_t unitSize = wide ? 4 : 2;
    std::string bytes;
    auto put = [&](char32_t unit) {
        for (std::size_t i = 0; i < unitSize; ++i) {
            const std::size_t shift = 8 * (bigEndian ? unitSize - 1 - i : i);
            bytes += static_cast<char>((unit >> shift) & 0xFF);
        }
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<char32_t>(text[i]);
        if (wide && c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size())
            put(0x10000 + ((c - 0xD800) << 10) + (static_cast<char32_t>(text[++i]) - 0xDC00));
        else
            put(c);
    }
    return bytes;
}

bool decodeCodePage(std::string_view bytes, std::uint32_t codePage, std::wstring& text) {
    text.clear();
    if (bytes.empty())
        return true;
    const int size = static_cast<int>(bytes.size());
    // Some code pages (the ISO-2022 family) refuse the strict flag.
    DWORD flags = MB_ERR_INVALID_CHARS;
    int length = ::MultiByteToWideChar(codePage, flags, bytes.data(), size, nullptr, 0);
    if (length == 0 && ::GetLastError() == ERROR_INVALID_FLAGS) {
        flags = 0;
        length = ::MultiByteToWideChar(codePage, flags, bytes.data(), size, nullptr, 0);
    }
    if (length == 0)
        return false;
    text.resize(static_cast<std::size_t>(length));
    return ::MultiByteToWideChar(codePage, flags, bytes.data(), size, text.data(), length) == length;
}

} // namespace

bool decodeText(std::string_view bytes, const std::string& encoding, std::wstring& text) {
    const std::uint32_t codePage = codePageOf(encoding);
    if (codePage == 0)
        return false;
    return isUnicodeCodePage(codePage) ? decodeUnicode(bytes, codePage, text) : decodeCodePage(bytes, codePage, text);
}

bool encodeText(std::wstring_view text, const std::string& encoding, std::string& bytes) {
    const std::uint32_t codePage = codePageOf(encoding);
    if (codePage == 0)
        return false;
    if (isUnicodeCodePage(codePage)) {
        bytes = encodeUnicode(text, codePage);
        return true;
    }
    std::string encoded;
    if (!text.empty()) {
        const int size = static_cast<int>(text.size());
        const int length = ::WideCharToMultiByte(codePage, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
        if (length == 0)
            return false;
        encoded.resize(static_cast<std::size_t>(length));
        ::WideCharToMultiByte(codePage, 0, text.data(), size, encoded.data(), length, nullptr, nullptr);
        // A character the code page lacks comes out as a substitute (or a
        // best-fit look-alike): reading the bytes back tells.
        std::wstring readBack;
        if (!decodeCodePage(encoded, codePage, readBack) || readBack != text)
            return false;
    }
    bytes = std::move(encoded);
    return true;
}

} // namespace tern::utility::xml
