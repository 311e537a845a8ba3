#include "components/utility/win32/xml_encoding.h"

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <iterator>
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

constexpr std::string_view operator""_bytes(const char* text, std::size_t size) { return {text, size}; }

// A signature at the start of a file that fixes its encoding. The UTF-32
// marks come before UTF-16's, whose little-endian mark is their prefix.
struct Signature {
    std::string_view bytes;
    std::uint32_t codePage;
    bool isByteOrderMark;
};

const Signature signatures[] = {
    {"\xEF\xBB\xBF"_bytes, utf8, true},
    {"\x00\x00\xFE\xFF"_bytes, utf32BigEndian, true},
    {"\xFF\xFE\x00\x00"_bytes, utf32LittleEndian, true},
    {"\xFE\xFF"_bytes, utf16BigEndian, true},
    {"\xFF\xFE"_bytes, utf16LittleEndian, true},
    {"\x00<\x00?"_bytes, utf16BigEndian, false},
    {"<\x00?\x00"_bytes, utf16LittleEndian, false},
};

const Signature* findSignature(std::string_view bytes) {
    for (const auto& signature : signatures) {
        if (bytes.substr(0, signature.bytes.size()) == signature.bytes)
            return &signature;
    }
    return nullptr;
}

std::string lowerAscii(std::string_view text) {
    std::string lower(text);
    for (auto& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// The value of encoding="..." in the declaration that opens the text, read
// as ASCII; empty when there is no declaration or it names no encoding.
std::string_view declaredEncoding(std::string_view text) {
    constexpr std::string_view opening = "<?xml";
    if (text.substr(0, opening.size()) != opening || text.size() == opening.size() || !isSpace(text[opening.size()]))
        return {};
    const auto declaration = text.substr(0, text.find("?>"));
    auto at = declaration.find("encoding");
    if (at == std::string_view::npos)
        return {};
    at += std::string_view("encoding").size();
    while (at < declaration.size() && isSpace(declaration[at]))
        ++at;
    if (at >= declaration.size() || declaration[at] != '=')
        return {};
    ++at;
    while (at < declaration.size() && isSpace(declaration[at]))
        ++at;
    if (at >= declaration.size() || (declaration[at] != '"' && declaration[at] != '\''))
        return {};
    const auto close = declaration.find(declaration[at], at + 1);
    if (close == std::string_view::npos)
        return {};
    return declaration.substr(at + 1, close - at - 1);
}

// The code page of a declared encoding name; 0 when it is not known.
std::uint32_t codePageOf(std::string_view declared) {
    static const std::pair<const char*, std::uint32_t> names[] = {
        {"utf-8", utf8},           {"utf8", utf8},
        {"utf-16", utf16LittleEndian}, {"utf-16le", utf16LittleEndian}, {"utf-16be", utf16BigEndian},
        {"ucs-2", utf16LittleEndian},  {"unicode", utf16LittleEndian},
        {"utf-32", utf32LittleEndian}, {"utf-32le", utf32LittleEndian}, {"utf-32be", utf32BigEndian},
        {"shift_jis", 932},        {"shift-jis", 932},   {"sjis", 932},       {"x-sjis", 932},
        {"ms_kanji", 932},         {"csshiftjis", 932},  {"windows-31j", 932}, {"ms932", 932},
        {"euc-jp", 20932},         {"x-euc-jp", 20932},  {"iso-2022-jp", 50220},
        {"us-ascii", 20127},       {"ascii", 20127},     {"latin1", 28591},
        {"gb2312", 936},           {"big5", 950},        {"euc-kr", 949},      {"koi8-r", 20866},
    };
    const auto lower = lowerAscii(declared);
    for (const auto& [name, codePage] : names) {
        if (lower == name)
            return codePage;
    }
    // "iso-8859-N", "windows-NNNN" and "cpNNN" name their code pages by number.
    const std::pair<std::string_view, std::uint32_t> numbered[] = {{"iso-8859-", 28590}, {"windows-", 0}, {"cp", 0}};
    for (const auto& [prefix, base] : numbered) {
        const std::string_view digits = std::string_view(lower).substr(std::min(prefix.size(), lower.size()));
        if (lower.compare(0, prefix.size(), prefix) != 0 || digits.empty() || digits.size() > 5 ||
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

bool decodeXml(std::string_view bytes, XmlEncoding& encoding, std::wstring& text) {
    XmlEncoding found;
    std::string_view body = bytes;
    const auto* signature = findSignature(bytes);
    if (signature) {
        found.codePage = signature->codePage;
        if (signature->isByteOrderMark) {
            found.byteOrderMark = std::string(signature->bytes);
            body.remove_prefix(signature->bytes.size());
        }
    } else if (const auto declared = declaredEncoding(bytes); !declared.empty()) {
        found.codePage = codePageOf(declared);
        if (found.codePage == 0)
            return false;
    }

    std::wstring decoded;
    const bool read = isUnicodeCodePage(found.codePage) ? decodeUnicode(body, found.codePage, decoded)
                                                        : decodeCodePage(body, found.codePage, decoded);
    if (!read)
        return false;
    // A declaration that does not read back as one was written in another
    // encoding than the one it names.
    if (!signature && found.codePage != utf8 && decoded.compare(0, 5, L"<?xml") != 0)
        return false;
    if (decoded.find(L'\0') != std::wstring::npos)
        return false;
    encoding = std::move(found);
    text = std::move(decoded);
    return true;
}

bool encodeXml(std::wstring_view text, const XmlEncoding& encoding, std::string& bytes) {
    std::string encoded;
    if (isUnicodeCodePage(encoding.codePage)) {
        encoded = encodeUnicode(text, encoding.codePage);
    } else if (!text.empty()) {
        const int size = static_cast<int>(text.size());
        const int length = ::WideCharToMultiByte(encoding.codePage, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
        if (length == 0)
            return false;
        encoded.resize(static_cast<std::size_t>(length));
        ::WideCharToMultiByte(encoding.codePage, 0, text.data(), size, encoded.data(), length, nullptr, nullptr);
        // A character the code page lacks comes out as a substitute (or a
        // best-fit look-alike): reading the bytes back tells.
        std::wstring readBack;
        if (!decodeCodePage(encoded, encoding.codePage, readBack) || readBack != text)
            return false;
    }
    bytes = encoding.byteOrderMark + encoded;
    return true;
}

} // namespace tern::utility::xml
