// The registry that creates setting edit items by element name.
//
// One table lives while one definition file is read. registerItems fills it
// with an empty prototype of each item class; create gives a clone of the
// prototype registered under exactly that name (case-sensitive), or null.

#pragma once

#include <map>
#include <string>
#include <vector>

namespace tern::update::setting {

class ISettingItem;

class SettingItemTable {
public:
    SettingItemTable() = default;
    SettingItemTable(const SettingItemTable&) = delete;
    SettingItemTable& operator=(const SettingItemTable&) = delete;
    virtual ~SettingItemTable();

    // Registers "IfN" and "AddNode"; does nothing on a table already filled.
    void registerItems();
    // A new item owned by the caller; null for a null, empty or unknown name.
    ISettingItem* create(const wchar_t* name) const;
    // The registered element names, in the table's order.
    std::vector<std::wstring> names() const;

    // Element name to owned prototype.
    std::map<std::wstring, ISettingItem*> prototypes;
};

} // namespace tern::update::setting
