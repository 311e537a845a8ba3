// "IfN": applies its nested items only when its XPath selects nothing.
//
// Wrapped around an "AddNode" that adds the very node the XPath tests for,
// it makes an insertion happen once however often its section is applied.
//
// Nesting is bounded when loading: an "IfN" nested deeper than maxDepth is
// dropped (and told to the load listener), so loading, applying, copying and
// destroying, which recurse once per level, never exhaust the stack whatever
// a definition file holds. Real definitions nest two or three levels.

#pragma once

#include "update/setting/setting_item.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tern::update::setting {

class IfN : public ISettingItem {
public:
    // The deepest nesting of "IfN" elements that loads, counting the
    // outermost as 1.
    static constexpr int maxDepth = 100;

    IfN() = default;
    IfN(const IfN&) = delete;
    IfN& operator=(const IfN&) = delete;
    ~IfN() override;

    ISettingItem* clone() const override;
    const wchar_t* getNodeName() const override;
    // False for another element name, a missing "XPath" or too deep a
    // nesting. Nested elements that are not items, or whose own load fails,
    // are skipped; true also when none is kept.
    bool load(utility::xml::Node node, SettingItemTable& table) override;
    // When the XPath selects nothing, applies every nested item in order and
    // gives true when any of them changed the document.
    bool apply(SettingData* owner, utility::xml::Node root, utility::xml::Document document) override;

    // Owned; destroyed with this item and copied through clone.
    std::vector<ISettingItem*> items;
    std::wstring xpath;
    // 1 once "XPath" has been read; apply does nothing before.
    std::int32_t state = 0;

private:
    void clear();
};

} // namespace tern::update::setting
