// Reading the attributes the layout items share, and telling the load
// listener what a layout item's element drops or defaults.
//
// The readers keep the item's behaviour exactly: a value that is not
// recognised leaves the field at its default, silently for the item. The
// reports are only a side channel for tools that explain a definition.

#pragma once

#include "components/utility/xml.h"
#include "update/layout/layout_item.h"

#include <string>

namespace tern::update::layout {

// "Mode": "Normal" or "EM_NORMAL", "3dMode", "RedMode". Any other non-empty
// value leaves mode as it is.
void readMode(ItemMode& mode, const utility::xml::Element& element);
// "Pos": "First", "Last" or "EP_LAST", "Before", "After". Any other
// non-empty value leaves pos as it is.
void readPos(ItemPos& pos, const utility::xml::Element& element);
// A boolean attribute; a value that does not read as one leaves value.
void readFlag(bool& value, const utility::xml::Element& element, const wchar_t* name);

// Reports that the element lacks `what` (e.g. "a \"Name\"") and what
// follows (e.g. "makes nothing").
void reportMissing(const utility::xml::Element& element, const wchar_t* what, const wchar_t* consequence);
// Reports a "Before" or "After" position without a target.
void reportMissingTarget(const utility::xml::Element& element, ItemPos pos, const std::wstring& target);
// Reports an element the DOM failed to read, which its item drops.
void reportUnreadable(const utility::xml::Element& element);

} // namespace tern::update::layout
