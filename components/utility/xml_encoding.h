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
// single-byte file declaring UTF-16, say). It also fails, rather than
// letting a later save destroy the file, for an encoding in which the text
// would be written in a form that no longer reads as that encoding: UTF-7
// reads a plain "<?xml" declaration but writes "<" as "+ADw-", and what it
// wrote would be taken for UTF-8. A character the file's encoding cannot
// represent is encoded as a character reference in text and attribute
// values (character_references.h); encoding fails when one stands anywhere
// else.

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

// Whether text written back in the encoding the declaration named reads
// again as that encoding: the declaration, encoded, must be found again and
// decode to itself. `decode` and `encode` are the backend's conversions, as
// decodeXml and encodeXml take them.
template <typename Text, typename Decode, typename Encode>
bool readsBackOnceWritten(const DetectedEncoding& detected, const Text& text, Decode decode, Encode encode) {
    using Char = typename Text::value_type;
    if (!detected.declared || detected.encoding.name == "utf-8")
        return true;
    const Text declaration = text.substr(0, text.find(Char('>')) + 1);
    std::string written;
    Text readBack;
    if (!encode(declaration, detected.encoding.name, written))
        return false;
    const std::optional<DetectedEncoding> again = detectEncoding(written);
    return again && again->encoding.name == detected.encoding.name &&
           decode(again->body, detected.encoding.name, readBack) && readBack == declaration;
}

// Why bytes whose encoding was detected as `detected` fail to decode, for a
// caller to show: the file's bytes, its text, or its text written back do
// not read as that encoding.
enum class DecodingFailure { bytes, text, writtenText };
std::wstring describeDecodingFailure(DecodingFailure failure, const std::string& encodingName);
// Why bytes whose declaration names no encoding fail to decode.
std::wstring describeUnnamedEncoding();

// Decodes a file's bytes into the text a DOM parses, and tells how they were
// encoded. `decode(body, encodingName, text)` is the backend's conversion of
// the bytes after the byte-order mark, false when it cannot read them;
// `encode` its conversion back, as encodeXml takes it. The body is decoded
// first and not read again, so that `decode` may take the bytes over as
// the text. On failure `encoding` and `text` are left as they were and
// `problem` says why.
template <typename Text, typename Decode, typename Encode>
bool decodeXml(std::string_view bytes, Decode decode, Encode encode, XmlEncoding& encoding, Text& text,
               std::wstring& problem) {
    const std::optional<DetectedEncoding> detected = detectEncoding(bytes);
    if (!detected) {
        problem = describeUnnamedEncoding();
        return false;
    }
    const std::string& name = detected->encoding.name;
    Text decoded;
    if (!decode(detected->body, name, decoded))
        problem = describeDecodingFailure(DecodingFailure::bytes, name);
    else if (!isFaithfulDecoding(*detected, decoded))
        problem = describeDecodingFailure(DecodingFailure::text, name);
    else if (!readsBackOnceWritten(*detected, decoded, decode, encode))
        problem = describeDecodingFailure(DecodingFailure::writtenText, name);
    else {
        encoding = detected->encoding;
        text = std::move(decoded);
        return true;
    }
    return false;
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
    // The text of a large file is moved rather than copied when no mark goes before it.
    bytes = encoding.byteOrderMark.empty() ? std::move(encoded) : encoding.byteOrderMark + encoded;
    return true;
}

} // namespace tern::utility::xml
