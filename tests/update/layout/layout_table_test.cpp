#include "update/layout/layout_table.h"

#include "platform/text.h"
#include "tests/update/layout/layout_fixture.h"
#include "update/layout/command.h"
#include "update/layout/make_group.h"
#include "update/layout/make_popup_menu.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tern::update::layout {
namespace {

using test::barsOf;
using test::changedFlags;
using test::describe;
using test::displayWith;
using test::standardMode;

// The bars a mode holds, as barsOf lists a table's, and the toolbars that
// definitions added to it.
std::string stored(const tern::layout::LayoutModeData& mode, const utility::CCommandTable& commandTable) {
    tern::layout::CCommandBars bars;
    mode.setupTo(bars, commandTable);
    tern::layout::CMenuBar menu;
    bars.setMenu(menu);
    std::string text = describe(bars.getRibbonBar()) + " / " + describe(menu);
    for (const tern::layout::CCommandBar& bar : bars.getToolBars())
        text += " / " + describe(bar);
    for (const tern::layout::ToolBarOption& option : mode.getToolBarOptions())
        text += " / added " + platform::toUtf8(option.getTitle());
    return text;
}

class LayoutTableTest : public test::LayoutFixture {};

TEST_F(LayoutTableTest, ModeNoFromName_FollowsTheLibrarysModeNamesExactly) {
    const std::pair<const wchar_t*, ItemMode> cases[] = {
        {L"Normal", EM_NORMAL}, {L"3D", EM_3DMODE}, {L"Red", EM_REDMODE}, {L"red", EM_NORMAL}, {L"Sketch", EM_NORMAL}};
    for (const auto& [name, mode] : cases)
        EXPECT_EQ(LayoutTable::modeNoFromName(name), mode) << platform::toUtf8(name);
}

TEST_F(LayoutTableTest, Setup_Fails_ForMissingModeDataOrNames_AndClearsTheFlags) {
    loadLayout(displayWith(standardMode("Normal")));
    tern::layout::LayoutModeData* mode = manager.findType(L"Standard")->findLayoutMode(L"Normal");
    LayoutTable fresh;
    const auto flagged = [&] {
        fresh.ribbonChanged = fresh.menuChanged = fresh.toolBarChanged = true;
        return &fresh;
    };
    EXPECT_FALSE(flagged()->setup(nullptr, commandTable, EM_NORMAL, L"Standard", L"Normal"));
    EXPECT_FALSE(flagged()->setup(mode, commandTable, EM_NORMAL, L"", L"Normal"));
    EXPECT_FALSE(flagged()->setup(mode, commandTable, EM_NORMAL, L"Standard", nullptr));
    EXPECT_EQ(changedFlags(fresh), "---");
    EXPECT_EQ(fresh.modeData, nullptr);
    EXPECT_EQ(fresh.modeNo, EM_NORMAL);
}

TEST_F(LayoutTableTest, Commit_Fails_ForATableNeverSetUpOrWithNothingChanged) {
    LayoutTable never;
    never.toolBarChanged = true;
    EXPECT_FALSE(never.commit(commandTable));

    loadLayout(displayWith(standardMode("Normal")));
    EXPECT_FALSE(table().commit(commandTable));
}

// An item that gives up half-way may leave traces in a part it did not flag:
// the commit stores only the flagged parts and leaves the others as the mode
// holds them.
TEST_F(LayoutTableTest, Commit_StoresOnlyTheFlaggedParts_LeavingTheModesOwnForTheRest) {
    loadLayout(displayWith(standardMode("Normal")));
    LayoutTable& normal = table();
    ASSERT_NE(normal.menuBar.makeItemByPath(L"Stray"), nullptr);
    // Toolbars are stored with the rest whenever anything is.
    normal.commandBars.findByTitle(L"Standard")->addCommand(utility::SCommand{9, L"Stray", L"ID_STRAY"}, false);
    ASSERT_GT(normal.ribbon.addTab(L"Extra"), 0);
    normal.ribbonChanged = true;
    ASSERT_TRUE(normal.commit(commandTable));
    EXPECT_EQ(stored(*normal.modeData, commandTable), std::string("Home(1)[Draw(2): Line Arc] Extra(3)[] / ") +
                                                          test::standardMenu + " / Standard: New Open Save Stray");
}

// The edits stay in the tables until the commit, which stores a toolbar-only,
// a menu-only and a renumbered ribbon change each into its own mode.
TEST_F(LayoutTableTest, Commit_StoresEachTablesChange_IntoItsOwnMode_AndTheSavedFileKeepsIt) {
    loadLayout(displayWith(standardMode("Normal") + standardMode("3D") + standardMode("Red")));
    ASSERT_TRUE(apply<Command>(R"(<Command SID="ID_DRAW_LINE">
        <CommandPanel Name="Standard" BeginGroup="true"/><CommandPanel Name="Drawing" MakePos="true"/></Command>)"));
    ASSERT_TRUE(apply<MakePopupMenu>(R"(<MakePopupMenu Mode="3dMode" Path="File" Name="Import" BeginGroup="true"/>)"));
    ASSERT_TRUE(apply<MakeGroup>(R"(<MakeGroup Mode="RedMode" Tab="Home" Name="Curves" Pos="First"/>)"));
    EXPECT_EQ(describe(table("Red").ribbon), "Home(1)[Curves(3): Draw(2): Line Arc]");
    EXPECT_EQ(changedFlags(table("Normal")) + changedFlags(table("3D")) + changedFlags(table("Red")), "--T-M-R--");
    for (LayoutTable* each : tables) {
        SCOPED_TRACE(platform::toUtf8(each->modeName));
        // A toolbar a definition adds is recorded at once; everything else waits for the commit.
        EXPECT_EQ(stored(*each->modeData, commandTable),
                  test::standardBars() + (each->modeNo == EM_NORMAL ? " / added Drawing" : ""));
        EXPECT_TRUE(each->commit(commandTable));
    }

    ASSERT_TRUE(manager.saveXmlFile(folder.system("source/Config/Saved.xml"), commandTable));
    tern::layout::LayoutManager reread;
    ASSERT_TRUE(reread.loadXmlFile(folder.system("source/Config/Saved.xml"), frame));
    const auto mode = [&](const wchar_t* name) { return *reread.findType(L"Standard")->findLayoutMode(name); };
    EXPECT_EQ(stored(mode(L"Normal"), commandTable),
              "Home(1)[Draw(2): Line Arc] / File[Open | Save Export[PDF]] / Standard: New Open Save |Line"
              " / Drawing: Line / added Drawing");
    EXPECT_EQ(stored(mode(L"3D"), commandTable),
              "Home(1)[Draw(2): Line Arc] / File[Open | Save Export[PDF] | Import[]] / Standard: New Open Save");
    EXPECT_EQ(stored(mode(L"Red"), commandTable),
              "Home(1)[Curves(2): Draw(3): Line Arc] / File[Open | Save Export[PDF]] / Standard: New Open Save");
}

// Tables set up from one mode share its groups, toolbars and menu until an
// edit changes them: what one table's items change, placements and caption
// refreshes alike, shows in that table alone, and in the mode only once
// that table is committed.
TEST_F(LayoutTableTest, TablesOfOneMode_ShareItsBars_YetShowOnlyTheirOwnEdits) {
    std::string stale = standardMode("Normal");
    for (const char* caption : {R"(Caption="Line")", R"(Caption="Open")"})
        stale.replace(stale.find(caption), std::string(caption).size(), R"(Caption="Old")");
    loadLayout(displayWith(stale));
    const std::string before = "Home(1)[Draw(2): Old Arc] / File[Old | Save Export[PDF]] / Standard: New Open Save";
    LayoutTable& first = table();
    LayoutTable second;
    ASSERT_TRUE(second.setup(first.modeData, commandTable, EM_NORMAL, L"Standard", L"Normal"));
    ASSERT_EQ(barsOf(second), before);

    ASSERT_TRUE(apply<Command>(R"(<Command SID="ID_FILE_OPEN" ChangeText="true">
        <Ribbon Tab="Home" Group="Draw"/><Menu Path="File/Export"/><CommandPanel Name="Standard" Pos="First"/>
        </Command>)"));
    ASSERT_TRUE(apply<Command>(R"(<Command SID="ID_DRAW_LINE" ChangeText="true"/>)"));
    const std::string edited =
        "Home(1)[Draw(2): Line Arc Open] / File[Open | Save Export[PDF Open]] / Standard: New Open Save";
    EXPECT_EQ(barsOf(first), edited);
    EXPECT_EQ(barsOf(second), before);
    EXPECT_EQ(stored(*first.modeData, commandTable), before);

    ASSERT_TRUE(first.commit(commandTable));
    EXPECT_EQ(stored(*first.modeData, commandTable), edited);
    EXPECT_EQ(barsOf(second), before);

    const std::vector<LayoutTable*> onlySecond{&second};
    ASSERT_TRUE(item<MakeGroup>(R"(<MakeGroup Tab="Home" Name="Curves"/>)").apply(onlySecond, commandTable));
    ASSERT_TRUE(item<Command>(R"(<Command SID="ID_DRAW_ARC"><CommandPanel Name="Standard"/></Command>)")
                    .apply(onlySecond, commandTable));
    EXPECT_EQ(barsOf(second),
              "Home(1)[Draw(2): Old Arc Curves(3):] / File[Old | Save Export[PDF]] / Standard: New Open Save Arc");
    EXPECT_EQ(stored(*first.modeData, commandTable), edited);
}

} // namespace
} // namespace tern::update::layout
