// What "Setting", "AddNode" and "IfN" share when they are read.

#pragma once

#include "components/utility/xml.h"

#include <string>
#include <vector>

namespace tern::update::setting {

class ISettingItem;
class SettingItemTable;

// Reads the "XPath" attribute of an element named itemName into xpath. False
// for another element name or a missing attribute. An empty value, or one
// that does not compile to a node selection, is kept (the item then never
// selects anything) and told to the load listener.
bool readItemXPath(std::wstring& xpath, const utility::xml::Node& node, const wchar_t* itemName);

// Appends to items, in document order, the items that table creates and
// loads from the child elements of parent. Children of unknown names and
// items whose load fails are skipped.
void loadItems(std::vector<ISettingItem*>& items, const utility::xml::Node& parent, SettingItemTable& table);

} // namespace tern::update::setting
