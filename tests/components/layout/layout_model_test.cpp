// The model's placements by position, its new identifiers, its caption
// refreshes and its mode data are proven through the layout file and the
// layout edit items that use them (tests/update/layout); these tests hold the
// rest of its contract: what it refuses, exact matching, commands it does not
// know, renumbering, menu copies and the held bars' captions.

#include "components/layout/command_bars.h"
#include "components/layout/menu_bar.h"
#include "components/layout/ribbon_bar.h"
#include "tests/components/layout/bar_listing.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <string>
#include <utility>

namespace tern::layout {
namespace {

using test::describe;

utility::SCommand command(int id, const wchar_t* caption) {
    return utility::SCommand{id, caption, L"ID_" + std::wstring(caption)};
}
// A command the command table does not know.
utility::SCommand unknown(const wchar_t* caption) { return utility::SCommand{0, caption, L"ID_OLD"}; }

TEST(RibbonBarTest, Ribbon_RefusesWhatItCannotPlace_AndNeverFindsAControlWithoutIdentifier) {
    CRibbonBar ribbon;
    EXPECT_EQ(ribbon.getMaxTabAndGroupId(), 0);
    ribbon.appendTab(CRibbonTab(7, L"Home"));
    EXPECT_EQ(ribbon.addGroup(L"Home", L"Draw"), 1);
    CRibbonTab& home = *ribbon.findTabByCaption(L"Home");
    CRibbonGroup& draw = *home.findGroupByCaption(L"Draw");
    EXPECT_EQ(draw.addControl(command(1, L"Line")), 1);
    EXPECT_EQ(draw.addControl(unknown(L"Old")), 2);

    EXPECT_EQ(ribbon.addTab(L""), 0);
    EXPECT_EQ(ribbon.insertTab(2, L"Late"), 0);
    EXPECT_EQ(ribbon.addGroup(L"Missing", L"Zoom"), 0);
    EXPECT_EQ(ribbon.addGroup(L"Home", L""), 0);
    EXPECT_EQ(home.addGroup(nullptr), 0);
    EXPECT_EQ(home.insertGroup(2, std::make_unique<CRibbonGroup>()), 0);
    EXPECT_EQ(draw.insertControl(3, command(2, L"Arc")), 0);
    EXPECT_EQ(draw.insertControl(-2, command(2, L"Arc")), 0);
    EXPECT_EQ(ribbon.findTabByCaption(L"home"), nullptr);
    EXPECT_EQ(home.findGroupIndex(L"draw"), -1);
    EXPECT_EQ(draw.findControl(0), nullptr);
    EXPECT_EQ(draw.findControlIndex(0), -1);
    EXPECT_FALSE(draw.updateCommandText(unknown(L"New")));
    EXPECT_FALSE(ribbon.updateCommandText(unknown(L"New")));
    EXPECT_EQ(describe(ribbon), "Home(7)[Draw(8): Line Old?]");
}

TEST(RibbonBarTest, Renumber_NumbersTabsBeforeTheirGroups_InOrder) {
    CRibbonBar ribbon;
    ribbon.appendTab(CRibbonTab(30, L"Home"));
    ribbon.appendTab(CRibbonTab(4, L"View"));
    ribbon.addGroup(L"Home", L"Draw");
    ribbon.addGroup(L"Home", L"Modify");
    ribbon.addGroup(L"View", L"Zoom");
    ribbon.renumberAllTabAndGroupId();
    EXPECT_EQ(describe(ribbon), "Home(1)[Draw(2): Modify(3):] View(4)[Zoom(5):]");
}

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

TEST_F(MenuBarTest, Menu_RefusesWhatItCannotPlace_AndMatchesExactlyNeverAnUnknownCommand) {
    EXPECT_EQ(menu.findItemByPath(L""), &menu.getRoot());
    EXPECT_EQ(menu.findItemByPath(L"file"), nullptr);
    EXPECT_EQ(menu.findItemByPath(L"File/"), nullptr);
    EXPECT_EQ(menu.findItemByPath(L"File/Open/Deeper"), nullptr);
    EXPECT_EQ(menu.makeItemByPath(L"File/Open/Deeper"), nullptr);
    EXPECT_EQ(menu.makeItemByPath(L"Tools//Options"), nullptr);
    CMenuItem& file = *menu.findItemByPath(L"File");
    CMenuItem* open = file.findChildById(1);
    EXPECT_EQ(open->addCommand(command(3, L"Save")), 0);
    EXPECT_EQ(open->addPopup(L"Recent"), nullptr);
    EXPECT_EQ(menu.getRoot().insertCommand(command(3, L"Save"), open), 0);
    EXPECT_EQ(file.addPopup(L""), nullptr);
    EXPECT_EQ(file.findChildById(0), nullptr);
    EXPECT_EQ(file.findChildNoIdByName(L"Old"), nullptr);
    EXPECT_EQ(file.findChildNoIdByName(L"export"), nullptr);
    EXPECT_FALSE(menu.updateCommandText(unknown(L"New")));
    EXPECT_EQ(describe(menu), "File[Open | Export[PDF] Old?] Tools[]");
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

// A copy shares the items until one of the two changes: a caption refresh
// that changes nothing leaves them shared, one that changes a caption
// shows in that menu only.
TEST_F(MenuBarTest, Copies_ShareTheirItemsUntilOneChanges_AndARefreshShowsOnlyInItsOwnMenu) {
    CMenuBar copy = menu;
    EXPECT_EQ(&std::as_const(copy).getRoot(), &std::as_const(menu).getRoot())
        << "an unchanged copy holds no items of its own";
    EXPECT_FALSE(copy.updateCommandText(command(1, L"Open")));
    EXPECT_EQ(&std::as_const(copy).getRoot(), &std::as_const(menu).getRoot());

    EXPECT_TRUE(copy.updateCommandText(command(1, L"Open File")));
    EXPECT_EQ(describe(copy), "File[Open File | Export[PDF] Old?]");
    EXPECT_EQ(describe(menu), "File[Open | Export[PDF] Old?]");
    EXPECT_TRUE(menu.updateCommandText(command(2, L"As PDF")));
    EXPECT_EQ(describe(menu), "File[Open | Export[As PDF] Old?]");
    EXPECT_EQ(describe(copy), "File[Open File | Export[PDF] Old?]");
}

// Each item knows the sibling after it, wherever entries were inserted.
std::string walk(const CMenuItem& popup) {
    std::string text;
    for (const CMenuItem* child = popup.getFirstChild(); child; child = child->getNextSibling())
        text += (text.empty() ? "" : " ") + (child->getKind() == CMenuItem::Kind::separator
                                                 ? std::string("|")
                                                 : std::string(child->getCaption().begin(), child->getCaption().end()));
    return text;
}

TEST_F(MenuBarTest, Siblings_FollowEveryInsertion_AndAMovedMenuHandsItsItemsOver) {
    CMenuItem& file = *menu.findItemByPath(L"File");
    CMenuItem* open = file.findChildById(1);
    EXPECT_EQ(file.insertCommand(command(4, L"New"), open), 1);
    EXPECT_NE(file.insertBreak(file.findChildNoIdByName(L"Export")), nullptr);
    EXPECT_EQ(file.addCommand(command(5, L"Quit")), 7);
    EXPECT_EQ(file.insertPopup(L"Recent", nullptr)->getNextSibling(), nullptr);
    EXPECT_EQ(walk(file), "New Open | | Export Old Quit Recent");

    CMenuBar moved = std::move(menu);
    EXPECT_EQ(describe(menu), "");
    CMenuItem& movedFile = *moved.findItemByPath(L"File");
    EXPECT_EQ(&movedFile, &file); // the items themselves changed hands
    EXPECT_EQ(movedFile.insertCommand(command(6, L"Close"), movedFile.findChildById(5)), 7);
    EXPECT_EQ(walk(movedFile), "New Open | | Export Old Close Quit Recent");
    EXPECT_EQ(describe(moved), "File[New Open | | Export[PDF] Old? Close Quit Recent[]]");

    menu = std::move(moved);
    EXPECT_EQ(describe(moved), "");
    EXPECT_EQ(walk(*menu.findItemByPath(L"File")), "New Open | | Export Old Close Quit Recent");
}

// --- Menus nested a hundred thousand deep ---------------------------------------

// A menu path of `steps` popups "P", as a definition's "Path" may give it.
std::wstring chainPath(std::size_t steps) {
    std::wstring path = L"P";
    for (std::size_t step = 1; step < steps; ++step)
        path += L"/P";
    return path;
}

// Deeper than Linux's 8 MB stack holds a copy by recursion, and far deeper
// than a Windows thread's 1 MB holds any walk by recursion.
constexpr std::size_t chainSteps = 100000;

TEST(DeepMenuTest, AChainAHundredThousandDeep_IsMadeFoundCopiedRefreshedAndDestroyed) {
    const std::wstring path = chainPath(chainSteps);
    auto menu = std::make_unique<CMenuBar>();
    CMenuItem* bottom = menu->makeItemByPath(path);
    ASSERT_NE(bottom, nullptr);
    EXPECT_EQ(menu->findItemByPath(path), bottom);
    bottom->addCommand(command(1, L"Opn"));
    bottom->addCommand(command(2, L"Save"));

    const CMenuBar copy = *menu;
    CMenuBar assigned;
    assigned.getRoot().addPopup(L"Old");
    assigned = *menu;
    menu.reset();
    EXPECT_TRUE(assigned.updateCommandText(command(1, L"Open")));

    // Each copy is the whole chain with its own parents, so siblings are found at the bottom.
    for (const CMenuBar* tree : std::initializer_list<const CMenuBar*>{&copy, &assigned}) {
        std::size_t depth = 0;
        const CMenuItem* item = &tree->getRoot();
        while (item->getFirstChild() && item->getFirstChild()->isPopup() && !item->getFirstChild()->getNextSibling()) {
            item = item->getFirstChild();
            ++depth;
        }
        EXPECT_EQ(depth, chainSteps);
        EXPECT_EQ(describe(*item), tree == &copy ? "Opn Save" : "Open Save");
    }

    // A popup given a copy of a popup inside itself keeps the copy: the chain
    // below the second level, now directly under the menu bar.
    assigned.getRoot() = *assigned.findItemByPath(L"P/P");
    EXPECT_EQ(describe(*assigned.findItemByPath(chainPath(chainSteps - 2))), "Open Save");
    EXPECT_EQ(assigned.findItemByPath(chainPath(chainSteps - 1)), nullptr);
}

TEST(CommandBarsTest, ToolBars_RefuseWhatTheyCannotPlace_AndMatchTitlesExactly) {
    utility::CCommandTable table;
    CCommandBars bars;
    EXPECT_EQ(bars.addToolBar(L"", barTop), nullptr);
    CCommandBar* standard = bars.addToolBar(L"Standard", barLeft);
    ASSERT_NE(standard, nullptr);
    EXPECT_EQ(bars.findByTitle(L"standard"), nullptr);
    EXPECT_EQ(bars.findByTitle(L"Standard"), standard);
    EXPECT_EQ(standard->addCommand(command(1, L"New"), true), 1);
    EXPECT_EQ(standard->insertCommand(2, command(2, L"Open"), false), 0);
    EXPECT_EQ(standard->insertCommand(-1, unknown(L"Old"), false), 2);
    EXPECT_EQ(standard->findControlIndexById(0, table), -1);
    EXPECT_FALSE(bars.updateCommandText(unknown(L"New"), false));
    EXPECT_EQ(describe(*standard), "Standard: |New Old?");
    EXPECT_EQ(standard->getPosition(), barLeft);
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

} // namespace
} // namespace tern::layout
