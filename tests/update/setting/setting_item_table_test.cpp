// SettingItemTable: the registry that creates setting items by element name.

#include "update/setting/add_node.h"
#include "update/setting/if_n.h"
#include "update/setting/setting_item_table.h"

#include <gtest/gtest.h>

#include <memory>

namespace tern::update::setting {
namespace {

TEST(SettingItemTable, RegisterItems_RegistersAddNodeAndIfN) {
    SettingItemTable table;
    table.registerItems();
    EXPECT_EQ(table.names(), (std::vector<std::wstring>{L"AddNode", L"IfN"}));
    EXPECT_NE(dynamic_cast<AddNode*>(table.prototypes.at(L"AddNode")), nullptr);
    EXPECT_NE(dynamic_cast<IfN*>(table.prototypes.at(L"IfN")), nullptr);
    EXPECT_EQ(dynamic_cast<IfN&>(*table.prototypes.at(L"IfN")).state, 0);
}

TEST(SettingItemTable, RegisterItems_ASecondTime_ChangesNothing) {
    SettingItemTable table;
    table.registerItems();
    const auto before = table.prototypes;
    table.registerItems();
    EXPECT_EQ(table.prototypes, before);
}

TEST(SettingItemTable, Create_GivesANewItemOfTheNamedClass) {
    SettingItemTable table;
    table.registerItems();
    std::unique_ptr<ISettingItem> first(table.create(L"AddNode"));
    std::unique_ptr<ISettingItem> second(table.create(L"AddNode"));
    std::unique_ptr<ISettingItem> condition(table.create(L"IfN"));
    ASSERT_NE(dynamic_cast<AddNode*>(first.get()), nullptr);
    ASSERT_NE(dynamic_cast<IfN*>(condition.get()), nullptr);
    EXPECT_NE(first.get(), second.get());
    EXPECT_NE(first.get(), table.prototypes.at(L"AddNode"));
}

TEST(SettingItemTable, Create_GivesNull_ForUnknownNullOrEmptyNames) {
    SettingItemTable table;
    table.registerItems();
    EXPECT_EQ(table.create(L"addnode"), nullptr);
    EXPECT_EQ(table.create(L"IFN"), nullptr);
    EXPECT_EQ(table.create(L"Setting"), nullptr);
    EXPECT_EQ(table.create(L""), nullptr);
    EXPECT_EQ(table.create(nullptr), nullptr);
}

TEST(SettingItemTable, Create_OnAnEmptyTable_GivesNull) {
    const SettingItemTable table;
    EXPECT_EQ(table.create(L"AddNode"), nullptr);
    EXPECT_EQ(table.create(L"IfN"), nullptr);
}

} // namespace
} // namespace tern::update::setting
