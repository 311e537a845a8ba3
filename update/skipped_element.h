// What a loader tells the load listener about an element it skips (for its
// name, or because the DOM failed to read it) and about attributes it never
// reads.
//
// Definition files are matched by exact, case-sensitive names, so a name off
// by letter case ("addnode", "sid") is skipped like any unknown one. The
// message says what is expected and, when only letter case differs, the
// right spelling.

#pragma once

#include "components/utility/xml.h"

#include <initializer_list>
#include <string>
#include <vector>

namespace tern::update {

// The message saying that `element`, a child of an element named
// parentName, is skipped because its name is none of expectedNames. Build
// it inside the reportDropped call, so that it is built only for a listener.
std::wstring skippedElementMessage(const utility::xml::Node& element, const std::wstring& parentName,
                                   const std::vector<std::wstring>& expectedNames);

// Reports each attribute of `element` whose name is none of knownNames
// (null entries stand for no name), which the loader never reads. Namespace
// declarations ("xmlns", "xmlns:...") and "xml:..." attributes are the
// document's, not the element's, and pass. Costs nothing but the listener
// test when nobody listens.
void reportUnknownAttributes(const utility::xml::Element& element, std::initializer_list<const wchar_t*> knownNames);
// The same for a loader that has read its attributes in one pass: `others`
// are the names no field named, and the fields' names are the known ones.
void reportUnknownAttributes(const utility::xml::Element& element, const std::vector<std::wstring>& others,
                             const utility::xml::AttributeField* known, std::size_t count);

// Reports that the DOM failed to read `element`, which its loader drops.
void reportUnreadableElement(const utility::xml::Node& element);

} // namespace tern::update
