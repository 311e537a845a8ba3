// SettingItemTable: the registry that creates setting items by element name.

#include "update/setting/add_node.h"
#include "update/setting/if_n.h"
#include "update/setting/setting_item_table.h"

#include <gtest/gtest.h>

#include <memory>

namespace tern::update::setting {
namespace {

TEST(SettingItemTable, RegisterItems_RegistersAddNodeAndIfN_Once) {
    SettingItemTable table;
    table.registerItems();
    const auto first = table.prototypes;
    table.registerItems();
    EXPECT_EQ(table.prototypes, first);
    EXPECT_EQ(table.names(), (std::vector<std::wstring>{L"AddNode", L"IfN"}));
    EXPECT_NE(dynamic_cast<AddNode*>(table.prototypes.at(L"AddNode")), nullptr);
    // The prototype is not loaded, so on its own it applies nothing.
    EXPECT_EQ(dynamic_cast<IfN&>(*table.prototypes.at(L"IfN")).state, 0);
}

TEST(SettingItemTable, Create_GivesANewItemOfTheNamedClass_AndNullForAnyOtherName) {
    EXPECT_EQ(SettingItemTable().create(L"AddNode"), nullptr);
    SettingItemTable table;
    table.registerItems();
    std::unique_ptr<ISettingItem> first(table.create(L"AddNode"));
    std::unique_ptr<ISettingItem> second(table.create(L"AddNode"));
    std::unique_ptr<ISettingItem> condition(table.create(L"IfN"));
    EXPECT_NE(dynamic_cast<AddNode*>(first.get()), nullptr);
    EXPECT_NE(dynamic_cast<IfN*>(condition.get()), nullptr);
    EXPECT_NE(first.get(), second.get());
    EXPECT_NE(first.get(), table.prototypes.at(L"AddNode"));
    for (const wchar_t* name : {L"addnode", L"IFN", L"Setting", L""})
        EXPECT_EQ(table.create(name), nullptr) << name;
    EXPECT_EQ(table.create(nullptr), nullptr);
}

} // namespace
} // namespace tern::update::setting
