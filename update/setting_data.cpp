#include "update/update_data.h"

#include "platform/com_apartment.h"
#include "platform/text.h"
#include "update/file_events.h"
#include "update/load_report.h"
#include "update/owned_pointers.h"
#include "update/run_report.h"
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

namespace {

// A section whose file could not be edited: the reason's detail is added
// only when someone listens.
void reportNotEdited(const std::wstring& file, const wchar_t* reason, const std::wstring& detail = {}) {
    report([&] {
        return core::RunEventDetails{core::RunEvent::settingEditNotApplied, file, {}, {}, {}, {}, reason + detail};
    });
}

} // namespace

bool SettingData::apply(const wchar_t* folder) {
    if (!folder || !*folder || path.empty() || items.empty())
        return false;
    file = std::wstring(folder) + path;
    const platform::ComApartment apartment;
    if (!apartment.ok()) {
        reportNotEdited(file, L"the XML parser could not be started");
        return false;
    }
    try {
        // A file that is missing is never created: only an existing one is edited.
        xml::Document document;
        std::wstring why;
        if (!xml::load(document, file, false, &why)) {
            reportNotEdited(file, L"the settings file cannot be edited: ", why);
            return false;
        }
        xml::enableXPath(document);
        xml::Element root;
        if (!xml::getRootElement(root, document)) {
            reportNotEdited(file, L"the settings file has no root element");
            return false;
        }
        // Every item runs, so later items see what earlier ones inserted.
        bool changed = false;
        for (setting::ISettingItem* item : items)
            if (item)
                changed |= item->apply(this, root, document);
        // Unchanged files are not rewritten, so their bytes and times stay.
        if (!changed)
            return false;
        const bool saved = xml::save(document, file);
        reportSave(file, saved);
        return saved;
    } catch (const xml::DomError& error) {
        // Half-applied edits exist only in memory: the file keeps its content.
        reportNotEdited(file, L"the edits failed, the file keeps its content: ", platform::fromUtf8(error.what()));
        return false;
    }
}

} // namespace tern::update
