// Conversions between a file's bytes, in an encoding named as
// components/utility/xml_encoding.h names it, and the UTF-16 text that
// MSXML parses and that the backend prints. Names map to Windows code pages
// ("CP932" to code page 932); the Unicode encodings are converted here, as
// the code-page functions do not take them.

#pragma once

#include <string>
#include <string_view>

namespace tern::utility::xml {

// Decodes bytes in the encoding into UTF-16; false when the encoding is
// unknown or a byte sequence is invalid in it.
bool decodeText(std::string_view bytes, const std::string& encoding, std::wstring& text);

// Encodes UTF-16 text into the encoding; false when a character has no
// representation in it.
bool encodeText(std::wstring_view text, const std::string& encoding, std::string& bytes);

} // namespace tern::utility::xml
