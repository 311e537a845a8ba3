#include "update/setting/item_loading.h"

#include "update/load_report.h"
#include "update/owned_pointers.h"
#include "update/setting/setting_item.h"
#include "update/setting/setting_item_table.h"
#include "update/skipped_element.h"

#include <memory>

namespace tern::update::setting {

namespace xml = utility::xml;

bool readItemXPath(std::wstring& xpath, const xml::Node& node, const wchar_t* itemName) {
    if (!xml::checkNodeName(node, itemName))
        return false;
    if (!xml::readAttributeText(xpath, node.asElement(), L"XPath")) {
        reportDropped(node, [&] { return L"An \"" + std::wstring(itemName) + L"\" without an \"XPath\" is dropped."; });
        return false;
    }
    if (xpath.empty())
        reportDropped(
            node, [&] { return L"An \"" + std::wstring(itemName) + L"\" with an empty \"XPath\" selects nothing."; });
    // The expression is compiled only to be reported: not at all when nobody listens.
    else if (loadListener() && !xml::compilesToNodeSet(xpath))
        reportDropped(node, [&] {
            return L"The \"XPath\" value \"" + xpath + L"\" of an \"" + itemName +
                   L"\" does not compile to a node selection, so it selects nothing.";
        });
    return true;
}

void loadItems(std::vector<ISettingItem*>& items, const xml::Node& parent, SettingItemTable& table) {
    for (xml::Element child = parent.firstChildElement(); child; child = child.nextSiblingElement()) {
        const std::wstring name = child.name();
        std::unique_ptr<ISettingItem> item(table.create(name.c_str()));
        if (!item) {
            reportDropped(child, [&] { return skippedElementMessage(child, parent.name(), table.names()); });
            continue;
        }
        if (item->load(child, table))
            pushOwned(items, std::move(item));
    }
}

} // namespace tern::update::setting
