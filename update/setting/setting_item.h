// The setting edit items: rules of a "Setting" section that edit a settings
// XML file by XPath.
//
// An item is read once from its element (load) and applied later, any number
// of times, to a loaded settings document (apply). Items are created by
// element name through a SettingItemTable, owned by raw pointer by their
// section or enclosing "IfN", copied with clone and destroyed through the
// virtual destructor.

#pragma once

#include "components/utility/xml.h"

namespace tern::update {
class SettingData;
}

namespace tern::update::setting {

class SettingItemTable;

class ISettingItem {
public:
    virtual ~ISettingItem() = default;

    // A new, independent deep copy of the same class; the caller owns it.
    virtual ISettingItem* clone() const = 0;
    // The element name the item is read from ("AddNode", "IfN").
    virtual const wchar_t* getNodeName() const = 0;
    // Reads the item from its element; nested items are created through
    // table. False when the element is not a valid item: the caller destroys
    // the item. What is dropped is told to the load listener.
    virtual bool load(utility::xml::Node node, SettingItemTable& table) = 0;
    // Applies the item to a loaded document; root is the XPath context (the
    // document element) and owner the section being applied. True when the
    // document changed. A DomError raised while editing passes to the
    // section, which then abandons the file unsaved.
    virtual bool apply(SettingData* owner, utility::xml::Node root, utility::xml::Document document) = 0;

protected:
    ISettingItem() = default;
    ISettingItem(const ISettingItem&) = default;
    ISettingItem& operator=(const ISettingItem&) = default;
};

} // namespace tern::update::setting
