#include "components/utility/posix/xml_encoding.h"

#include <iconv.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <iterator>

namespace tern::utility::xml {
namespace {

const std::string utf8Name = "UTF-8";

// A signature at the start of a file that fixes its encoding. The UTF-32
// marks come before UTF-16's, whose little-endian mark is their prefix.
struct Signature {
    std::string_view bytes;
    const char* encoding;
    bool isByteOrderMark;
};

constexpr std::string_view operator""_bytes(const char* text, std::size_t size) { return {text, size}; }

const Signature signatures[] = {
    {"\xEF\xBB\xBF"_bytes, "UTF-8", true},
    {"\x00\x00\xFE\xFF"_bytes, "UTF-32BE", true},
    {"\xFF\xFE\x00\x00"_bytes, "UTF-32LE", true},
    {"\xFE\xFF"_bytes, "UTF-16BE", true},
    {"\xFF\xFE"_bytes, "UTF-16LE", true},
    {"\x00<\x00?"_bytes, "UTF-16BE", false},
    {"<\x00?\x00"_bytes, "UTF-16LE", false},
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

// Whether the name has the form XML gives encoding names. This also keeps
// out iconv's suffixes ("UTF-8//IGNORE"), which would drop characters.
bool isEncodingName(std::string_view name) {
    auto isLetter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
    auto isNameCharacter = [&](char c) {
        return isLetter(c) || (c >= '0' && c <= '9') || c == '.' || c == '_' || c == '-';
    };
    return !name.empty() && isLetter(name[0]) && std::all_of(name.begin(), name.end(), isNameCharacter);
}

// The iconv name for a declared encoding name.
std::string iconvName(std::string_view declared) {
    static const char* const windowsJapanese[] = {"shift_jis", "shift-jis", "sjis",        "x-sjis", "ms_kanji",
                                                  "csshiftjis", "windows-31j", "cp932", "ms932"};
    const auto lower = lowerAscii(declared);
    if (lower == "utf-8" || lower == "utf8")
        return utf8Name;
    if (std::find(std::begin(windowsJapanese), std::end(windowsJapanese), lower) != std::end(windowsJapanese))
        return "CP932";
    return std::string(declared);
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

// The length of the well-formed UTF-8 sequence at the start of text, or 0.
std::size_t utf8SequenceLength(std::string_view text) {
    const auto lead = static_cast<unsigned char>(text[0]);
    std::size_t length;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        length = 2;
    else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0)
            low = 0xA0; // no overlong forms
        if (lead == 0xED)
            high = 0x9F; // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0)
            low = 0x90;
        if (lead == 0xF4)
            high = 0x8F; // nothing beyond U+10FFFF
    } else
        return 0;
    if (text.size() < length)
        return 0;
    for (std::size_t i = 1; i < length; ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < (i == 1 ? low : 0x80) || c > (i == 1 ? high : 0xBF))
            return 0;
    }
    return length;
}

bool isValidUtf8(std::string_view text) {
    while (!text.empty()) {
        const auto length = utf8SequenceLength(text);
        if (length == 0)
            return false;
        text.remove_prefix(length);
    }
    return true;
}

// Converts the whole input with iconv; false when the conversion is unknown
// or any input sequence is invalid or has no representation in `to`.
bool convert(const std::string& from, const std::string& to, std::string_view input, std::string& output) {
    const auto descriptor = iconv_open(to.c_str(), from.c_str());
    if (descriptor == reinterpret_cast<iconv_t>(-1))
        return false;
    std::string result(input.size() * 2 + 16, '\0');
    auto* in = const_cast<char*>(input.data()); // iconv takes char** but does not write the input
    auto inLeft = input.size();
    std::size_t used = 0;
    bool ok = true;
    for (;;) {
        auto* out = result.data() + used;
        auto outLeft = result.size() - used;
        const bool flushing = inLeft == 0;
        const auto status = flushing ? iconv(descriptor, nullptr, nullptr, &out, &outLeft)
                                     : iconv(descriptor, &in, &inLeft, &out, &outLeft);
        used = result.size() - outLeft;
        if (status != static_cast<std::size_t>(-1)) {
            if (flushing)
                break;
            continue;
        }
        if (errno != E2BIG) {
            ok = false; // EILSEQ or a sequence cut short at the end (EINVAL)
            break;
        }
        result.resize(result.size() * 2);
    }
    iconv_close(descriptor);
    if (!ok)
        return false;
    result.resize(used);
    output = std::move(result);
    return true;
}

} // namespace

bool decodeXml(std::string_view bytes, XmlEncoding& encoding, std::string& utf8) {
    XmlEncoding found;
    std::string_view body = bytes;
    const auto* signature = findSignature(bytes);
    if (signature) {
        found.name = signature->encoding;
        if (signature->isByteOrderMark) {
            found.byteOrderMark = std::string(signature->bytes);
            body.remove_prefix(signature->bytes.size());
        }
    } else {
        const auto declared = declaredEncoding(bytes);
        if (!declared.empty() && !isEncodingName(declared))
            return false;
        if (!declared.empty())
            found.name = iconvName(declared);
    }

    std::string text;
    if (found.name == utf8Name) {
        if (!isValidUtf8(body))
            return false;
        text = std::string(body);
    } else if (!convert(found.name, utf8Name, body, text)) {
        return false;
    }
    // A declaration that does not read back as one was written in another
    // encoding than the one it names.
    if (!signature && found.name != utf8Name && text.compare(0, 5, "<?xml") != 0)
        return false;
    if (text.find('\0') != std::string::npos)
        return false;

    encoding = std::move(found);
    utf8 = std::move(text);
    return true;
}

bool encodeXml(std::string_view utf8, const XmlEncoding& encoding, std::string& bytes) {
    std::string text;
    if (encoding.name == utf8Name)
        text = std::string(utf8);
    else if (!convert(utf8Name, encoding.name, utf8, text))
        return false;
    bytes = encoding.byteOrderMark + text;
    return true;
}

} // namespace tern::utility::xml
