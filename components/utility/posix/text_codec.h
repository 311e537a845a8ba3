// Conversions between a file's bytes, in an encoding named as
// components/utility/xml_encoding.h names it, and the UTF-8 text pugixml
// parses and prints. UTF-8 itself is checked here; every other encoding
// goes to the C library's iconv.

#pragma once

#include <string>
#include <string_view>

namespace tern::utility::xml {

// Decodes bytes in the encoding into UTF-8; false when the encoding is
// unknown or a byte sequence is invalid in it.
bool decodeText(std::string_view bytes, const std::string& encoding, std::string& utf8);

// As decodeText for `body`, the end of `bytes`; UTF-8 is checked where it
// lies and `bytes`, what goes before `body` cut off, becomes the text
// rather than a copy of it. `bytes` and `body` are not to be read after a
// decoding that succeeded.
bool decodeOwnedText(std::string& bytes, std::string_view body, const std::string& encoding, std::string& utf8);

// Encodes UTF-8 text into the encoding; false when a character has no
// representation in it.
bool encodeText(std::string_view utf8, const std::string& encoding, std::string& bytes);

} // namespace tern::utility::xml
