#include "update/layout/make_tab.h"

#include "platform/text.h"
#include "tests/update/layout/layout_fixture.h"

#include <gtest/gtest.h>

#include <string>

namespace tern::update::layout {
namespace {

using platform::toUtf8;
using test::describe;
using test::displayWith;
using test::standardMode;

// "Mode [Name] Pos Target".
std::string fields(const MakeTab& tab) {
    return test::modeText(tab.mode) + " [" + toUtf8(tab.name) + "] " + test::posText(tab.pos) +
           (tab.target.empty() ? "" : " " + toUtf8(tab.target));
}

TEST(MakeTabLoad, Load_ReadsEachAttribute_ResetsTheAbsentOnes_AndReportsWhatMakesNothing) {
    test::expectLoads<MakeTab>(
        {{R"(<MakeTab Mode="RedMode" Name="Insert" Pos="After" Target="Home"/>)", "RedMode [Insert] After Home", {}},
         {R"(<MakeTab Pos="Bottom"/>)",
          "Normal [] Last",
          {R"(The "Pos" value "Bottom" is not one of "First", "Last", "EP_LAST", "Before" or "After", )"
           R"(so "Last" is used.)",
           R"(A "MakeTab" without a "Name" makes nothing.)"}},
         {R"(<MakeTab Mode="3dMode" Name="Insert" Pos="Before"/>)",
          "3dMode [Insert] Before",
          {R"(The position is "Before" but no target is named, so the new entry goes at the end.)"}}},
        fields);
}

class MakeTabTest : public test::LayoutFixture {};

TEST_F(MakeTabTest, Apply_PutsANewTabWhereThePositionSays_AndLeavesAnExistingTabWhereItIs) {
    // A ribbon with three tabs: Home(1)[Draw(2):] View(3)[] Help(4)[].
    const std::string threeTabs = displayWith(R"(<LayoutMode Name="Normal"><Ribbon>
        <Tab Id="1" Caption="Home"><Group Id="2" Caption="Draw"/></Tab>
        <Tab Id="3" Caption="View"/>
        <Tab Id="4" Caption="Help"/>
      </Ribbon></LayoutMode>)");
    const std::pair<const char*, const char*> cases[] = {
        // The item, and the ribbon afterwards; null when nothing changes.
        {R"(<MakeTab Name="Insert" Pos="First"/>)", "Insert(5)[] Home(1)[Draw(2):] View(3)[] Help(4)[]"},
        {R"(<MakeTab Name="Insert"/>)", "Home(1)[Draw(2):] View(3)[] Help(4)[] Insert(5)[]"},
        {R"(<MakeTab Name="Insert" Pos="Before" Target="View"/>)", "Home(1)[Draw(2):] Insert(5)[] View(3)[] Help(4)[]"},
        {R"(<MakeTab Name="Insert" Pos="After" Target="View"/>)", "Home(1)[Draw(2):] View(3)[] Insert(5)[] Help(4)[]"},
        {R"(<MakeTab Name="Insert" Pos="After" Target="Help"/>)", "Home(1)[Draw(2):] View(3)[] Help(4)[] Insert(5)[]"},
        {R"(<MakeTab Name="Insert" Pos="Before" Target="Tools"/>)",
         "Home(1)[Draw(2):] View(3)[] Help(4)[] Insert(5)[]"},
        {R"(<MakeTab Name="Insert" Pos="After"/>)", "Home(1)[Draw(2):] View(3)[] Help(4)[] Insert(5)[]"},
        {R"(<MakeTab Name="View" Pos="First"/>)", nullptr},
        {R"(<MakeTab Pos="First"/>)", nullptr},
    };
    for (const auto& [element, ribbon] : cases) {
        SCOPED_TRACE(element);
        loadLayout(threeTabs);
        EXPECT_EQ(apply<MakeTab>(element), ribbon != nullptr);
        EXPECT_EQ(describe(table().ribbon), ribbon ? ribbon : "Home(1)[Draw(2):] View(3)[] Help(4)[]");
        EXPECT_EQ(test::changedFlags(table()), ribbon ? "R--" : "---");
    }
    EXPECT_FALSE(item<MakeTab>(R"(<MakeTab Name="Insert"/>)").apply({}, commandTable));
}

TEST_F(MakeTabTest, Apply_MakesTheTabOnlyInTablesOfItsMode) {
    loadLayout(displayWith(standardMode("Normal") + standardMode("3D") + standardMode("Red")));
    EXPECT_TRUE(apply<MakeTab>(R"(<MakeTab Name="Insert" Mode="3dMode"/>)"));
    for (const LayoutTable* each : tables) {
        const bool made = each->modeNo == EM_3DMODE;
        EXPECT_EQ(describe(each->ribbon), made ? "Home(1)[Draw(2): Line Arc] Insert(3)[]" : test::standardRibbon);
        EXPECT_EQ(test::changedFlags(*each), made ? "R--" : "---");
    }
}

} // namespace
} // namespace tern::update::layout
