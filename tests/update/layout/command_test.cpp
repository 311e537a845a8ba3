#include "update/layout/command.h"

#include "platform/text.h"
#include "tests/update/layout/layout_fixture.h"

#include <gtest/gtest.h>

#include <string>

namespace tern::update::layout {
namespace {

using platform::toUtf8;
using test::barsOf;
using test::changedFlags;
using test::describe;
using test::displayWith;
using test::standardMode;

// "SID ChangeText | Kind Mode [Place/Group] Pos Target MakePos BeginGroup | ...".
std::string fields(const Command& command) {
    std::string text = toUtf8(command.sid) + (command.changeText ? " ChangeText" : "");
    for (const CommandItem& item : command.items) {
        const char* const kinds[] = {"?", "Ribbon", "Menu", "CommandPanel"};
        text += std::string(" | ") + kinds[item.kind] + " " + test::modeText(item.mode) + " [" + toUtf8(item.place) +
                (item.group.empty() ? "" : "/" + toUtf8(item.group)) + "] " + test::posText(item.pos) +
                (item.target.empty() ? "" : " " + toUtf8(item.target)) + (item.makePos ? " MakePos" : "") +
                (item.beginGroup ? " BeginGroup" : "");
    }
    return text;
}

// --- Loading ---------------------------------------------------------------

TEST(CommandLoad, Load_ReadsEachPlacementInOrder_WithExactSpellingsOnly_AndReportsWhatIsDropped) {
    test::expectLoads<Command>(
        {{R"(<Command SID="ID_DRAW_SPLINE" ChangeText="true">
             <Ribbon Tab="Home" Group="Draw" Mode="3dMode" Pos="After" Target="ID_DRAW_LINE" MakePos="true"/>
             <Menu Path="File/Export" Pos="First" BeginGroup="true"/>
             <CommandPanel Name="Standard" Mode="RedMode" Pos="Before" Target="ID_FILE_OPEN"/>
           </Command>)",
          "ID_DRAW_SPLINE ChangeText | Ribbon 3dMode [Home/Draw] After ID_DRAW_LINE MakePos"
          " | Menu Normal [File/Export] First BeginGroup | CommandPanel RedMode [Standard] Before ID_FILE_OPEN",
          {}},
         {R"(<Command SID="ID_DRAW_SPLINE"><Ribbon/></Command>)",
          "ID_DRAW_SPLINE | Ribbon Normal [] Last",
          {R"(A "Ribbon" without a "Tab" and a "Group" places nothing.)"}},
         {R"(<Command><Menu Path="File"/></Command>)", "refused: ", {R"(A "Command" without a "SID" is dropped.)"}},
         {R"(<Command SID="" ChangeText="true"/>)", "refused: ", {R"(A "Command" without a "SID" is dropped.)"}},
         {R"(<Command SID="X"><Menu Path="F" Mode="EM_NORMAL" Pos="EP_LAST"/><Menu Path="F" Mode="" Pos=""/>
             <Menu Path="F" Mode="RedMode" Pos="Before" Target="T"/><Menu Path="F" Mode="Normal" Pos="Last"/>
           </Command>)",
          "X | Menu Normal [F] Last | Menu Normal [F] Last | Menu RedMode [F] Before T | Menu Normal [F] Last",
          {}},
         {R"(<Command SID="X"><Menu Path="F" Mode="3DMode" Pos="last" BeginGroup="yes"/>
             <Menu Path="F" Mode="Red" Pos="AFTER"/></Command>)",
          "X | Menu Normal [F] Last | Menu Normal [F] Last",
          {R"(The "Mode" value "3DMode" is not one of "Normal", "EM_NORMAL", "3dMode" or "RedMode", )"
           R"(so "Normal" is used.)",
           R"(The "Pos" value "last" is not one of "First", "Last", "EP_LAST", "Before" or "After", )"
           R"(so "Last" is used.)",
           R"(The "BeginGroup" value "yes" is not "true" or "false", so it is taken as false.)",
           R"(The "Mode" value "Red" is not one of "Normal", "EM_NORMAL", "3dMode" or "RedMode", )"
           R"(so "Normal" is used.)",
           R"(The "Pos" value "AFTER" is not one of "First", "Last", "EP_LAST", "Before" or "After", )"
           R"(so "Last" is used.)"}},
         {R"(<Command SID="X"><ribbon Tab="Home" Group="Draw"/><!-- a comment --><Toolbar Name="Standard"/>
             <Menu Path="File"/><Ribbon Tab="Home"/><CommandPanel Pos="After"/></Command>)",
          "X | Menu Normal [File] Last | Ribbon Normal [Home] Last | CommandPanel Normal [] After",
          {R"(The element "ribbon" inside "Command" is skipped; names are case-sensitive, so write "Ribbon".)",
           R"(The element "Toolbar" inside "Command" is skipped; expected "Ribbon", "Menu" or "CommandPanel".)",
           R"(A "Ribbon" without a "Tab" and a "Group" places nothing.)",
           R"(A "CommandPanel" without a "Name" places nothing.)",
           R"(The position is "After" but no target is named, so the new entry goes at the end.)"}}},
        fields);
}

