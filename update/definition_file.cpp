#include "update/definition_file.h"

#include "components/utility/xml.h"
#include "platform/com_apartment.h"
#include "update/load_report.h"
#include "update/owned_pointers.h"
#include "update/setting/setting_item_table.h"
#include "update/skipped_element.h"
#include "update/update_data.h"

#include <cstdint>
#include <memory>
#include <optional>

namespace tern::update {

namespace xml = utility::xml;

namespace {

// What an entry's order is checked against: the version of the entry read
// before it, which may already be gone to whoever took it.
struct PreviousVersion {
    std::wstring text;
    std::int32_t major = 0;
    std::int32_t minor = 0;
};

bool isNewer(const PreviousVersion& before, const UpdateData& entry) {
    return before.major != entry.major ? before.major > entry.major : before.minor > entry.minor;
}

// The library relies on entries going newest first (the previous version's
// place among them, the order they are applied in); it does not sort them.
void checkOrder(const UpdateData& entry, const std::optional<PreviousVersion>& before, const xml::Node& node) {
    if (before && !isNewer(*before, entry))
        reportDropped(node, [&] {
            return L"The entry " + entry.version + L" is not older than the entry before it (" + before->text +
                   L"); entries go newest first.";
        });
}

// Reads the root's entries; false at the first one rejected.
bool loadEntries(const xml::Element& root, BareLayouts bareLayouts, setting::SettingItemTable& table,
                 const TakeEntry& take) {
    std::optional<PreviousVersion> before;
    for (xml::Element child = root.firstChildElement(); child; child = child.nextSiblingElement()) {
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
        before = PreviousVersion{entry->version, entry->major, entry->minor};
        take(std::move(entry));
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
        return loadDefinition(root, rootName, bareLayouts,
                              [&](std::unique_ptr<UpdateData> entry) { pushOwned(updates, std::move(entry)); });
    } catch (const xml::DomError&) {
        return false;
    }
}

bool loadDefinition(const xml::Element& root, const std::wstring& rootName, BareLayouts bareLayouts,
                    const TakeEntry& take) {
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
        return loadEntries(root, bareLayouts, table, take);
    } catch (const xml::DomError&) {
        return false;
    }
}

} // namespace tern::update
