// The encodings of XML files: which encoding a file's bytes are in, and
// whether the text decoded from them is the file's text. Decided here once
// for both DOM backends; each backend only converts between bytes in a named
// encoding and the text its DOM parses.
//
// A file's encoding is decided as an XML processor does: a byte-order mark
// (UTF-8, UTF-16 or UTF-32) decides; else a file that begins with "<?" in
// UTF-16 is UTF-16 without a mark; else the encoding="..." of the
// declaration decides (letter case ignored); else the file is UTF-8.
// Windows reads "Shift_JIS" and its aliases as code page 932, where 0x5C is
// the backslash of every path the settings hold, so every platform reads
// and writes them as "cp932".
//
// Decoding fails, rather than misreading the file, when the declared name is
// not an encoding name or the backend does not know it, when a byte
// sequence is invalid in the encoding, when the text holds a NUL character,
// and when the declaration cannot be read back in the encoding it names (a
// single-byte file declaring UTF-16, say). A character the file's encoding
// cannot represent is encoded as a character reference in text and
// attribute values (character_references.h); encoding fails when one
// stands anywhere else.

#pragma once

#include "components/utility/character_references.h"

#include <algorithm>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace tern::utility::xml {

// How a document's text was encoded, so that it can be written back alike.
struct XmlEncoding {
    // In lower case: "utf-8", "utf-16le", "utf-16be", "utf-32le", "utf-32be",
    // "cp932", or another name the declaration gave.
    std::string name = "utf-8";
    std::string byteOrderMark; // the mark the bytes began with; empty for none
};

// What the start of a file says about its encoding.
struct DetectedEncoding {
    XmlEncoding encoding;
    std::string_view body; // the bytes after the byte-order mark
    bool declared = false; // named by the declaration rather than by the first bytes
};

// The encoding of the bytes; nothing when the declaration names something
// that is not an encoding name.
std::optional<DetectedEncoding> detectEncoding(std::string_view bytes);

// Whether text decoded as `detected` says is the file's text: no NUL, and a
// declaration that reads back as one when it named the encoding.
template <typename Text>
bool isFaithfulDecoding(const DetectedEncoding& detected, const Text& text) {
    using Char = typename Text::value_type;
    if (text.find(Char()) != Text::npos)
        return false;
    if (!detected.declared || detected.encoding.name == "utf-8")
        return true;
    constexpr std::string_view opening = "<?xml";
    return text.size() >= opening.size() &&
           std::equal(opening.begin(), opening.end(), text.begin(), [](char a, Char b) { return Char(a) == b; });
}

// Decodes a file's bytes into the text a DOM parses, and tells how they were
// encoded. `convert(body, encodingName, text)` is the backend's conversion of
// the bytes after the byte-order mark, false when it cannot read them.
// `encoding` and `text` are left as they were on failure.
template <typename Text, typename Convert>
bool decodeXml(std::string_view bytes, Convert convert, XmlEncoding& encoding, Text& text) {
    const std::optional<DetectedEncoding> detected = detectEncoding(bytes);
    Text decoded;
    if (!detected || !convert(detected->body, detected->encoding.name, decoded) ||
        !isFaithfulDecoding(*detected, decoded))
        return false;
    encoding = detected->encoding;
    text = std::move(decoded);
    return true;
}

// Encodes a DOM's printed text into the file's bytes, byte-order mark
// first, with references for the characters the encoding lacks.
// `convert(text, encodingName, bytes)` is the backend's conversion, false
// when a character has no representation in the encoding. False when such
// a character is not in text or an attribute value.
template <typename Text, typename Convert>
bool encodeXml(const Text& text, Convert convert, const XmlEncoding& encoding, std::string& bytes) {
    std::string encoded;
    if (!convert(text, encoding.name, encoded)) {
        const std::function<bool(const Text&)> encodable = [&](const Text& piece) {
            std::string ignored;
            return convert(piece, encoding.name, ignored);
        };
        Text referenced;
        if (!referenceUnencodable(text, encodable, referenced) || !convert(referenced, encoding.name, encoded))
            return false;
    }
    bytes = encoding.byteOrderMark + encoded;
    return true;
}

} // namespace tern::utility::xml
