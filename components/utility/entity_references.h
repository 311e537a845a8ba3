// Entities, which neither DOM backend keeps as a file wrote them.
//
// pugixml does not expand the entities a document type declares: it would
// read "&e;" as the text "&e;" and write it back as "&amp;e;". MSXML
// expands them, unbounded. Neither writes the declarations and references
// back, so a file with either would change its meaning when it is saved:
// both backends refuse it alike, before it is parsed. A document may still
// use the five references XML predefines (&lt; &gt; &amp; &apos; &quot;)
// and character references (&#38; &#x26;), and a document type that
// declares no entity.

#pragma once

#include <string>

namespace tern::utility::xml {

// Why a document's text (UTF-8 in a std::string, or wide text) cannot be
// kept: it declares an entity, or refers to one other than the predefined
// ones. Empty when it can. Markup that is not well-formed is left to the
// parser to refuse.
template <typename Text> std::wstring findEntityProblem(const Text& text);

extern template std::wstring findEntityProblem(const std::string&);
extern template std::wstring findEntityProblem(const std::wstring&);

} // namespace tern::utility::xml
