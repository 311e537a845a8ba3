// Characters that a file's encoding lacks, written as character references
// ("&#x1F600;"), as a DOM writes them when it saves: an edit whose text the
// file's encoding cannot hold is kept rather than lost.
//
// References are read back as characters only in text and in attribute
// values. In a name, a comment, a CDATA section, a processing instruction,
// an entity reference or the document type such a character has no form
// the file can hold, and the text cannot be written.
//
// Both DOM backends' printed text goes through here: UTF-8 in a
// std::string (pugixml) and wide text in a std::wstring (MSXML, UTF-16).

#pragma once

#include <functional>
#include <string>

namespace tern::utility::xml {

// The printed XML `text` with each character for which `encodable` is false
// written as a character reference, into `out`. `encodable(piece)` tells
// whether a piece of the text has a form in the file's encoding. False,
// with `out` unspecified, when such a character stands where a reference
// would not read back as it.
template <typename Text>
bool referenceUnencodable(const Text& text, const std::function<bool(const Text&)>& encodable, Text& out);

extern template bool referenceUnencodable(const std::string&, const std::function<bool(const std::string&)>&,
                                          std::string&);
extern template bool referenceUnencodable(const std::wstring&, const std::function<bool(const std::wstring&)>&,
                                          std::wstring&);

} // namespace tern::utility::xml
