#include "components/layout/command_bars.h"
#include "components/layout/layout_type_data.h"
#include "components/layout/menu_bar.h"
#include "components/layout/ribbon_bar.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace tern::layout {
namespace {

utility::SCommand command(int id, const wchar_t* caption) {
    return utility::SCommand{id, caption, L"ID_" + std::wstring(caption)};
}

std::wstring captions(const std::vector<utility::SCommand>& controls) {
    std::wstring text;
    for (const utility::SCommand& control : controls)
        text += (text.empty() ? L"" : L" ") + control.caption;
    return text;
}

std::wstring children(const CMenuItem& popup) {
    std::wstring text;
    for (const CMenuItem* child = popup.getFirstChild(); child; child = child->getNextSibling())
        text +=
            (text.empty() ? L"" : L" ") + (child->getKind() == CMenuItem::Kind::separator ? L"|" : child->getCaption());
    return text;
}

// --- Ribbon --------------------------------------------------------------------

TEST(RibbonBarTest, Insertions_AppendAtMinusOne_AndFailBeyondTheEnd) {
    CRibbonGroup group;
    EXPECT_EQ(group.addControl(command(1, L"A")), 1);
    EXPECT_EQ(group.insertControl(-1, command(2, L"B")), 2);
    EXPECT_EQ(group.insertControl(0, command(3, L"C")), 1);
    EXPECT_EQ(group.insertControl(3, command(4, L"D")), 4);
    EXPECT_EQ(group.insertControl(5, command(5, L"E")), 0);
    EXPECT_EQ(group.insertControl(-2, command(5, L"E")), 0);
    EXPECT_EQ(captions(group.getControls()), L"C A B D");
    EXPECT_EQ(group.findControlIndex(4), 3);
    EXPECT_EQ(group.findControlIndex(5), -1);
    EXPECT_EQ(group.findControl(5), nullptr);
}

TEST(RibbonBarTest, ControlsWithoutIdentifier_AreNeverFound) {
    CRibbonGroup group;
    group.addControl(utility::SCommand{0, L"Old", L"ID_OLD"});
    EXPECT_EQ(group.findControl(0), nullptr);
    EXPECT_EQ(group.findControlIndex(0), -1);
    EXPECT_FALSE(group.updateCommandText(utility::SCommand{0, L"New", L"ID_OLD"}));
    EXPECT_EQ(captions(group.getControls()), L"Old");
}

TEST(RibbonBarTest, NewTabsAndGroups_TakeTheNextFreeIdentifier) {
    CRibbonBar ribbon;
    EXPECT_EQ(ribbon.getMaxTabAndGroupId(), 0);
    ribbon.appendTab(CRibbonTab(7, L"Home"));
    EXPECT_EQ(ribbon.addTab(L"View"), 2);
    EXPECT_EQ(ribbon.findTabByCaption(L"View")->getId(), 8);
    EXPECT_EQ(ribbon.addGroup(L"Home", L"Draw"), 1);
    EXPECT_EQ(ribbon.findTabByCaption(L"Home")->findGroupByCaption(L"Draw")->getId(), 9);
    EXPECT_EQ(ribbon.insertTab(0, L"File"), 1);
    EXPECT_EQ(ribbon.findTabIndex(L"Home"), 1);
    EXPECT_EQ(ribbon.getMaxTabAndGroupId(), 10);
    EXPECT_EQ(ribbon.addTab(L""), 0);
    EXPECT_EQ(ribbon.addGroup(L"Missing", L"Draw"), 0);
    EXPECT_EQ(ribbon.addGroup(L"Home", L""), 0);
    EXPECT_EQ(ribbon.insertTab(9, L"Late"), 0);
}

TEST(RibbonBarTest, Renumber_NumbersTabsBeforeTheirGroups_InOrder) {
    CRibbonBar ribbon;
    ribbon.appendTab(CRibbonTab(30, L"Home"));
    ribbon.appendTab(CRibbonTab(4, L"View"));
    ribbon.addGroup(L"Home", L"Draw");
    ribbon.addGroup(L"Home", L"Modify");
    ribbon.addGroup(L"View", L"Zoom");
    ribbon.renumberAllTabAndGroupId();
    const auto& tabs = ribbon.getTabs();
    EXPECT_EQ(tabs[0].getId(), 1);
    EXPECT_EQ(tabs[0].getGroups()[0].getId(), 2);
    EXPECT_EQ(tabs[0].getGroups()[1].getId(), 3);
    EXPECT_EQ(tabs[1].getId(), 4);
    EXPECT_EQ(tabs[1].getGroups()[0].getId(), 5);
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
}

TEST(RibbonBarTest, Copies_AreIndependent) {
    CRibbonBar original;
    original.addTab(L"Home");
    original.addGroup(L"Home", L"Draw");
    CRibbonBar copy = original;
    copy.findTabByCaption(L"Home")->findGroupByCaption(L"Draw")->addControl(command(1, L"Line"));
    EXPECT_TRUE(original.getTabs()[0].getGroups()[0].getControls().empty());
    EXPECT_EQ(copy.getTabs()[0].getGroups()[0].getControls().size(), 1u);
}

// --- Menu ------------------------------------------------------------------------

class MenuBarTest : public ::testing::Test {
protected:
    void SetUp() override {
        CMenuItem* file = menu.getRoot().addPopup(L"File");
        file->addCommand(command(1, L"Open"));
        file->insertBreak(nullptr);
        file->addPopup(L"Export")->addCommand(command(2, L"PDF"));
        file->addCommand(utility::SCommand{0, L"Old", L"ID_OLD"});
    }
    CMenuBar menu;
};

TEST_F(MenuBarTest, Paths_NameCaptionsFromTheMenuBarDown) {
    EXPECT_EQ(menu.findItemByPath(L""), &menu.getRoot());
    EXPECT_EQ(children(*menu.findItemByPath(L"File")), L"Open | Export Old");
    EXPECT_EQ(menu.findItemByPath(L"File/Export")->getCaption(), L"Export");
    EXPECT_EQ(menu.findItemByPath(L"File/Open")->getId(), 1);
    EXPECT_EQ(menu.findItemByPath(L"file"), nullptr);
    EXPECT_EQ(menu.findItemByPath(L"File/Open/Deeper"), nullptr);
    EXPECT_EQ(menu.findItemByPath(L"File/"), nullptr);
}

TEST_F(MenuBarTest, MakeItemByPath_AppendsOnlyTheMissingPopups) {
    CMenuItem* made = menu.makeItemByPath(L"File/Export/Images");
    ASSERT_NE(made, nullptr);
    EXPECT_TRUE(made->isPopup());
    EXPECT_EQ(children(*menu.findItemByPath(L"File/Export")), L"PDF Images");
    EXPECT_EQ(menu.makeItemByPath(L"File/Export"), menu.findItemByPath(L"File/Export"));
    EXPECT_EQ(menu.makeItemByPath(L"File/Open/Deeper"), nullptr);
    EXPECT_EQ(menu.makeItemByPath(L"Tools//Options"), nullptr);
    EXPECT_EQ(children(menu.getRoot()), L"File Tools");
}

TEST_F(MenuBarTest, Finds_MatchCommandsByIdentifierAndPopupsByCaption_NeverUnknownCommands) {
    CMenuItem& file = *menu.findItemByPath(L"File");
    EXPECT_EQ(file.findChildById(1)->getCaption(), L"Open");
    EXPECT_EQ(file.findChildById(0), nullptr);
    EXPECT_EQ(file.findChildById(2), nullptr);
    EXPECT_EQ(file.findChildNoIdByName(L"Export")->getCaption(), L"Export");
    EXPECT_EQ(file.findChildNoIdByName(L"Old"), nullptr);
    EXPECT_EQ(file.findChildNoIdByName(L"Open"), nullptr);
}

TEST_F(MenuBarTest, Insertions_GoBeforeTheirReference_OrAppendForNull) {
    CMenuItem& file = *menu.findItemByPath(L"File");
    CMenuItem* exportPopup = file.findChildNoIdByName(L"Export");
    EXPECT_EQ(file.insertCommand(command(3, L"Save"), exportPopup), 3);
    EXPECT_EQ(file.insertPopup(L"Recent", file.getFirstChild())->getCaption(), L"Recent");
    EXPECT_NE(file.insertBreak(exportPopup), nullptr);
    auto separator = std::make_unique<CMenuItem>();
    separator->setBreak();
    EXPECT_EQ(file.insertChild(std::move(separator), nullptr), 8);
    EXPECT_EQ(children(file), L"Recent Open | Save | Export Old |");
    EXPECT_EQ(exportPopup->getNextSibling()->getCaption(), L"Old");
}

TEST_F(MenuBarTest, Insertions_Fail_BelowACommandOrBeforeAStranger) {
    CMenuItem& file = *menu.findItemByPath(L"File");
    CMenuItem* open = file.findChildById(1);
    EXPECT_EQ(open->addCommand(command(3, L"Save")), 0);
    EXPECT_EQ(open->addPopup(L"Recent"), nullptr);
    EXPECT_EQ(menu.getRoot().insertCommand(command(3, L"Save"), open), 0);
    EXPECT_EQ(file.addPopup(L""), nullptr);
    EXPECT_EQ(children(file), L"Open | Export Old");
}

TEST_F(MenuBarTest, UpdateCommandText_RefreshesEveryEntryOfTheIdentifier) {
    menu.getRoot().addCommand(command(2, L"Pdf"));
    EXPECT_TRUE(menu.updateCommandText(command(2, L"PDF file")));
    EXPECT_EQ(menu.findItemByPath(L"File/Export/PDF file")->getId(), 2);
    EXPECT_EQ(menu.getRoot().findChildById(2)->getCaption(), L"PDF file");
    EXPECT_FALSE(menu.updateCommandText(command(2, L"PDF file")));
    EXPECT_FALSE(menu.updateCommandText(utility::SCommand{0, L"New", L"ID_OLD"}));
}

TEST_F(MenuBarTest, Copies_AreIndependentTrees_WithTheirOwnSiblings) {
    CMenuBar copy = menu;
    CMenuItem* copiedFile = copy.findItemByPath(L"File");
    ASSERT_NE(copiedFile, menu.findItemByPath(L"File"));
    copiedFile->addCommand(command(3, L"Save"));
    EXPECT_EQ(children(*copiedFile), L"Open | Export Old Save");
    EXPECT_EQ(children(*menu.findItemByPath(L"File")), L"Open | Export Old");
    EXPECT_EQ(copiedFile->findChildNoIdByName(L"Export")->getNextSibling()->getCaption(), L"Old");

    copy = CMenuBar();
    EXPECT_EQ(copy.getRoot().getFirstChild(), nullptr);
    EXPECT_EQ(children(*menu.findItemByPath(L"File")), L"Open | Export Old");
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
    EXPECT_EQ(bar.insertCommand(-1, utility::SCommand{0, L"Old", L"ID_OLD"}, true), 3);
    EXPECT_EQ(bar.findControlIndexById(1, table), 1);
    EXPECT_EQ(bar.findControlIndexById(0, table), -1);
    ASSERT_EQ(bar.getControls().size(), 3u);
    EXPECT_TRUE(bar.getControls()[0].beginGroup);
    EXPECT_FALSE(bar.getControls()[1].beginGroup);
    EXPECT_TRUE(bar.getControls()[2].beginGroup);
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

    EXPECT_TRUE(bars.updateCommandText(command(1, L"Open"), true));
    CMenuBar held;
    bars.setMenu(held);
    EXPECT_EQ(held.getRoot().getFirstChild()->getCaption(), L"Opn");
    EXPECT_EQ(bars.getRibbonBar().getTabs()[0].getGroups()[0].getControls()[0].caption, L"Opn");
    EXPECT_EQ(bars.getToolBars()[0].getControls()[0].command.caption, L"Open");

    EXPECT_TRUE(bars.updateCommandText(command(1, L"Open"), false));
    bars.setMenu(held);
    EXPECT_EQ(held.getRoot().getFirstChild()->getCaption(), L"Open");
    EXPECT_EQ(bars.getRibbonBar().getTabs()[0].getGroups()[0].getControls()[0].caption, L"Open");
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
