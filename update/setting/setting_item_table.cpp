#include "update/setting/setting_item_table.h"

#include "update/setting/add_node.h"
#include "update/setting/if_n.h"

namespace tern::update::setting {

SettingItemTable::~SettingItemTable() {
    for (auto& [name, prototype] : prototypes)
        delete prototype;
}

void SettingItemTable::registerItems() {
    if (!prototypes.empty())
        return;
    const auto add = [this](ISettingItem* prototype) { prototypes.emplace(prototype->getNodeName(), prototype); };
    add(new IfN);
    add(new AddNode);
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
