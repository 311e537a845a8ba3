#include "update/layout/make_popup_menu.h"

#include "platform/text.h"
#include "tests/update/layout/layout_fixture.h"

#include <gtest/gtest.h>

#include <string>

namespace tern::update::layout {
namespace {

using platform::toUtf8;

// "Mode [Path/Name] Pos Target", the target marked "id" when it is a SID.
std::string fields(const MakePopupMenu& popup) {
    return test::modeText(popup.mode) + " [" + toUtf8(popup.path) + "/" + toUtf8(popup.name) + "] " +
           test::posText(popup.pos) + (popup.targetIsId ? " id" : "") +
           (popup.target.empty() ? "" : " " + toUtf8(popup.target)) + (popup.beginGroup ? " BeginGroup" : "");
}

TEST(MakePopupMenuLoad, Load_ReadsEachAttribute_TargetIdWinning_ResetsTheAbsentOnes_AndReportsWhatMakesNothing) {
    test::expectLoads<MakePopupMenu>(
        {{R"(<MakePopupMenu Mode="3dMode" Path="File" Name="Import" Pos="After" Target="Export"
             TargetId="ID_FILE_SAVE" BeginGroup="true"/>)",
          "3dMode [File/Import] After id ID_FILE_SAVE BeginGroup",
          {}},
         {R"(<MakePopupMenu Name="Import" Target="Export"/>)", "Normal [/Import] Last Export", {}},
         {R"(<MakePopupMenu Mode="RedMode" Path="File" Pos="Before" TargetId="ID_FILE_SAVE" BeginGroup="1"/>)",
          "RedMode [File/] Before id ID_FILE_SAVE BeginGroup",
          {R"(A "MakePopupMenu" without a "Name" makes nothing.)"}}},
        fields);
}

class MakePopupMenuTest : public test::LayoutFixture {};

TEST_F(MakePopupMenuTest, Apply_PutsANewPopupAndItsSeparatorWhereThePositionSays_UnderAnExistingPath) {
    const std::pair<const char*, const char*> cases[] = {
        // The item, and the menu afterwards; null when nothing changes.
        {R"(<MakePopupMenu Path="File" Name="Import" Pos="First" BeginGroup="true"/>)",
         "File[| Import[] Open | Save Export[PDF]]"},
        {R"(<MakePopupMenu Path="File" Name="Import" BeginGroup="true"/>)",
         "File[Open | Save Export[PDF] | Import[]]"},
        {R"(<MakePopupMenu Path="File" Name="Import" Pos="Before" Target="Export"/>)",
         "File[Open | Save Import[] Export[PDF]]"},
        {R"(<MakePopupMenu Path="File" Name="Import" Pos="After" TargetId="ID_FILE_OPEN" BeginGroup="true"/>)",
         "File[Open | Import[] | Save Export[PDF]]"},
        // A target caption is matched among popups only, a target identifier among commands only.
        {R"(<MakePopupMenu Path="File" Name="Import" Pos="Before" Target="Save"/>)",
         "File[Open | Save Export[PDF] Import[]]"},
        {R"(<MakePopupMenu Path="File" Name="Import" Pos="Before" TargetId="ID_DRAW_LINE" BeginGroup="true"/>)",
         "File[Open | Save Export[PDF] | Import[]]"},
        {R"(<MakePopupMenu Path="File" Name="Import" Pos="After" Target="Export"/>)",
         "File[Open | Save Export[PDF] Import[]]"},
        {R"(<MakePopupMenu Path="File/Export" Name="Images" Pos="First"/>)", "File[Open | Save Export[Images[] PDF]]"},
        // The empty path names the menu bar: a new top-level menu.
        {R"(<MakePopupMenu Name="Tools" Pos="First"/>)", "Tools[] File[Open | Save Export[PDF]]"},
        {R"(<MakePopupMenu Path="Tools" Name="Options"/>)", nullptr},
        {R"(<MakePopupMenu Path="File" Name="Export" Pos="First"/>)", nullptr},
        {R"(<MakePopupMenu Path="File/Open" Name="Recent"/>)", nullptr},
        {R"(<MakePopupMenu Path="File"/>)", nullptr},
        {R"(<MakePopupMenu Path="File" Name="Import" Mode="RedMode"/>)", nullptr},
    };
    for (const auto& [element, menu] : cases) {
        SCOPED_TRACE(element);
        loadLayout(test::displayWith(test::standardMode("Normal")));
        EXPECT_EQ(apply<MakePopupMenu>(element), menu != nullptr);
        EXPECT_EQ(test::describe(table().menuBar), menu ? menu : test::standardMenu);
        EXPECT_EQ(test::changedFlags(table()), menu ? "-M-" : "---");
    }
}

} // namespace
} // namespace tern::update::layout
