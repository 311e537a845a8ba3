#include "components/utility/character_references.h"

#include "components/utility/xml_text_runs.h"
#include "platform/text.h"

#include <cstddef>

namespace tern::utility::xml {
namespace {

// The length of the character that starts at `at`, a surrogate pair where
// wide text is UTF-16, with its code point in `code`. An unpaired surrogate
// is one unit, whose code no reference may name.
std::size_t characterAt(const std::wstring& text, std::size_t at, char32_t& code) {
    code = static_cast<char32_t>(text[at]);
    if (sizeof(wchar_t) == 2 && code >= 0xD800 && code <= 0xDBFF && at + 1 < text.size()) {
        const auto low = static_cast<char32_t>(text[at + 1]);
        if (low >= 0xDC00 && low <= 0xDFFF) {
            code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
            return 2;
        }
    }
    return 1;
}

// Runs are taken apart character by character as wide text.
std::wstring toWide(const std::wstring& text) { return text; }
std::wstring toWide(const std::string& utf8) { return platform::fromUtf8(utf8); }
void append(std::wstring& out, const std::wstring& wide) { out += wide; }
void append(std::string& out, const std::wstring& wide) { out += platform::toUtf8(wide); }

// Whether a character reference may name the code point: an XML character.
bool isReferable(char32_t code) {
    return code == 0x9 || code == 0xA || code == 0xD || (code >= 0x20 && code <= 0xD7FF) ||
           (code >= 0xE000 && code <= 0xFFFD) || (code >= 0x10000 && code <= 0x10FFFF);
}

// "&#x1F600;" for U+1F600.
std::wstring referenceTo(char32_t code) {
    static constexpr wchar_t digits[] = L"0123456789ABCDEF";
    std::wstring hex;
    for (; code != 0; code >>= 4)
        hex.insert(hex.begin(), digits[code & 0xF]);
    return L"&#x" + hex + L";";
}

} // namespace

template <typename Text>
bool referenceUnencodable(const Text& text, const std::function<bool(const Text&)>& encodable, Text& out) {
    out.clear();
    return text_runs::visitRuns(text, [&](std::size_t begin, std::size_t end, bool readsReferences) {
        const Text run = text.substr(begin, end - begin);
        if (encodable(run)) {
            out += run;
            return true;
        }
        if (!readsReferences)
            return false;
        const std::wstring wide = toWide(run);
        for (std::size_t at = 0; at < wide.size();) {
            char32_t code = 0;
            const std::size_t length = characterAt(wide, at, code);
            const std::wstring character = wide.substr(at, length);
            Text piece;
            append(piece, character);
            if (encodable(piece))
                out += piece;
            else if (isReferable(code))
                append(out, referenceTo(code));
            else
                return false;
            at += length;
        }
        return true;
    });
}

template bool referenceUnencodable(const std::string&, const std::function<bool(const std::string&)>&, std::string&);
template bool referenceUnencodable(const std::wstring&, const std::function<bool(const std::wstring&)>&,
                                   std::wstring&);

} // namespace tern::utility::xml
