#include "update/layout/layout_table.h"

#include "update/layout/command.h"
#include "update/layout/make_group.h"
#include "update/layout/make_popup_menu.h"
#include "tests/update/layout/layout_fixture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace tern::update::layout {
namespace {

using test::describe;
using test::displayWith;
using test::standardMode;

class LayoutTableTest : public test::LayoutFixture {
protected:
    // Commits every table with a changed flag, saves the model as this
    // release's layout file and returns the file's text.
    std::string commitAndSave() {
        for (LayoutTable* each : tables) {
            if (each->ribbonChanged || each->menuChanged || each->toolBarChanged) {
                EXPECT_TRUE(each->commit(commandTable)) << "table " << each->modeNo;
            }
        }
        std::filesystem::create_directories(folder.native("current/Config"));
        EXPECT_TRUE(manager().saveXmlFile(folder.system("current/Config/Display.xml"), commandTable));
        return test::readFile(folder.native("current/Config/Display.xml"));
    }
};

TEST_F(LayoutTableTest, ModeNoFromName_FollowsTheLibrarysModeNamesExactly) {
    EXPECT_EQ(LayoutTable::modeNoFromName(L"Normal"), EM_NORMAL);
    EXPECT_EQ(LayoutTable::modeNoFromName(L"3D"), EM_3DMODE);
    EXPECT_EQ(LayoutTable::modeNoFromName(L"Red"), EM_REDMODE);
    EXPECT_EQ(LayoutTable::modeNoFromName(L"red"), EM_NORMAL);
    EXPECT_EQ(LayoutTable::modeNoFromName(L"Sketch"), EM_NORMAL);
}

TEST_F(LayoutTableTest, Setup_Fails_ForMissingModeDataOrNames_AndClearsTheFlags) {
    loadLayout(displayWith(standardMode("Normal")));
    tern::layout::LayoutModeData* mode = manager().findType(L"Standard")->findLayoutMode(L"Normal");
    LayoutTable fresh;
    const auto flagged = [&] {
        fresh.ribbonChanged = fresh.menuChanged = fresh.toolBarChanged = true;
        return &fresh;
    };
    EXPECT_FALSE(flagged()->setup(nullptr, commandTable, EM_NORMAL, L"Standard", L"Normal"));
    EXPECT_FALSE(flagged()->setup(mode, commandTable, EM_NORMAL, L"", L"Normal"));
    EXPECT_FALSE(flagged()->setup(mode, commandTable, EM_NORMAL, L"Standard", nullptr));
    EXPECT_FALSE(fresh.ribbonChanged || fresh.menuChanged || fresh.toolBarChanged);
    EXPECT_EQ(fresh.modeData, nullptr);
    EXPECT_EQ(fresh.modeNo, EM_NORMAL);
}

TEST_F(LayoutTableTest, Setup_CopiesTheModesBars_WhichStayUntouchedUntilCommit) {
    loadLayout(displayWith(standardMode("Red")));
    LayoutTable& red = table("Red");
    EXPECT_EQ(red.modeNo, EM_REDMODE);
    EXPECT_EQ(red.typeName, L"Standard");
    EXPECT_EQ(describe(red.ribbon), "Home(1)[Draw(2): Line Arc]");
    EXPECT_EQ(describe(red.menuBar), "File[Open | Save Export[PDF]]");

    Command command;
    ASSERT_TRUE(command.load(test::elementOf(R"(<Command SID="ID_DRAW_SPLINE">
        <Ribbon Tab="Home" Group="Draw" Mode="RedMode"/></Command>)")));
    ASSERT_TRUE(command.apply(tables, commandTable));
    tern::layout::CCommandBars stored;
    red.modeData->setupTo(stored, commandTable);
    EXPECT_EQ(describe(stored.getRibbonBar()), "Home(1)[Draw(2): Line Arc]");

    ASSERT_TRUE(red.commit(commandTable));
    red.modeData->setupTo(stored, commandTable);
    EXPECT_EQ(describe(stored.getRibbonBar()), "Home(1)[Draw(2): Line Arc Spline]");
}

TEST_F(LayoutTableTest, Commit_Fails_ForATableNeverSetUpOrWithNothingChanged) {
    LayoutTable never;
    never.toolBarChanged = true;
    EXPECT_FALSE(never.commit(commandTable));

    loadLayout(displayWith(standardMode("Normal")));
    EXPECT_FALSE(table().commit(commandTable));
}

// The saved file of these tests: one type "Standard", one mode "Normal",
// whose child elements are given as whole lines.
std::string savedStandard(const std::string& ribbon, const std::string& menu, const std::string& rest) {
    return R"(<?xml version="1.0" encoding="UTF-8"?>
<Display>
  <LayoutType Name="Standard">
    <LayoutMode Name="Normal">
)" + ribbon + menu + rest +
           R"(    </LayoutMode>
  </LayoutType>
</Display>
)";
}

const char* const standardRibbon = R"(      <Ribbon>
        <Tab Id="1" Caption="Home">
          <Group Id="2" Caption="Draw">
            <Control SID="ID_DRAW_LINE" Caption="Line"/>
            <Control SID="ID_DRAW_ARC" Caption="Arc"/>
          </Group>
        </Tab>
      </Ribbon>
)";
const char* const standardMenu = R"(      <Menu>
        <Popup Caption="File">
          <Command SID="ID_FILE_OPEN" Caption="Open"/>
          <Separator/>
          <Command SID="ID_FILE_SAVE" Caption="Save"/>
          <Popup Caption="Export">
            <Command SID="ID_EXPORT_PDF" Caption="PDF"/>
          </Popup>
        </Popup>
      </Menu>
)";