// --- Applying ----------------------------------------------------------------

class CommandTest : public test::LayoutFixture {};

TEST_F(CommandTest, Apply_PutsTheCommandWhereEachPlacementSays_OnceInEachBar) {
    struct Case {
        const char* placements; // the children of a "Command" of ID_DRAW_SPLINE, "Spline"
        const char* ribbon = nullptr; // each bar afterwards; null when it stays as it was
        const char* menu = nullptr;
        const char* toolBars = nullptr;
    };
    const Case cases[] = {
        {R"(<Ribbon Tab="Home" Group="Draw" Pos="First"/>)", "Home(1)[Draw(2): Spline Line Arc]"},
        {R"(<Ribbon Tab="Home" Group="Draw" Pos="Last"/>)", "Home(1)[Draw(2): Line Arc Spline]"},
        {R"(<Ribbon Tab="Home" Group="Draw" Pos="Before" Target="ID_DRAW_ARC"/>)", "Home(1)[Draw(2): Line Spline Arc]"},
        {R"(<Ribbon Tab="Home" Group="Draw" Pos="After" Target="ID_DRAW_ARC"/>)", "Home(1)[Draw(2): Line Arc Spline]"},
        // A target outside the group, or unknown, appends.
        {R"(<Ribbon Tab="Home" Group="Draw" Pos="Before" Target="ID_FILE_OPEN"/>)",
         "Home(1)[Draw(2): Line Arc Spline]"},
        {R"(<Ribbon Tab="Home" Group="Draw" Pos="After" Target="ID_UNKNOWN"/>)", "Home(1)[Draw(2): Line Arc Spline]"},
        {R"(<Ribbon Tab="Home" Group="Draw" Pos="First" BeginGroup="true"/><Ribbon Tab="Home" Group="Draw"/>)",
         "Home(1)[Draw(2): Spline Line Arc]"},
        {R"(<Ribbon Tab="Home" Group="Curves" MakePos="true"/>)", "Home(1)[Draw(2): Line Arc Curves(3): Spline]"},
        {R"(<Ribbon Tab="Insert" Group="Curves" MakePos="true"/>)",
         "Home(1)[Draw(2): Line Arc] Insert(3)[Curves(4): Spline]"},
        {R"(<Ribbon Tab="Insert" Group="Draw"/><Ribbon Tab="Home" Group="Curves"/>
            <Ribbon Tab="Home"/><Ribbon Group="Draw" MakePos="true"/>)"},
        // A separator goes before the new entry where it follows another one.
        {R"(<Menu Path="File" Pos="First" BeginGroup="true"/>)", nullptr, "File[Spline Open | Save Export[PDF]]"},
        {R"(<Menu Path="File" Pos="Last"/>)", nullptr, "File[Open | Save Export[PDF] Spline]"},
        {R"(<Menu Path="File" Pos="Last" BeginGroup="true"/>)", nullptr, "File[Open | Save Export[PDF] | Spline]"},
        {R"(<Menu Path="File" Pos="Before" Target="ID_FILE_OPEN" BeginGroup="true"/>)", nullptr,
         "File[| Spline Open | Save Export[PDF]]"},
        {R"(<Menu Path="File" Pos="Before" Target="ID_FILE_SAVE"/>)", nullptr, "File[Open | Spline Save Export[PDF]]"},
        {R"(<Menu Path="File" Pos="After" Target="ID_FILE_SAVE" BeginGroup="true"/>)", nullptr,
         "File[Open | Save | Spline Export[PDF]]"},
        // After the last entry, or next to an absent target: appended, and no separator.
        {R"(<Menu Path="File/Export" Pos="After" Target="ID_EXPORT_PDF" BeginGroup="true"/>)", nullptr,
         "File[Open | Save Export[PDF Spline]]"},
        {R"(<Menu Path="File" Pos="Before" Target="ID_DRAW_LINE" BeginGroup="true"/>)", nullptr,
         "File[Open | Save Export[PDF] Spline]"},
        {R"(<Menu Path="File/Import" MakePos="true"/>)", nullptr, "File[Open | Save Export[PDF] Import[Spline]]"},
        {R"(<Menu Path="Tools/Options" MakePos="true"/>)", nullptr,
         "File[Open | Save Export[PDF]] Tools[Options[Spline]]"},
        {R"(<Menu Path="Tools"/><Menu Path="File/Open"/><Menu Path="File/Open" MakePos="true"/><Menu Path=""/>)"},
        // A group start before the first control would show nothing.
        {R"(<CommandPanel Name="Standard" Pos="First" BeginGroup="true"/>)", nullptr, nullptr,
         "Standard: Spline New Open Save"},
        {R"(<CommandPanel Name="Standard" BeginGroup="true"/>)", nullptr, nullptr, "Standard: New Open Save |Spline"},
        {R"(<CommandPanel Name="Standard" Pos="Before" Target="ID_FILE_OPEN" BeginGroup="true"/>)", nullptr, nullptr,
         "Standard: New |Spline Open Save"},
        {R"(<CommandPanel Name="Standard" Pos="After" Target="ID_FILE_OPEN"/>)", nullptr, nullptr,
         "Standard: New Open Spline Save"},
        {R"(<CommandPanel Name="Standard" Pos="After" Target="ID_EXPORT_PDF" BeginGroup="true"/>)", nullptr, nullptr,
         "Standard: New Open Save |Spline"},
        {R"(<CommandPanel Name="Drawing" MakePos="true"/>)", nullptr, nullptr,
         "Standard: New Open Save / Drawing: Spline"},
        {R"(<CommandPanel Name="Drawing"/>)"},
        {""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.placements);
        loadLayout(displayWith(standardMode("Normal")));
        EXPECT_EQ(apply<Command>(std::string(R"(<Command SID="ID_DRAW_SPLINE">)") + c.placements + "</Command>"),
                  c.ribbon || c.menu || c.toolBars);
        EXPECT_EQ(describe(table().ribbon), c.ribbon ? c.ribbon : test::standardRibbon);
        EXPECT_EQ(describe(table().menuBar), c.menu ? c.menu : test::standardMenu);
        EXPECT_EQ(test::toolBars(table()), c.toolBars ? c.toolBars : test::standardToolBar);
        const std::string flags{c.ribbon ? 'R' : '-', c.menu ? 'M' : '-', c.toolBars ? 'T' : '-'};
        EXPECT_EQ(changedFlags(table()), flags);
    }
}

