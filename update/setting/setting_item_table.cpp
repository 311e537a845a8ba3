#include "update/setting/setting_item_table.h"

#include "update/owned_pointers.h"
#include "update/setting/add_node.h"
#include "update/setting/if_n.h"

#include <memory>

namespace tern::update::setting {

SettingItemTable::~SettingItemTable() { deleteAll(prototypes); }

void SettingItemTable::registerItems() {
    if (!prototypes.empty())
        return;
    // The map's entry is made before the prototype is handed over to it.
    const auto add = [this](std::unique_ptr<ISettingItem> prototype) {
        ISettingItem*& entry = prototypes[prototype->getNodeName()];
        entry = prototype.release();
    };
    add(std::make_unique<IfN>());
    add(std::make_unique<AddNode>());
}

ISettingItem* SettingItemTable::create(const wchar_t* name) const {
    if (!name || !*name)
        return nullptr;
    const auto found = prototypes.find(name);
    return found == prototypes.end() ? nullptr : found->second->clone();
}

std::vector<std::wstring> SettingItemTable::names() const {
    std::vector<std::wstring> result;
    for (const auto& [name, prototype] : prototypes)
        result.push_back(name);
    return result;
}

} // namespace tern::update::setting
