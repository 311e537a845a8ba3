#include "update/setting/item_loading.h"

#include "update/load_report.h"
#include "update/owned_pointers.h"
#include "update/setting/setting_item.h"
#include "update/setting/setting_item_table.h"
#include "update/skipped_element.h"

#include <memory>

namespace tern::update::setting {

namespace xml = utility::xml;

namespace {

// Whether expression compiles to a node selection. Evaluated as a union
// with "/*" in a scratch document, the expression selects that document's
// root element exactly when it compiles to a node-set; a malformed
// expression, or one of another type, makes the union fail. The scratch
// document is made afresh each time: a DOM document must not outlive the
// COM apartment of the file being read.
bool compilesToSelection(const std::wstring& expression) {
    const xml::Document scratch = xml::Document::create(L"x");
    xml::Element root;
    xml::Node selected;
    return xml::getRootElement(root, scratch) && xml::selectSingleNode(selected, root, L"/* | (" + expression + L")");
}

} // namespace

bool readItemXPath(std::wstring& xpath, const xml::Node& node, const wchar_t* itemName) {
    if (!xml::checkNodeName(node, itemName))
        return false;
    const std::wstring name = itemName;
    if (!xml::readAttributeText(xpath, node.asElement(), L"XPath")) {
        reportDropped(node, L"An \"" + name + L"\" without an \"XPath\" is dropped.");
        return false;
    }
    if (xpath.empty())
        reportDropped(node, L"An \"" + name + L"\" with an empty \"XPath\" selects nothing.");
    else if (!compilesToSelection(xpath))
        reportDropped(node, L"The \"XPath\" value \"" + xpath + L"\" of an \"" + name +
                                L"\" does not compile to a node selection, so it selects nothing.");
    return true;
}

void loadItems(std::vector<ISettingItem*>& items, const xml::Node& parent, SettingItemTable& table) {
    for (xml::Node child = parent.firstChild(); child; child = child.nextSibling()) {
        if (!child.isElement())
            continue;
        const std::wstring name = child.name();
        std::unique_ptr<ISettingItem> item(table.create(name.c_str()));
        if (!item) {
            reportSkippedElement(child, parent.name(), table.names());
            continue;
        }
        if (item->load(child, table))
            pushOwned(items, std::move(item));
    }
}

} // namespace tern::update::setting
