#include "components/layout/command_bars.h"
#include "components/layout/layout_type_data.h"
#include "components/layout/menu_bar.h"
#include "components/layout/ribbon_bar.h"
#include "tests/components/layout/bar_listing.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace tern::layout {
namespace {

using test::describe;

utility::SCommand command(int id, const wchar_t* caption) {
    return utility::SCommand{id, caption, L"ID_" + std::wstring(caption)};
}
// A command the command table does not know.
utility::SCommand unknown(const wchar_t* caption) { return utility::SCommand{0, caption, L"ID_OLD"}; }

// --- Ribbon --------------------------------------------------------------------

TEST(RibbonBarTest, Group_InsertsByIndex_AndNeverFindsAControlWithoutIdentifier) {
    CRibbonBar ribbon;
    ribbon.addTab(L"Home");
    ribbon.addGroup(L"Home", L"Draw");
    CRibbonGroup& group = *ribbon.findTabByCaption(L"Home")->findGroupByCaption(L"Draw");
    EXPECT_EQ(group.addControl(command(1, L"A")), 1);
    EXPECT_EQ(group.insertControl(-1, command(2, L"B")), 2);
    EXPECT_EQ(group.insertControl(0, command(3, L"C")), 1);
    EXPECT_EQ(group.insertControl(3, command(4, L"D")), 4);
    EXPECT_EQ(group.insertControl(5, command(5, L"E")), 0);
    EXPECT_EQ(group.insertControl(-2, command(5, L"E")), 0);
    EXPECT_EQ(group.addControl(unknown(L"Old")), 5);
    EXPECT_EQ(group.findControlIndex(4), 3);
    EXPECT_EQ(group.findControlIndex(5), -1);
    EXPECT_EQ(group.findControl(0), nullptr);
    EXPECT_EQ(group.findControlIndex(0), -1);
    EXPECT_FALSE(group.updateCommandText(unknown(L"New")));
    EXPECT_EQ(describe(ribbon), "Home(1)[Draw(2): C A B D Old?]");
}

TEST(RibbonBarTest, NewTabsAndGroups_TakeTheNextFreeIdentifier_UntilRenumberedInOrder) {
    CRibbonBar ribbon;
    EXPECT_EQ(ribbon.getMaxTabAndGroupId(), 0);
    ribbon.appendTab(CRibbonTab(7, L"Home"));
    EXPECT_EQ(ribbon.addTab(L"View"), 2);
    EXPECT_EQ(ribbon.addGroup(L"Home", L"Draw"), 1);
    EXPECT_EQ(ribbon.insertTab(0, L"File"), 1);
    EXPECT_EQ(ribbon.addGroup(L"Home", L"Modify"), 2);
    EXPECT_EQ(ribbon.addTab(L""), 0);
    EXPECT_EQ(ribbon.addGroup(L"Missing", L"Draw"), 0);
    EXPECT_EQ(ribbon.addGroup(L"Home", L""), 0);
    EXPECT_EQ(ribbon.insertTab(9, L"Late"), 0);
    EXPECT_EQ(ribbon.findTabIndex(L"Home"), 1);
    EXPECT_EQ(ribbon.getMaxTabAndGroupId(), 11);
    EXPECT_EQ(describe(ribbon), "File(10)[] Home(7)[Draw(9): Modify(11):] View(8)[]");
    ribbon.renumberAllTabAndGroupId();
    EXPECT_EQ(describe(ribbon), "File(1)[] Home(2)[Draw(3): Modify(4):] View(5)[]");
}

TEST(RibbonBarTest, Tab_TakesGroupsByIndex_AndRefusesANullGroup) {
    CRibbonTab tab(1, L"Home");
    auto group = [](const wchar_t* caption) {
        auto made = std::make_unique<CRibbonGroup>();
        made->setCaption(caption);
        return made;
    };
    EXPECT_EQ(tab.addGroup(group(L"B")), 1);
    EXPECT_EQ(tab.insertGroup(0, group(L"A")), 1);
    EXPECT_EQ(tab.insertGroup(-1, group(L"C")), 3);
    EXPECT_EQ(tab.insertGroup(4, group(L"D")), 0);
    EXPECT_EQ(tab.addGroup(nullptr), 0);
    EXPECT_EQ(tab.findGroupIndex(L"C"), 2);
    EXPECT_EQ(tab.findGroupIndex(L"c"), -1);
    CRibbonBar ribbon;
    ribbon.appendTab(tab);
    EXPECT_EQ(describe(ribbon), "Home(1)[A(0): B(0): C(0):]");
}

TEST(RibbonBarTest, Copies_AreIndependent) {
    CRibbonBar original;
    original.addTab(L"Home");
    original.addGroup(L"Home", L"Draw");
    CRibbonBar copy = original;
    copy.findTabByCaption(L"Home")->findGroupByCaption(L"Draw")->addControl(command(3, L"Line"));
    EXPECT_EQ(describe(original), "Home(1)[Draw(2):]");
    EXPECT_EQ(describe(copy), "Home(1)[Draw(2): Line]");
}

// --- Menu ------------------------------------------------------------------------

class MenuBarTest : public ::testing::Test {
protected:
    // File[Open | Export[PDF] Old?]
    void SetUp() override {
        CMenuItem* file = menu.getRoot().addPopup(L"File");
        file->addCommand(command(1, L"Open"));
        file->insertBreak(nullptr);
        file->addPopup(L"Export")->addCommand(command(2, L"PDF"));
        file->addCommand(unknown(L"Old"));
    }
    CMenuBar menu;
};

TEST_F(MenuBarTest, Finds_MatchPathsAndPopupsByExactCaption_AndCommandsByIdentifierOnly) {
    EXPECT_EQ(menu.findItemByPath(L""), &menu.getRoot());
    EXPECT_EQ(menu.findItemByPath(L"File/Open")->getId(), 1);
    EXPECT_EQ(menu.findItemByPath(L"file"), nullptr);
    EXPECT_EQ(menu.findItemByPath(L"File/Open/Deeper"), nullptr);
    EXPECT_EQ(menu.findItemByPath(L"File/"), nullptr);
    CMenuItem& file = *menu.findItemByPath(L"File");
    EXPECT_EQ(menu.findItemByPath(L"File/Export"), file.findChildNoIdByName(L"Export"));
    EXPECT_EQ(describe(*file.findChildNoIdByName(L"Export")), "PDF");
    EXPECT_EQ(file.findChildNoIdByName(L"Old"), nullptr);
    EXPECT_EQ(file.findChildNoIdByName(L"Open"), nullptr);
    EXPECT_EQ(file.findChildById(1)->getCaption(), L"Open");
    EXPECT_EQ(file.findChildById(0), nullptr);
    EXPECT_EQ(file.findChildById(2), nullptr);
}

TEST_F(MenuBarTest, MakeItemByPath_AppendsOnlyTheMissingPopups) {
    CMenuItem* made = menu.makeItemByPath(L"File/Export/Images");
    ASSERT_NE(made, nullptr);
    EXPECT_TRUE(made->isPopup());
    EXPECT_EQ(menu.makeItemByPath(L"File/Export"), menu.findItemByPath(L"File/Export"));
    EXPECT_EQ(menu.makeItemByPath(L"File/Open/Deeper"), nullptr);
    EXPECT_EQ(menu.makeItemByPath(L"Tools//Options"), nullptr);
    EXPECT_EQ(describe(menu), "File[Open | Export[PDF Images[]] Old?] Tools[]");
}

TEST_F(MenuBarTest, Insertions_GoBeforeTheirReference_AndFailBelowACommandOrBeforeAStranger) {
    CMenuItem& file = *menu.findItemByPath(L"File");
    CMenuItem* open = file.findChildById(1);
    EXPECT_EQ(open->addCommand(command(3, L"Save")), 0);
    EXPECT_EQ(open->addPopup(L"Recent"), nullptr);
    EXPECT_EQ(menu.getRoot().insertCommand(command(3, L"Save"), open), 0);
    EXPECT_EQ(file.addPopup(L""), nullptr);

    CMenuItem* exportPopup = file.findChildNoIdByName(L"Export");
    EXPECT_EQ(file.insertCommand(command(3, L"Save"), exportPopup), 3);
    EXPECT_EQ(file.insertPopup(L"Recent", file.getFirstChild())->getCaption(), L"Recent");
    EXPECT_NE(file.insertBreak(exportPopup), nullptr);
    auto separator = std::make_unique<CMenuItem>();
    separator->setBreak();
    EXPECT_EQ(file.insertChild(std::move(separator), nullptr), 8);
    EXPECT_EQ(describe(menu), "File[Recent[] Open | Save | Export[PDF] Old? |]");
    EXPECT_EQ(exportPopup->getNextSibling()->getCaption(), L"Old");
}

TEST_F(MenuBarTest, UpdateCommandText_RefreshesEveryEntryOfTheIdentifier) {
    menu.getRoot().addCommand(command(2, L"Pdf"));
    EXPECT_TRUE(menu.updateCommandText(command(2, L"PDF file")));
    EXPECT_FALSE(menu.updateCommandText(command(2, L"PDF file")));
    EXPECT_FALSE(menu.updateCommandText(unknown(L"New")));
    EXPECT_EQ(describe(menu), "File[Open | Export[PDF file] Old?] PDF file");
}

TEST_F(MenuBarTest, Copies_AreIndependentTrees_WithTheirOwnSiblings) {
    CMenuBar copy = menu;
    CMenuItem* copiedFile = copy.findItemByPath(L"File");
    ASSERT_NE(copiedFile, menu.findItemByPath(L"File"));
    copiedFile->addCommand(command(3, L"Save"));
    EXPECT_EQ(describe(copy), "File[Open | Export[PDF] Old? Save]");
    EXPECT_EQ(copiedFile->findChildNoIdByName(L"Export")->getNextSibling()->getCaption(), L"Old");

    copy = CMenuBar();
    EXPECT_EQ(describe(copy), "");
    EXPECT_EQ(describe(menu), "File[Open | Export[PDF] Old?]");
}

// --- Toolbars ----------------------------------------------------------------------

TEST(CommandBarsTest, ToolBars_AreFoundByExactTitle_AndMadeOnlyWithATitle) {
    CCommandBars bars;
    EXPECT_EQ(bars.addToolBar(L"", barTop), nullptr);
    CCommandBar* standard = bars.addToolBar(L"Standard", barLeft);
    ASSERT_NE(standard, nullptr);
    EXPECT_EQ(standard->getPosition(), barLeft);
    EXPECT_EQ(bars.findByTitle(L"standard"), nullptr);
    EXPECT_EQ(bars.findByTitle(L"Standard"), standard);
}

TEST(CommandBarsTest, ToolBarControls_KeepTheirGroupStarts_AndFollowTheIndexRules) {
    utility::CCommandTable table;
    CCommandBar bar(L"Standard", barTop);
    EXPECT_EQ(bar.addCommand(command(1, L"New"), false), 1);
    EXPECT_EQ(bar.insertCommand(0, command(2, L"Open"), true), 1);
    EXPECT_EQ(bar.insertCommand(3, command(3, L"Save"), false), 0);
    EXPECT_EQ(bar.insertCommand(-1, unknown(L"Old"), true), 3);
    EXPECT_EQ(bar.findControlIndexById(1, table), 1);
    EXPECT_EQ(bar.findControlIndexById(0, table), -1);
    EXPECT_EQ(describe(bar), "Standard: |Open New |Old?");
}

TEST(CommandBarsTest, UpdateCommandText_TouchesTheHeldRibbonAndMenuOnlyWhenAsked) {
    CRibbonBar ribbon;
    ribbon.addTab(L"Home");
    ribbon.addGroup(L"Home", L"Draw");
    ribbon.findTabByCaption(L"Home")->findGroupByCaption(L"Draw")->addControl(command(1, L"Opn"));
    CMenuBar menu;
    menu.getRoot().addCommand(command(1, L"Opn"));
    utility::CCommandTable table;
    CCommandBars bars;
    bars.setupByRibbon(ribbon, table);
    bars.setupByMenu(menu, table);
    bars.addToolBar(L"Standard", barTop)->addCommand(command(1, L"Opn"), false);
    const auto shown = [&] {
        CMenuBar held;
        bars.setMenu(held);
        return describe(bars.getRibbonBar()) + " / " + describe(held) + " / " + describe(bars.getToolBars()[0]);
    };

    EXPECT_TRUE(bars.updateCommandText(command(1, L"Open"), true));
    EXPECT_EQ(shown(), "Home(1)[Draw(2): Opn] / Opn / Standard: Open");
    EXPECT_TRUE(bars.updateCommandText(command(1, L"Open"), false));
    EXPECT_EQ(shown(), "Home(1)[Draw(2): Open] / Open / Standard: Open");
    EXPECT_FALSE(bars.updateCommandText(command(1, L"Open"), false));
}

TEST(LayoutModeDataTest, SetupToAndFrom_CopyTheBarsOutAndBack) {
    utility::CCommandTable table;
    LayoutTypeData type(L"Standard");
    LayoutModeData* mode = type.addLayoutMode(L"Normal");
    ASSERT_NE(mode, nullptr);
    EXPECT_EQ(type.addLayoutMode(L"Normal"), nullptr);
    CCommandBars bars;
    ASSERT_TRUE(mode->setupTo(bars, table));
    bars.addToolBar(L"Standard", barTop);
    CCommandBars stored;
    mode->setupTo(stored, table);
    EXPECT_TRUE(stored.getToolBars().empty());
    ASSERT_TRUE(mode->setupFrom(bars, table));
    mode->setupTo(stored, table);
    EXPECT_EQ(stored.getToolBars().size(), 1u);
    EXPECT_STREQ(LayoutModeData::getNormalModeName(), L"Normal");
    EXPECT_STREQ(LayoutModeData::get3dModeName(), L"3D");
    EXPECT_STREQ(LayoutModeData::getRedModeName(), L"Red");
}

} // namespace
} // namespace tern::layout
