#include "update/update_data.h"

#include "update/layout/command.h"
#include "update/layout/make_group.h"
#include "update/layout/make_popup_menu.h"
#include "update/layout/make_tab.h"
#include "update/load_report.h"
#include "update/owned_pointers.h"
#include "update/skipped_element.h"

#include <memory>

namespace tern::update {

namespace xml = utility::xml;

namespace {

// Makes an item of one class with its defaults and reads it from element;
// null when the item's own load rejects the element.
template <class Item> std::unique_ptr<layout::ILayoutItem> loadItem(const xml::Element& element) {
    auto item = std::make_unique<Item>();
    if (!item->load(element))
        return nullptr;
    return item;
}

struct ItemKind {
    std::wstring_view name; // its length known, for the comparison with every element
    std::unique_ptr<layout::ILayoutItem> (*load)(const xml::Element&);
};

// The layout item elements, matched by exact name.
const ItemKind itemKinds[] = {
    {L"Command", loadItem<layout::Command>},
    {L"MakeTab", loadItem<layout::MakeTab>},
    {L"MakeGroup", loadItem<layout::MakeGroup>},
    {L"MakePopupMenu", loadItem<layout::MakePopupMenu>},
};

const ItemKind* findKind(const xml::Node& element) {
    for (const ItemKind& kind : itemKinds)
        if (xml::checkNodeName(element, kind.name))
            return &kind;
    return nullptr;
}

std::vector<std::wstring> kindNames() {
    std::vector<std::wstring> names;
    for (const ItemKind& kind : itemKinds)
        names.emplace_back(kind.name);
    return names;
}

} // namespace

// Delegating makes this object whole before the items are cloned, so its
// destructor deletes the clones made before one that throws.
LayoutData::LayoutData(const LayoutData& other) : LayoutData() { cloneAll(items, other.items); }

// Copy and swap: a clone that throws leaves this object as it was.
LayoutData& LayoutData::operator=(const LayoutData& other) {
    LayoutData copy(other);
    items.swap(copy.items);
    return *this;
}

LayoutData::~LayoutData() { clear(); }

void LayoutData::clear() { deleteAll(items); }

bool LayoutData::load(const xml::Node& node) {
    clear();
    if (!node)
        return false;
    reportUnknownAttributes(node.asElement(), {});
    for (xml::Element child = node.firstChildElement(); child; child = child.nextSiblingElement()) {
        const ItemKind* kind = findKind(child);
        if (!kind) {
            reportDropped(child, [&] { return skippedElementMessage(child, L"Layout", kindNames()); });
            continue;
        }
        // The item's own load tells the listener what it rejects.
        if (auto item = kind->load(child))
            pushOwned(items, std::move(item));
    }
    return true;
}

} // namespace tern::update
