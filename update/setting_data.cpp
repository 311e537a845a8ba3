#include "update/update_data.h"

#include "platform/com_apartment.h"
#include "update/load_report.h"
#include "update/owned_pointers.h"
#include "update/setting/item_loading.h"
#include "update/setting/setting_item.h"
#include "update/skipped_element.h"

namespace tern::update {

namespace xml = utility::xml;

SettingData::~SettingData() { clear(); }

void SettingData::clear() {
    deleteAll(items);
    path.clear();
}

bool SettingData::load(xml::Node node, setting::SettingItemTable& table) {
    clear();
    try {
        if (!xml::checkNodeName(node, L"Setting"))
            return false;
        if (!xml::readAttributeText(path, node.asElement(), L"Path")) {
            reportDropped(node, L"A \"Setting\" without a \"Path\" is dropped.");
            return false;
        }
        if (path.empty())
            reportDropped(node, L"A \"Setting\" with an empty \"Path\" edits no file.");
        reportUnknownAttributes(node.asElement(), {L"Path"});
        setting::loadItems(items, node, table);
        return true;
    } catch (const xml::DomError&) {
        reportUnreadableElement(node);
        return false;
    }
}

bool SettingData::apply(const wchar_t* folder) {
    if (!folder || !*folder || path.empty() || items.empty())
        return false;
    const std::wstring file = std::wstring(folder) + path;
    const platform::ComApartment apartment;
    if (!apartment.ok())
        return false;
    try {
        // A file that is missing is never created: only an existing one is edited.
        xml::Document document;
        if (!xml::load(document, file, false))
            return false;
        xml::enableXPath(document);
        xml::Element root;
        if (!xml::getRootElement(root, document))
            return false;
        // Every item runs, so later items see what earlier ones inserted.
        bool changed = false;
        for (setting::ISettingItem* item : items)
            if (item)
                changed |= item->apply(this, root, document);
        // Unchanged files are not rewritten, so their bytes and times stay.
        return changed && xml::save(document, file);
    } catch (const xml::DomError&) {
        // Half-applied edits exist only in memory: the file keeps its content.
        return false;
    }
}

} // namespace tern::update
