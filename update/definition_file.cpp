#include "update/definition_file.h"

#include "components/utility/xml.h"
#include "platform/com_apartment.h"
#include "update/load_report.h"
#include "update/owned_pointers.h"
#include "update/setting/setting_item_table.h"
#include "update/skipped_element.h"
#include "update/update_data.h"

#include <memory>

namespace tern::update {

namespace xml = utility::xml;

namespace {

bool isNewer(const UpdateData& entry, const UpdateData& than) {
    return entry.major != than.major ? entry.major > than.major : entry.minor > than.minor;
}

// The library relies on entries going newest first (the previous version's
// place among them, the order they are applied in); it does not sort them.
void checkOrder(const UpdateData& entry, const UpdateData* before, const xml::Node& node) {
    if (before && !isNewer(*before, entry))
        reportDropped(node, [&] {
            return L"The entry " + entry.version + L" is not older than the entry before it (" + before->version +
                   L"); entries go newest first.";
        });
}

// Reads the root's entries; false at the first one rejected.
bool loadEntries(std::vector<UpdateData*>& updates, const xml::Element& root, BareLayouts bareLayouts,
                 setting::SettingItemTable& table) {
    const UpdateData* before = nullptr;
    for (xml::Node child = root.firstChild(); child; child = child.nextSibling()) {
        if (!child.isElement())
            continue;
        const bool bareLayout = bareLayouts == BareLayouts::load && xml::checkNodeName(child, L"Layout");
        if (!bareLayout && !xml::checkNodeName(child, L"Update")) {
            reportDropped(child, [&] {
                std::vector<std::wstring> expected{L"Update"};
                if (bareLayouts == BareLayouts::load)
                    expected.emplace_back(L"Layout");
                return skippedElementMessage(child, root.name(), expected);
            });
            continue;
        }
        auto entry = std::make_unique<UpdateData>();
        if (!(bareLayout ? entry->loadLayoutOnly(child) : entry->load(child, table)))
            return false;
        // Bare layouts all stand at 0.0, the oldest version there is.
        if (!bareLayout)
            checkOrder(*entry, before, child);
        before = entry.get();
        pushOwned(updates, std::move(entry));
    }
    return true;
}

} // namespace

bool loadDefinitionFile(std::vector<UpdateData*>& updates, const wchar_t* path, const std::wstring& rootName,
                        BareLayouts bareLayouts) {
    if (!path || !*path)
        return false;
    const platform::ComApartment apartment;
    if (!apartment.ok())
        return false;
    try {
        xml::Document document;
        xml::Element root;
        if (!xml::load(document, path, false) || !xml::getRootElement(root, document))
            return false;
        return loadDefinition(updates, root, rootName, bareLayouts);
    } catch (const xml::DomError&) {
        return false;
    }
}

bool loadDefinition(std::vector<UpdateData*>& updates, const xml::Element& root, const std::wstring& rootName,
                    BareLayouts bareLayouts) {
    setting::SettingItemTable table;
    table.registerItems();
    try {
        if (!xml::checkNodeName(root, rootName)) {
            reportDropped(root, [&] {
                return L"The root element is \"" + root.name() + L"\", not \"" + rootName +
                       L"\", so the whole file is rejected.";
            });
            return false;
        }
        reportUnknownAttributes(root, {});
        return loadEntries(updates, root, bareLayouts, table);
    } catch (const xml::DomError&) {
        return false;
    }
}

} // namespace tern::update