TEST_F(CommandTest, Apply_RecordsAToolBarItMakes_AtTheTop) {
    loadLayout(displayWith(standardMode("Normal")));
    EXPECT_TRUE(
        apply<Command>(R"(<Command SID="ID_DRAW_LINE"><CommandPanel Name="Drawing" MakePos="true"/></Command>)"));
    EXPECT_EQ(table().commandBars.findByTitle(L"Drawing")->getPosition(), tern::layout::barTop);
    ASSERT_EQ(table().modeData->getToolBarOptions().size(), 1u);
    EXPECT_EQ(table().modeData->getToolBarOptions()[0].getTitle(), L"Drawing");
}

TEST_F(CommandTest, Apply_DoesNotAddACommandTwice_InAnyBar) {
    loadLayout(displayWith(standardMode("Normal")));
    EXPECT_FALSE(
        apply<Command>(R"(<Command SID="ID_DRAW_LINE"><Ribbon Tab="Home" Group="Draw" Pos="First"/></Command>)"));
    EXPECT_FALSE(apply<Command>(R"(<Command SID="ID_FILE_SAVE"><Menu Path="File" Pos="First"/></Command>)"));
    EXPECT_FALSE(apply<Command>(R"(<Command SID="ID_FILE_NEW"><CommandPanel Name="Standard"/></Command>)"));
    EXPECT_EQ(barsOf(table()), test::standardBars());
    EXPECT_EQ(changedFlags(table()), "---");
}

