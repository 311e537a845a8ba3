// The names the XML functions give new elements and attributes, checked
// alike by both DOM backends: neither DOM refuses every name that would not
// read back as a name.
//
// A name is an XML name here when ASCII letters, "_" or ":" start it and
// ASCII letters, digits, "_", ":", "-" and "." follow; every character
// beyond ASCII counts as a letter.

#pragma once

#include <string>

namespace tern::utility::xml {

// Raises DomError naming the name when it is not an XML name.
void requireName(const std::wstring& name);

} // namespace tern::utility::xml
