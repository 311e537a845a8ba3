#include "update/layout/make_group.h"

#include "platform/text.h"
#include "tests/update/layout/layout_fixture.h"

#include <gtest/gtest.h>

#include <string>

namespace tern::update::layout {
namespace {

using platform::toUtf8;

// "Mode [Tab/Name] Pos Target".
std::string fields(const MakeGroup& group) {
    return test::modeText(group.mode) + " [" + toUtf8(group.tab) + "/" + toUtf8(group.name) + "] " +
           test::posText(group.pos) + (group.target.empty() ? "" : " " + toUtf8(group.target));
}

TEST(MakeGroupLoad, Load_ReadsEachAttribute_ResetsTheAbsentOnes_AndReportsWhatMakesNothing) {
    const char* const makesNothing = R"(A "MakeGroup" without a "Tab" and a "Name" makes nothing.)";
    test::expectLoads<MakeGroup>(
        {{R"(<MakeGroup Mode="RedMode" Tab="Home" Name="Curves" Pos="Before" Target="Modify"/>)",
          "RedMode [Home/Curves] Before Modify",
          {}},
         {R"(<MakeGroup Name="Curves"/>)", "Normal [/Curves] Last", {makesNothing}},
         {R"(<MakeGroup Tab="Home" Mode="3dMode" Pos="First"/>)", "3dMode [Home/] First", {makesNothing}}},
        fields);
}

class MakeGroupTest : public test::LayoutFixture {};

TEST_F(MakeGroupTest, Apply_PutsANewGroupWhereThePositionSays_WithTheNextFreeIdentifier) {
    // Identifiers out of order, as an edited ribbon has them until it is committed.
    const std::string twoTabs = test::displayWith(R"(<LayoutMode Name="Normal"><Ribbon>
        <Tab Id="1" Caption="Home"><Group Id="2" Caption="Draw"/><Group Id="5" Caption="Modify"/></Tab>
        <Tab Id="7" Caption="View"><Group Id="3" Caption="Zoom"/></Tab>
      </Ribbon></LayoutMode>)");
    const std::pair<const char*, const char*> cases[] = {
        // The item, and the ribbon afterwards; null when nothing changes.
        {R"(<MakeGroup Tab="Home" Name="Curves" Pos="First"/>)",
         "Home(1)[Curves(8): Draw(2): Modify(5):] View(7)[Zoom(3):]"},
        {R"(<MakeGroup Tab="Home" Name="Curves"/>)", "Home(1)[Draw(2): Modify(5): Curves(8):] View(7)[Zoom(3):]"},
        {R"(<MakeGroup Tab="Home" Name="Curves" Pos="Before" Target="Modify"/>)",
         "Home(1)[Draw(2): Curves(8): Modify(5):] View(7)[Zoom(3):]"},
        {R"(<MakeGroup Tab="Home" Name="Curves" Pos="After" Target="Draw"/>)",
         "Home(1)[Draw(2): Curves(8): Modify(5):] View(7)[Zoom(3):]"},
        {R"(<MakeGroup Tab="Home" Name="Curves" Pos="After" Target="Zoom"/>)",
         "Home(1)[Draw(2): Modify(5): Curves(8):] View(7)[Zoom(3):]"},
        {R"(<MakeGroup Tab="Home" Name="Curves" Pos="Before" Target="Zoom"/>)",
         "Home(1)[Draw(2): Modify(5): Curves(8):] View(7)[Zoom(3):]"},
        // A missing tab is appended first; the group takes the identifier after the tab's.
        {R"(<MakeGroup Tab="Insert" Name="Curves"/>)",
         "Home(1)[Draw(2): Modify(5):] View(7)[Zoom(3):] Insert(8)[Curves(9):]"},
        {R"(<MakeGroup Tab="Home" Name="Modify" Pos="First"/>)", nullptr},
        {R"(<MakeGroup Name="Curves"/>)", nullptr},
        {R"(<MakeGroup Tab="Insert"/>)", nullptr},
        {R"(<MakeGroup Tab="Insert" Name="Curves" Mode="3dMode"/>)", nullptr},
    };
    for (const auto& [element, ribbon] : cases) {
        SCOPED_TRACE(element);
        loadLayout(twoTabs);
        EXPECT_EQ(apply<MakeGroup>(element), ribbon != nullptr);
        EXPECT_EQ(test::describe(table().ribbon), ribbon ? ribbon : "Home(1)[Draw(2): Modify(5):] View(7)[Zoom(3):]");
        EXPECT_EQ(test::changedFlags(table()), ribbon ? "R--" : "---");
    }
}

} // namespace
} // namespace tern::update::layout
