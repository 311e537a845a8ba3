// "AddNode": inserts an XML fragment under the node an XPath selects.
//
// The element's content is the fragment. It is kept as the element's whole
// outer XML text and parsed afresh for each application, so every child node
// (elements, text, CDATA, comments) arrives in order as a new last child of
// the first node the XPath selects. An "AddNode" without content inserts
// nothing but still counts as a change.

#pragma once

#include "update/setting/setting_item.h"

#include <string>

namespace tern::update::setting {

class AddNode : public ISettingItem {
public:
    ISettingItem* clone() const override;
    const wchar_t* getNodeName() const override;
    // False for another element name, a missing "XPath" or no outer XML.
    bool load(utility::xml::Node node, SettingItemTable& table) override;
    // False, leaving the document as it was, when a field is empty, the XPath
    // selects nothing or the fragment does not parse.
    bool apply(SettingData* owner, utility::xml::Node root, utility::xml::Document document) override;

    std::wstring xpath;
    std::wstring xml;
};

} // namespace tern::update::setting