TEST_F(LayoutTableTest, Commit_StoresAToolBarOnlyChange_AndTheSavedFileShowsIt) {
    loadLayout(displayWith(standardMode("Normal")));
    Command command;
    ASSERT_TRUE(command.load(test::elementOf(R"(<Command SID="ID_DRAW_LINE">
        <CommandPanel Name="Standard" BeginGroup="true"/><CommandPanel Name="Drawing" MakePos="true"/></Command>)")));
    ASSERT_TRUE(command.apply(tables, commandTable));
    ASSERT_TRUE(table().toolBarChanged);
    ASSERT_FALSE(table().ribbonChanged || table().menuChanged);
    EXPECT_TRUE(table().commit(commandTable));

    const std::string toolBars = R"(      <ToolBar Title="Standard" Position="Top">
        <Command SID="ID_FILE_NEW" Caption="New"/>
        <Command SID="ID_FILE_OPEN" Caption="Open"/>
        <Command SID="ID_FILE_SAVE" Caption="Save"/>
        <Command SID="ID_DRAW_LINE" Caption="Line" BeginGroup="true"/>
      </ToolBar>
      <ToolBar Title="Drawing" Position="Top">
        <Command SID="ID_DRAW_LINE" Caption="Line"/>
      </ToolBar>
      <ToolBarOption Title="Drawing"/>
)";
    EXPECT_EQ(commitAndSave(), savedStandard(standardRibbon, standardMenu, toolBars));
}

TEST_F(LayoutTableTest, Commit_StoresAMenuChange_AndTheSavedFileShowsIt) {
    loadLayout(displayWith(standardMode("Normal")));
    MakePopupMenu popup;
    ASSERT_TRUE(popup.load(test::elementOf(R"(<MakePopupMenu Path="File" Name="Import" BeginGroup="true"/>)")));
    ASSERT_TRUE(popup.apply(tables, commandTable));

    EXPECT_EQ(commitAndSave(), savedStandard(standardRibbon, R"(      <Menu>
        <Popup Caption="File">
          <Command SID="ID_FILE_OPEN" Caption="Open"/>
          <Separator/>
          <Command SID="ID_FILE_SAVE" Caption="Save"/>
          <Popup Caption="Export">
            <Command SID="ID_EXPORT_PDF" Caption="PDF"/>
          </Popup>
          <Separator/>
          <Popup Caption="Import"/>
        </Popup>
      </Menu>
)",
                                             R"(      <ToolBar Title="Standard" Position="Top">
        <Command SID="ID_FILE_NEW" Caption="New"/>
        <Command SID="ID_FILE_OPEN" Caption="Open"/>
        <Command SID="ID_FILE_SAVE" Caption="Save"/>
      </ToolBar>
)"));
}

TEST_F(LayoutTableTest, Commit_RenumbersTheRibbonsTabsAndGroups_BeforeStoringIt) {
    loadLayout(displayWith(R"(<LayoutMode Name="Normal"><Ribbon>
        <Tab Id="4" Caption="Home"><Group Id="9" Caption="Draw"/></Tab><Tab Id="2" Caption="View"/>
      </Ribbon></LayoutMode>)"));
    MakeGroup group;
    ASSERT_TRUE(group.load(test::elementOf(R"(<MakeGroup Tab="Home" Name="Curves" Pos="First"/>)")));
    ASSERT_TRUE(group.apply(tables, commandTable));
    EXPECT_EQ(describe(table().ribbon), "Home(4)[Curves(10): Draw(9):] View(2)[]");

    EXPECT_EQ(commitAndSave(), savedStandard(R"(      <Ribbon>
        <Tab Id="1" Caption="Home">
          <Group Id="2" Caption="Curves"/>
          <Group Id="3" Caption="Draw"/>
        </Tab>
        <Tab Id="4" Caption="View"/>
      </Ribbon>
)",
                                             "      <Menu/>\n", ""));
}

TEST_F(LayoutTableTest, Commit_CarriesEachTablesEditsIntoItsOwnModeOnly) {
    loadLayout(displayWith(standardMode("Normal") + standardMode("3D")));
    Command command;
    ASSERT_TRUE(command.load(test::elementOf(R"(<Command SID="ID_DRAW_SPLINE">
        <Ribbon Tab="Home" Group="Draw" Mode="3dMode" Pos="First"/></Command>)")));
    ASSERT_TRUE(command.apply(tables, commandTable));
    commitAndSave();

    tern::layout::LayoutManager reread;
    ASSERT_TRUE(reread.loadXmlFile(folder.system("current/Config/Display.xml"), frame));
    tern::layout::CCommandBars normal;
    tern::layout::CCommandBars threeD;
    reread.findType(L"Standard")->findLayoutMode(L"Normal")->setupTo(normal, commandTable);
    reread.findType(L"Standard")->findLayoutMode(L"3D")->setupTo(threeD, commandTable);
    EXPECT_EQ(describe(normal.getRibbonBar()), "Home(1)[Draw(2): Line Arc]");
    EXPECT_EQ(describe(threeD.getRibbonBar()), "Home(1)[Draw(2): Spline Line Arc]");
}

} // namespace
} // namespace tern::update::layout
