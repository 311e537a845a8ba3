#include "components/utility/xml_encoding.h"

#include "platform/text.h"

#include <cctype>
#include <iterator>

namespace tern::utility::xml {
namespace {

constexpr std::string_view operator""_bytes(const char* text, std::size_t size) { return {text, size}; }

// A signature at the start of a file that fixes its encoding. The UTF-32
// marks come before UTF-16's, whose little-endian mark is their prefix.
struct Signature {
    std::string_view bytes;
    const char* encoding;
    bool isByteOrderMark;
};

const Signature signatures[] = {
    {"\xEF\xBB\xBF"_bytes, "utf-8", true},
    {"\x00\x00\xFE\xFF"_bytes, "utf-32be", true},
    {"\xFF\xFE\x00\x00"_bytes, "utf-32le", true},
    {"\xFE\xFF"_bytes, "utf-16be", true},
    {"\xFF\xFE"_bytes, "utf-16le", true},
    {"\x00<\x00?"_bytes, "utf-16be", false},
    {"<\x00?\x00"_bytes, "utf-16le", false},
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

// Whether the name has the form XML gives encoding names. This also keeps
// out a conversion library's suffixes ("UTF-8//IGNORE"), which would drop
// characters.
bool isEncodingName(std::string_view name) {
    auto isLetter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
    auto isNameCharacter = [&](char c) {
        return isLetter(c) || (c >= '0' && c <= '9') || c == '.' || c == '_' || c == '-';
    };
    return !name.empty() && isLetter(name[0]) && std::all_of(name.begin(), name.end(), isNameCharacter);
}

// The name the backends know a declared encoding by.
std::string canonicalName(std::string_view declared) {
    static const char* const windowsJapanese[] = {"shift_jis", "shift-jis", "sjis",        "x-sjis", "ms_kanji",
                                                  "csshiftjis", "windows-31j", "cp932", "ms932"};
    const auto lower = lowerAscii(declared);
    if (lower == "utf8")
        return "utf-8";
    if (std::find(std::begin(windowsJapanese), std::end(windowsJapanese), lower) != std::end(windowsJapanese))
        return "cp932";
    return lower;
}

} // namespace

std::optional<DetectedEncoding> detectEncoding(std::string_view bytes) {
    DetectedEncoding detected;
    detected.body = bytes;
    if (const auto* signature = findSignature(bytes)) {
        detected.encoding.name = signature->encoding;
        if (signature->isByteOrderMark) {
            detected.encoding.byteOrderMark = std::string(signature->bytes);
            detected.body.remove_prefix(signature->bytes.size());
        }
    } else if (const auto declared = declaredEncoding(bytes); !declared.empty()) {
        if (!isEncodingName(declared))
            return std::nullopt;
        detected.encoding.name = canonicalName(declared);
        detected.declared = true;
    }
    return detected;
}

std::wstring describeDecodingFailure(DecodingFailure failure, const std::string& encodingName) {
    const std::wstring name = L"\"" + platform::fromUtf8(encodingName) + L"\"";
    switch (failure) {
    case DecodingFailure::bytes:
        return L"its bytes cannot be read as the encoding " + name;
    case DecodingFailure::text:
        return L"its text does not read as the encoding " + name + L" declares it";
    case DecodingFailure::writtenText:
        break;
    }
    return L"text written in the encoding " + name + L" would not read as that encoding again";
}

std::wstring describeUnnamedEncoding() { return L"its declaration names no encoding"; }

} // namespace tern::utility::xml
