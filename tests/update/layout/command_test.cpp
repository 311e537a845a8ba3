#include "update/layout/command.h"

#include "tests/update/layout/layout_fixture.h"
#include "update/load_report.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace tern::update::layout {
namespace {

using test::describe;
using test::displayWith;
using test::elementOf;
using test::Reports;
using test::standardMode;

class CommandTest : public test::LayoutFixture {
protected:
    void SetUp() override {
        LayoutFixture::SetUp();
        loadLayout(displayWith(standardMode("Normal")));
    }

    // Loads a "Command" from its XML and applies it to the tables.
    bool apply(const std::string& xml) { return item<Command>(xml).apply(tables, commandTable); }

    bool anyChangedFlag() const {
        for (const LayoutTable* each : tables)
            if (each->ribbonChanged || each->menuChanged || each->toolBarChanged)
                return true;
        return false;
    }
};

// --- Loading ---------------------------------------------------------------

TEST_F(CommandTest, Load_ReadsEveryAttributeAndPlacement_InDocumentOrder) {
    const Command command = item<Command>(R"(<Command SID="ID_DRAW_SPLINE" ChangeText="true">
        <Ribbon Tab="Home" Group="Draw" Mode="3dMode" Pos="After" Target="ID_DRAW_LINE" MakePos="true"/>
        <Menu Path="File/Export" Pos="First" BeginGroup="true"/>
        <CommandPanel Name="Standard" Mode="RedMode" Pos="Before" Target="ID_FILE_OPEN"/>
      </Command>)");
    EXPECT_EQ(command.sid, L"ID_DRAW_SPLINE");
    EXPECT_TRUE(command.changeText);
    ASSERT_EQ(command.items.size(), 3u);

    const CommandItem& ribbon = command.items[0];
    EXPECT_EQ(ribbon.kind, EK_RIBBON);
    EXPECT_EQ(ribbon.mode, EM_3DMODE);
    EXPECT_TRUE(ribbon.makePos);
    EXPECT_EQ(ribbon.place, L"Home");
    EXPECT_EQ(ribbon.group, L"Draw");
    EXPECT_EQ(ribbon.pos, EP_AFTER);
    EXPECT_EQ(ribbon.target, L"ID_DRAW_LINE");
    EXPECT_FALSE(ribbon.beginGroup);

    const CommandItem& menu = command.items[1];
    EXPECT_EQ(menu.kind, EK_MENU);
    EXPECT_EQ(menu.mode, EM_NORMAL);
    EXPECT_EQ(menu.place, L"File/Export");
    EXPECT_EQ(menu.group, L"");
    EXPECT_EQ(menu.pos, EP_FIRST);
    EXPECT_TRUE(menu.beginGroup);

    const CommandItem& panel = command.items[2];
    EXPECT_EQ(panel.kind, EK_COMMANDPANEL);
    EXPECT_EQ(panel.mode, EM_REDMODE);
    EXPECT_EQ(panel.place, L"Standard");
    EXPECT_EQ(panel.pos, EP_BEFORE);
    EXPECT_EQ(panel.target, L"ID_FILE_OPEN");
}

TEST_F(CommandTest, Load_GivesDefaults_WhenPlacementAttributesAreAbsent) {
    const Command command = item<Command>(R"(<Command SID="ID_DRAW_SPLINE"><Ribbon/></Command>)");
    ASSERT_EQ(command.items.size(), 1u);
    const CommandItem& placement = command.items[0];
    EXPECT_EQ(placement.kind, EK_RIBBON);
    EXPECT_EQ(placement.mode, EM_NORMAL);
    EXPECT_FALSE(placement.makePos);
    EXPECT_EQ(placement.place, L"");
    EXPECT_EQ(placement.group, L"");
    EXPECT_EQ(placement.pos, EP_LAST);
    EXPECT_EQ(placement.target, L"");
    EXPECT_FALSE(placement.beginGroup);
    EXPECT_FALSE(command.changeText);
}

TEST_F(CommandTest, Load_IsRefusedAndReported_WhenSidIsAbsentOrEmpty) {
    Reports reports;
    ScopedLoadListener listening(reports);
    Command command;
    EXPECT_FALSE(command.load(elementOf(R"(<Command><Menu Path="File"/></Command>)")));
    EXPECT_FALSE(command.load(elementOf(R"(<Command SID=""/>)")));
    EXPECT_TRUE(command.items.empty());
    EXPECT_EQ(reports.messages, std::vector<std::string>(2, "A \"Command\" without a \"SID\" is dropped."));
}

TEST_F(CommandTest, Load_AcceptsOnlyTheExactModeAndPosSpellings) {
    struct Case {
        const char* attributes;
        ItemMode mode;
        ItemPos pos;
    };
    const Case cases[] = {
        {R"(Mode="EM_NORMAL" Pos="EP_LAST")", EM_NORMAL, EP_LAST},
        {R"(Mode="3dMode" Pos="First")", EM_3DMODE, EP_FIRST},
        {R"(Mode="RedMode" Pos="Before")", EM_REDMODE, EP_BEFORE},
        {R"(Mode="3DMode" Pos="last")", EM_NORMAL, EP_LAST},
        {R"(Mode="" Pos="")", EM_NORMAL, EP_LAST},
        {R"(Mode="Red" Pos="AFTER")", EM_NORMAL, EP_LAST},
    };
    for (const Case& c : cases) {
        const Command command =
            item<Command>(std::string(R"(<Command SID="X"><Menu Path="File" )") + c.attributes + "/></Command>");
        ASSERT_EQ(command.items.size(), 1u) << c.attributes;
        EXPECT_EQ(command.items[0].mode, c.mode) << c.attributes;
        EXPECT_EQ(command.items[0].pos, c.pos) << c.attributes;
    }
}

TEST_F(CommandTest, Load_ReportsUnrecognisedValues_AndTheDefaultThatStays) {
    Reports reports;
    ScopedLoadListener listening(reports);
    item<Command>(R"(<Command SID="X"><Menu Path="File" Mode="3DMode" Pos="last" BeginGroup="yes"/></Command>)");
    EXPECT_EQ(
        reports.messages,
        (std::vector<std::string>{
            R"(The "Mode" value "3DMode" is not one of "Normal", "EM_NORMAL", "3dMode" or "RedMode", so "Normal" is used.)",
            R"(The "Pos" value "last" is not one of "First", "Last", "EP_LAST", "Before" or "After", so "Last" is used.)",
            R"(The "BeginGroup" value "yes" is not "true" or "false", so it is taken as false.)"}));
}

TEST_F(CommandTest, Load_SkipsOtherChildElements_AndNamesTheRightSpelling) {
    Reports reports;
    ScopedLoadListener listening(reports);
    const Command command = item<Command>(R"(<Command SID="X">
        <ribbon Tab="Home" Group="Draw"/><!-- a comment --><Toolbar Name="Standard"/><Menu Path="File"/>
      </Command>)");
    ASSERT_EQ(command.items.size(), 1u);
    EXPECT_EQ(command.items[0].kind, EK_MENU);
    ASSERT_EQ(reports.messages.size(), 2u);
    EXPECT_NE(reports.messages[0].find(R"("ribbon")"), std::string::npos) << reports.messages[0];
    EXPECT_NE(reports.messages[0].find(R"(write "Ribbon")"), std::string::npos) << reports.messages[0];
    EXPECT_NE(reports.messages[1].find(R"("Toolbar")"), std::string::npos) << reports.messages[1];
    EXPECT_NE(reports.messages[1].find(R"("CommandPanel")"), std::string::npos) << reports.messages[1];
}

TEST_F(CommandTest, Load_ReportsPlacementsThatCanPlaceNothing) {
    Reports reports;
    ScopedLoadListener listening(reports);
    item<Command>(R"(<Command SID="X"><Ribbon Tab="Home"/><CommandPanel Pos="After"/></Command>)");
    EXPECT_EQ(reports.messages,
              (std::vector<std::string>{
                  R"(A "Ribbon" without a "Tab" and a "Group" places nothing.)",
                  R"(A "CommandPanel" without a "Name" places nothing.)",
                  R"(The position is "After" but no target is named, so the new entry goes at the end.)"}));
}

TEST_F(CommandTest, Clone_CopiesEveryFieldIntoAnIndependentCommand) {
    Command original = item<Command>(R"(<Command SID="ID_DRAW_SPLINE" ChangeText="true">
        <Ribbon Tab="Home" Group="Draw" Pos="First"/></Command>)");
    std::unique_ptr<ILayoutItem> copy(original.clone());
    original.items[0].place = L"Changed";
    const auto* command = dynamic_cast<const Command*>(copy.get());
    ASSERT_NE(command, nullptr);
    EXPECT_EQ(command->sid, L"ID_DRAW_SPLINE");
    EXPECT_TRUE(command->changeText);
    ASSERT_EQ(command->items.size(), 1u);
    EXPECT_EQ(command->items[0].place, L"Home");
    EXPECT_EQ(command->items[0].pos, EP_FIRST);
}

// --- Applying: what is never placed -----------------------------------------

TEST_F(CommandTest, Apply_ChangesNothing_WhenTheCommandTableDoesNotKnowTheSid) {
    EXPECT_FALSE(apply(R"(<Command SID="ID_UNKNOWN" ChangeText="true">
        <Ribbon Tab="Home" Group="Draw"/><Menu Path="File"/><CommandPanel Name="Standard"/></Command>)"));
    EXPECT_FALSE(anyChangedFlag());
    EXPECT_EQ(describe(table().ribbon), "Home(1)[Draw(2): Line Arc]");
}

TEST_F(CommandTest, Apply_ReturnsFalse_ForAnEmptyListAndSkipsNullTables) {
    Command command = item<Command>(R"(<Command SID="ID_DRAW_SPLINE"><Ribbon Tab="Home" Group="Draw"/></Command>)");
    EXPECT_FALSE(command.apply({}, commandTable));
    EXPECT_TRUE(command.apply({nullptr, &table(), nullptr}, commandTable));
    EXPECT_EQ(describe(table().ribbon), "Home(1)[Draw(2): Line Arc Spline]");
}

TEST_F(CommandTest, Apply_ChangesNothing_ForACommandWithoutPlacements) {
    EXPECT_FALSE(apply(R"(<Command SID="ID_DRAW_SPLINE"/>)"));
    EXPECT_FALSE(anyChangedFlag());
}

// --- Duplicates refused -----------------------------------------------------

TEST_F(CommandTest, Apply_DoesNotAddACommandTwice_InAnyBar) {
    EXPECT_FALSE(apply(R"(<Command SID="ID_DRAW_LINE"><Ribbon Tab="Home" Group="Draw" Pos="First"/></Command>)"));
    EXPECT_FALSE(apply(R"(<Command SID="ID_FILE_SAVE"><Menu Path="File" Pos="First"/></Command>)"));
    EXPECT_FALSE(apply(R"(<Command SID="ID_FILE_NEW"><CommandPanel Name="Standard"/></Command>)"));
    EXPECT_FALSE(anyChangedFlag());
    EXPECT_EQ(describe(table().ribbon), "Home(1)[Draw(2): Line Arc]");
    EXPECT_EQ(describe(table().menuBar), "File[Open | Save Export[PDF]]");
    EXPECT_EQ(describe(toolBar("Standard")), "Standard: New Open Save");
}

TEST_F(CommandTest, Apply_PlacesOnce_WhenTwoPlacementsNameTheSameGroup) {
    EXPECT_TRUE(apply(R"(<Command SID="ID_DRAW_SPLINE">
        <Ribbon Tab="Home" Group="Draw" Pos="First"/><Ribbon Tab="Home" Group="Draw"/></Command>)"));
    EXPECT_EQ(describe(table().ribbon), "Home(1)[Draw(2): Spline Line Arc]");
}

TEST_F(CommandTest, Apply_PlacesNothing_ForAPositionOutsideTheCodes) {
    Command command = item<Command>(R"(<Command SID="ID_DRAW_SPLINE">
        <Ribbon Tab="Home" Group="Draw"/><Menu Path="File"/><CommandPanel Name="Standard"/></Command>)");
    for (CommandItem& placement : command.items)
        placement.pos = static_cast<ItemPos>(0);
    EXPECT_FALSE(command.apply(tables, commandTable));
    EXPECT_FALSE(anyChangedFlag());
    EXPECT_EQ(describe(table().ribbon), "Home(1)[Draw(2): Line Arc]");
    EXPECT_EQ(describe(table().menuBar), "File[Open | Save Export[PDF]]");
    EXPECT_EQ(describe(toolBar("Standard")), "Standard: New Open Save");
}

// --- Placement by position: ribbon ------------------------------------------

struct PlacementCase {
    const char* placement; // the child element of the "Command"
    const char* expected;  // the whole bar afterwards
};

class RibbonPlacement : public CommandTest, public ::testing::WithParamInterface<PlacementCase> {};

TEST_P(RibbonPlacement, PutsTheCommandWhereThePositionSays) {
    EXPECT_TRUE(apply(std::string(R"(<Command SID="ID_DRAW_SPLINE">)") + GetParam().placement + "</Command>"));
    EXPECT_EQ(describe(table().ribbon), GetParam().expected);
    EXPECT_TRUE(table().ribbonChanged);
    EXPECT_FALSE(table().menuChanged || table().toolBarChanged);
}

INSTANTIATE_TEST_SUITE_P(
    CommandTest, RibbonPlacement,
    ::testing::Values(
        PlacementCase{R"(<Ribbon Tab="Home" Group="Draw" Pos="First"/>)", "Home(1)[Draw(2): Spline Line Arc]"},
        PlacementCase{R"(<Ribbon Tab="Home" Group="Draw" Pos="Last"/>)", "Home(1)[Draw(2): Line Arc Spline]"},
        PlacementCase{R"(<Ribbon Tab="Home" Group="Draw" Pos="Before" Target="ID_DRAW_ARC"/>)",
                      "Home(1)[Draw(2): Line Spline Arc]"},
        PlacementCase{R"(<Ribbon Tab="Home" Group="Draw" Pos="After" Target="ID_DRAW_ARC"/>)",
                      "Home(1)[Draw(2): Line Arc Spline]"},
        PlacementCase{R"(<Ribbon Tab="Home" Group="Draw" Pos="Before" Target="ID_FILE_OPEN"/>)",
                      "Home(1)[Draw(2): Line Arc Spline]"},
        PlacementCase{R"(<Ribbon Tab="Home" Group="Draw" Pos="After" Target="ID_UNKNOWN"/>)",
                      "Home(1)[Draw(2): Line Arc Spline]"},
        PlacementCase{R"(<Ribbon Tab="Home" Group="Draw" Pos="First" BeginGroup="true"/>)",
                      "Home(1)[Draw(2): Spline Line Arc]"},
        PlacementCase{R"(<Ribbon Tab="Home" Group="Curves" MakePos="true"/>)",
                      "Home(1)[Draw(2): Line Arc Curves(3): Spline]"},
        PlacementCase{R"(<Ribbon Tab="Insert" Group="Curves" MakePos="true"/>)",
                      "Home(1)[Draw(2): Line Arc] Insert(3)[Curves(4): Spline]"}));

TEST_F(CommandTest, Ribbon_PlacesNothing_WhenTabOrGroupIsMissingWithoutMakePos) {
    EXPECT_FALSE(apply(R"(<Command SID="ID_DRAW_SPLINE">
        <Ribbon Tab="Insert" Group="Draw"/><Ribbon Tab="Home" Group="Curves"/>
        <Ribbon Tab="Home"/><Ribbon Group="Draw" MakePos="true"/></Command>)"));
    EXPECT_EQ(describe(table().ribbon), "Home(1)[Draw(2): Line Arc]");
    EXPECT_FALSE(anyChangedFlag());
}

// --- Placement by position: menu ---------------------------------------------

class MenuPlacement : public CommandTest, public ::testing::WithParamInterface<PlacementCase> {};

TEST_P(MenuPlacement, PutsTheCommandAndItsSeparatorWhereThePositionSays) {
    EXPECT_TRUE(apply(std::string(R"(<Command SID="ID_FILE_NEW">)") + GetParam().placement + "</Command>"));
    EXPECT_EQ(describe(table().menuBar), GetParam().expected);
    EXPECT_TRUE(table().menuChanged);
    EXPECT_FALSE(table().ribbonChanged || table().toolBarChanged);
}

INSTANTIATE_TEST_SUITE_P(
    CommandTest, MenuPlacement,
    ::testing::Values(
        PlacementCase{R"(<Menu Path="File" Pos="First" BeginGroup="true"/>)", "File[New Open | Save Export[PDF]]"},
        PlacementCase{R"(<Menu Path="File" Pos="Last"/>)", "File[Open | Save Export[PDF] New]"},
        PlacementCase{R"(<Menu Path="File" Pos="Last" BeginGroup="true"/>)", "File[Open | Save Export[PDF] | New]"},
        PlacementCase{R"(<Menu Path="File" Pos="Before" Target="ID_FILE_OPEN" BeginGroup="true"/>)",
                      "File[| New Open | Save Export[PDF]]"},
        PlacementCase{R"(<Menu Path="File" Pos="Before" Target="ID_FILE_SAVE"/>)", "File[Open | New Save Export[PDF]]"},
        PlacementCase{R"(<Menu Path="File" Pos="After" Target="ID_FILE_SAVE" BeginGroup="true"/>)",
                      "File[Open | Save | New Export[PDF]]"},
        // The target is the last entry: appended, and no separator.
        PlacementCase{R"(<Menu Path="File/Export" Pos="After" Target="ID_EXPORT_PDF" BeginGroup="true"/>)",
                      "File[Open | Save Export[PDF New]]"},
        // The target is absent: appended, and no separator.
        PlacementCase{R"(<Menu Path="File" Pos="Before" Target="ID_DRAW_LINE" BeginGroup="true"/>)",
                      "File[Open | Save Export[PDF] New]"},
        PlacementCase{R"(<Menu Path="File/Import" MakePos="true"/>)", "File[Open | Save Export[PDF] Import[New]]"},
        PlacementCase{R"(<Menu Path="Tools/Options" MakePos="true"/>)",
                      "File[Open | Save Export[PDF]] Tools[Options[New]]"}));

TEST_F(CommandTest, Menu_PlacesNothing_WhenThePathIsMissingOrLeadsToACommand) {
    EXPECT_FALSE(apply(R"(<Command SID="ID_FILE_NEW">
        <Menu Path="Tools"/><Menu Path="File/Open"/><Menu Path="File/Open" MakePos="true"/><Menu Path=""/>
      </Command>)"));
    EXPECT_EQ(describe(table().menuBar), "File[Open | Save Export[PDF]]");
    EXPECT_FALSE(anyChangedFlag());
}

// --- Placement by position: toolbar ------------------------------------------

class ToolBarPlacement : public CommandTest, public ::testing::WithParamInterface<PlacementCase> {};

TEST_P(ToolBarPlacement, PutsTheCommandAndItsGroupStartWhereThePositionSays) {
    EXPECT_TRUE(apply(std::string(R"(<Command SID="ID_DRAW_LINE">)") + GetParam().placement + "</Command>"));
    EXPECT_EQ(describe(toolBar("Standard")), GetParam().expected);
    EXPECT_TRUE(table().toolBarChanged);
    EXPECT_FALSE(table().ribbonChanged || table().menuChanged);
}

INSTANTIATE_TEST_SUITE_P(
    CommandTest, ToolBarPlacement,
    ::testing::Values(
        PlacementCase{R"(<CommandPanel Name="Standard" Pos="First" BeginGroup="true"/>)",
                      "Standard: Line New Open Save"},
        PlacementCase{R"(<CommandPanel Name="Standard" BeginGroup="true"/>)", "Standard: New Open Save |Line"},
        PlacementCase{R"(<CommandPanel Name="Standard" Pos="Before" Target="ID_FILE_OPEN" BeginGroup="true"/>)",
                      "Standard: New |Line Open Save"},
        PlacementCase{R"(<CommandPanel Name="Standard" Pos="After" Target="ID_FILE_OPEN"/>)",
                      "Standard: New Open Line Save"},
        PlacementCase{R"(<CommandPanel Name="Standard" Pos="After" Target="ID_EXPORT_PDF" BeginGroup="true"/>)",
                      "Standard: New Open Save |Line"}));

TEST_F(CommandTest, ToolBar_IsMadeAndRecordedAsAnOption_OnlyWithMakePos) {
    EXPECT_FALSE(apply(R"(<Command SID="ID_DRAW_LINE"><CommandPanel Name="Drawing"/></Command>)"));
    EXPECT_EQ(table().commandBars.getToolBars().size(), 1u);
    EXPECT_TRUE(table().modeData->getToolBarOptions().empty());

    EXPECT_TRUE(apply(R"(<Command SID="ID_DRAW_LINE"><CommandPanel Name="Drawing" MakePos="true"/></Command>)"));
    EXPECT_EQ(describe(toolBar("Drawing")), "Drawing: Line");
    EXPECT_EQ(toolBar("Drawing").getPosition(), tern::layout::barTop);
    ASSERT_EQ(table().modeData->getToolBarOptions().size(), 1u);
    EXPECT_EQ(table().modeData->getToolBarOptions()[0].getTitle(), L"Drawing");
}

// --- Mode filtering ----------------------------------------------------------

class CommandModeTest : public CommandTest {
protected:
    void SetUp() override {
        LayoutFixture::SetUp();
        loadLayout(displayWith(standardMode("Normal") + standardMode("3D") + standardMode("Red")));
    }
};

TEST_F(CommandModeTest, Placement_ActsOnlyOnTablesOfItsMode) {
    EXPECT_TRUE(apply(R"(<Command SID="ID_DRAW_SPLINE">
        <Ribbon Tab="Home" Group="Draw" Mode="3dMode"/><CommandPanel Name="Standard" Mode="RedMode"/></Command>)"));
    EXPECT_EQ(describe(table("Normal").ribbon), "Home(1)[Draw(2): Line Arc]");
    EXPECT_EQ(describe(table("3D").ribbon), "Home(1)[Draw(2): Line Arc Spline]");
    EXPECT_EQ(describe(table("Red").ribbon), "Home(1)[Draw(2): Line Arc]");
    EXPECT_EQ(describe(toolBar("Standard", "Red")), "Standard: New Open Save Spline");
    EXPECT_EQ(describe(toolBar("Standard", "3D")), "Standard: New Open Save");
    EXPECT_FALSE(table("Normal").ribbonChanged || table("Normal").toolBarChanged);
    EXPECT_TRUE(table("3D").ribbonChanged);
    EXPECT_FALSE(table("3D").toolBarChanged);
    EXPECT_TRUE(table("Red").toolBarChanged);
    EXPECT_FALSE(table("Red").ribbonChanged);
}

// --- Captions refreshed -------------------------------------------------------

TEST_F(CommandModeTest, ChangeText_RefreshesEveryBarOfEveryTable_WhateverThePlacementsMode) {
    loadLayout(displayWith(R"(<LayoutMode Name="3D">
        <Ribbon><Tab Id="1" Caption="Home"><Group Id="2" Caption="Draw">
          <Control SID="ID_FILE_OPEN" Caption="Open old"/></Group></Tab></Ribbon>
        <Menu><Popup Caption="File"><Command SID="ID_FILE_OPEN" Caption="&amp;Open..."/></Popup></Menu>
        <ToolBar Title="Standard"><Command SID="ID_FILE_OPEN" Caption="Opn"/></ToolBar>
      </LayoutMode>)",
                           "Legacy"));
    EXPECT_TRUE(
        apply(R"(<Command SID="ID_FILE_OPEN" ChangeText="true"><Menu Path="Tools" Mode="RedMode"/></Command>)"));
    for (const LayoutTable* each : tables) {
        const bool legacy = each->typeName == L"Legacy";
        EXPECT_EQ(each->ribbonChanged, legacy);
        EXPECT_EQ(each->menuChanged, legacy);
        EXPECT_EQ(each->toolBarChanged, legacy);
        if (legacy) {
            EXPECT_EQ(describe(each->ribbon), "Home(1)[Draw(2): Open]");
            EXPECT_EQ(describe(each->menuBar), "File[Open]");
            EXPECT_EQ(describe(each->commandBars.getToolBars()[0]), "Standard: Open");
        }
    }
}

TEST_F(CommandTest, ChangeText_ChangesNothing_WhenCaptionsAlreadyMatch) {
    EXPECT_FALSE(apply(R"(<Command SID="ID_FILE_OPEN" ChangeText="true"/>)"));
    EXPECT_FALSE(anyChangedFlag());
}

// --- Unknown commands in the layout -------------------------------------------

TEST_F(CommandTest, UnknownCommandsInTheLayout_AreNeverTargetsNorDuplicates) {
    loadLayout(displayWith(R"(<LayoutMode Name="Red">
        <Menu><Popup Caption="File"><Command SID="ID_OLD" Caption="Old"/></Popup></Menu>
        <ToolBar Title="Standard"><Command SID="ID_OLD" Caption="Old"/></ToolBar>
      </LayoutMode>)",
                           "Legacy"));
    EXPECT_TRUE(apply(R"(<Command SID="ID_FILE_NEW">
        <Menu Path="File" Mode="RedMode" Pos="Before" Target="ID_OLD"/>
        <CommandPanel Name="Standard" Mode="RedMode" Pos="First"/></Command>)"));
    EXPECT_EQ(describe(table("Red", "Legacy").menuBar), "File[Old? New]");
    EXPECT_EQ(describe(toolBar("Standard", "Red", "Legacy")), "Standard: New Old?");
}

} // namespace
} // namespace tern::update::layout
