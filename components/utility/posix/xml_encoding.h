// The encodings of XML files, between their bytes and the UTF-8 text the DOM
// parses and prints.
//
// A file's encoding is decided as an XML processor does: a byte-order mark
// (UTF-8, UTF-16 or UTF-32) decides; else a file that begins with "<?" in
// UTF-16 is UTF-16 without a mark; else the encoding="..." of the
// declaration decides (letter case ignored); else the file is UTF-8. Windows
// reads "Shift_JIS" and its aliases as code page 932, where 0x5C is the
// backslash of every path the settings hold, so they are read and written
// that way here too. Other declared encodings go to the C library's iconv.
//
// Decoding fails, rather than misreading the file, when the encoding is
// unknown, when a byte sequence is invalid in it, when the text holds a NUL
// character, and when the declaration cannot be read back in the encoding it
// names (a single-byte file declaring UTF-16, say).

#pragma once

#include <string>
#include <string_view>

namespace tern::utility::xml {

// How a document's text was encoded, so that it can be written back alike.
struct XmlEncoding {
    std::string name = "UTF-8";  // the encoding as iconv names it
    std::string byteOrderMark;   // the mark the bytes began with; empty for none
};

// Decodes a file's bytes into UTF-8 text and tells how they were encoded.
// False when the bytes cannot be read as described above.
bool decodeXml(std::string_view bytes, XmlEncoding& encoding, std::string& utf8);

// Encodes UTF-8 text back into the given encoding, byte-order mark first.
// False when a character has no representation in that encoding.
bool encodeXml(std::string_view utf8, const XmlEncoding& encoding, std::string& bytes);

} // namespace tern::utility::xml
