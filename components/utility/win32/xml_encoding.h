// The encodings of XML files, between their bytes and the UTF-16 text that
// MSXML parses and that the backend prints.
//
// A file's encoding is decided as an XML processor does: a byte-order mark
// (UTF-8, UTF-16 or UTF-32) decides; else a file that begins with "<?" in
// UTF-16 is UTF-16 without a mark; else the encoding="..." of the
// declaration decides (letter case ignored); else the file is UTF-8.
// Declared names map to Windows code pages ("Shift_JIS" and its aliases to
// code page 932).
//
// Decoding fails, rather than misreading the file, when the encoding is
// unknown, when a byte sequence is invalid in it, when the text holds a NUL
// character, and when the declaration cannot be read back in the encoding it
// names (a single-byte file declaring UTF-16, say). Encoding fails when a
// character has no representation in the file's encoding.

#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tern::utility::xml {

// How a document's text was encoded, so that it can be written back alike.
struct XmlEncoding {
    std::uint32_t codePage = 65001; // a Windows code page; UTF-8 unless the file says otherwise
    std::string byteOrderMark;      // the mark the bytes began with; empty for none
};

bool decodeXml(std::string_view bytes, XmlEncoding& encoding, std::wstring& text);
bool encodeXml(std::wstring_view text, const XmlEncoding& encoding, std::string& bytes);

} // namespace tern::utility::xml
