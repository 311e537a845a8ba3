#include "components/utility/posix/text_codec.h"

#include <iconv.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <utility>

namespace tern::utility::xml {
namespace {

const std::string utf8Name = "utf-8";

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

// The length of the run of ASCII bytes that opens the text, taken eight
// bytes at a time: most of any file is ASCII.
std::size_t asciiPrefix(std::string_view text) {
    constexpr std::uint64_t highBits = 0x8080808080808080u;
    std::size_t at = 0;
    for (std::uint64_t word = 0; at + sizeof word <= text.size(); at += sizeof word) {
        std::memcpy(&word, text.data() + at, sizeof word);
        if (word & highBits)
            break;
    }
    while (at < text.size() && static_cast<unsigned char>(text[at]) < 0x80)
        ++at;
    return at;
}

bool isValidUtf8(std::string_view text) {
    while (!text.empty()) {
        text.remove_prefix(asciiPrefix(text));
        if (text.empty())
            break;
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

bool decodeText(std::string_view bytes, const std::string& encoding, std::string& utf8) {
    if (encoding != utf8Name)
        return convert(encoding, utf8Name, bytes, utf8);
    if (!isValidUtf8(bytes))
        return false;
    utf8 = std::string(bytes);
    return true;
}

bool decodeOwnedText(std::string& bytes, std::string_view body, const std::string& encoding, std::string& utf8) {
    if (encoding != utf8Name || body.data() + body.size() != bytes.data() + bytes.size())
        return decodeText(body, encoding, utf8);
    if (!isValidUtf8(body))
        return false;
    bytes.erase(0, bytes.size() - body.size());
    utf8 = std::move(bytes);
    return true;
}

bool encodeText(std::string_view utf8, const std::string& encoding, std::string& bytes) {
    if (encoding != utf8Name)
        return convert(utf8Name, encoding, utf8, bytes);
    bytes = std::string(utf8);
    return true;
}

} // namespace tern::utility::xml