TEST_F(CommandTest, Apply_PlacesNothing_ForAnUnknownSidOrAPositionOutsideTheCodes_AndSkipsNullTables) {
    loadLayout(displayWith(standardMode("Normal")));
    const std::string everywhere =
        R"(<Ribbon Tab="Home" Group="Draw"/><Menu Path="File"/><CommandPanel Name="Standard"/>)";
    EXPECT_FALSE(apply<Command>(R"(<Command SID="ID_UNKNOWN" ChangeText="true">)" + everywhere + "</Command>"));
    Command command = item<Command>(R"(<Command SID="ID_DRAW_SPLINE">)" + everywhere + "</Command>");
    for (CommandItem& placement : command.items)
        placement.pos = static_cast<ItemPos>(0);
    EXPECT_FALSE(command.apply(tables, commandTable));
    EXPECT_EQ(barsOf(table()), test::standardBars());
    EXPECT_EQ(changedFlags(table()), "---");

    for (CommandItem& placement : command.items)
        placement.pos = EP_LAST;
    EXPECT_FALSE(command.apply({}, commandTable));
    EXPECT_TRUE(command.apply({nullptr, &table(), nullptr}, commandTable));
    EXPECT_EQ(barsOf(table()), "Home(1)[Draw(2): Line Arc Spline] / File[Open | Save Export[PDF] Spline]"
                               " / Standard: New Open Save Spline");
}

TEST_F(CommandTest, Placements_ActOnlyOnTablesOfTheirMode) {
    loadLayout(displayWith(standardMode("Normal") + standardMode("3D") + standardMode("Red")));
    EXPECT_TRUE(apply<Command>(R"(<Command SID="ID_DRAW_SPLINE">
        <Ribbon Tab="Home" Group="Draw" Mode="3dMode"/><CommandPanel Name="Standard" Mode="RedMode"/></Command>)"));
    EXPECT_EQ(barsOf(table("Normal")), test::standardBars());
    EXPECT_EQ(barsOf(table("3D")), "Home(1)[Draw(2): Line Arc Spline] / File[Open | Save Export[PDF]]"
                                   " / Standard: New Open Save");
    EXPECT_EQ(barsOf(table("Red")), "Home(1)[Draw(2): Line Arc] / File[Open | Save Export[PDF]]"
                                    " / Standard: New Open Save Spline");
    EXPECT_EQ(changedFlags(table("Normal")) + changedFlags(table("3D")) + changedFlags(table("Red")), "---R----T");
}

TEST_F(CommandTest, ChangeText_RefreshesEveryBarOfEveryTable_WhateverThePlacementsMode) {
    loadLayout(R"(<Display><LayoutType Name="Standard">)" + standardMode("Normal") + standardMode("Red") +
               R"(</LayoutType><LayoutType Name="Legacy"><LayoutMode Name="3D">
        <Ribbon><Tab Id="1" Caption="Home"><Group Id="2" Caption="Draw">
          <Control SID="ID_FILE_OPEN" Caption="Open old"/></Group></Tab></Ribbon>
        <Menu><Popup Caption="File"><Command SID="ID_FILE_OPEN" Caption="&amp;Open..."/></Popup>
          <Command SID="ID_FILE_OPEN" Caption=""/></Menu>
        <ToolBar Title="Standard"><Command SID="ID_FILE_OPEN" Caption="Opn"/></ToolBar>
      </LayoutMode></LayoutType></Display>)");
    const std::string refresh = R"(<Command SID="ID_FILE_OPEN" ChangeText="true"><Menu Path="Tools" Mode="RedMode"/>
      </Command>)";
    EXPECT_TRUE(apply<Command>(refresh));
    EXPECT_EQ(barsOf(table("3D", "Legacy")), "Home(1)[Draw(2): Open] / File[Open] Open / Standard: Open");
    EXPECT_EQ(changedFlags(table("3D", "Legacy")), "RMT");
    for (const std::string mode : {"Normal", "Red"}) {
        EXPECT_EQ(barsOf(table(mode, "Standard")), test::standardBars());
        EXPECT_EQ(changedFlags(table(mode, "Standard")), "---");
    }
    EXPECT_FALSE(apply<Command>(refresh)) << "the captions already match";
}

TEST_F(CommandTest, UnknownCommandsInTheLayout_AreNeverTargetsNorDuplicates) {
    loadLayout(displayWith(R"(<LayoutMode Name="Normal">
        <Menu><Popup Caption="File"><Command SID="ID_OLD" Caption="Old"/></Popup></Menu>
        <ToolBar Title="Standard"><Command SID="ID_OLD" Caption="Old"/></ToolBar>
      </LayoutMode>)"));
    EXPECT_TRUE(apply<Command>(R"(<Command SID="ID_FILE_NEW">
        <Menu Path="File" Pos="Before" Target="ID_OLD"/><CommandPanel Name="Standard" Pos="First"/></Command>)"));
    EXPECT_EQ(barsOf(table()), " / File[Old? New] / Standard: New Old?");
}

} // namespace
} // namespace tern::update::layout
