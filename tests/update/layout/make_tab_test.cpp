#include "update/layout/make_tab.h"

#include "tests/update/layout/layout_fixture.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace tern::update::layout {
namespace {

using test::describe;
using test::displayWith;
using test::Reports;
using test::standardMode;

// A ribbon with three tabs: Home(1)[Draw(2)] View(3)[] Help(4)[].
const char* const threeTabs = R"(<LayoutMode Name="Normal"><Ribbon>
    <Tab Id="1" Caption="Home"><Group Id="2" Caption="Draw"/></Tab>
    <Tab Id="3" Caption="View"/>
    <Tab Id="4" Caption="Help"/>
  </Ribbon></LayoutMode>)";

class MakeTabTest : public test::LayoutFixture {
protected:
    void SetUp() override {
        LayoutFixture::SetUp();
        loadLayout(displayWith(threeTabs));
    }
    bool apply(const std::string& xml) { return item<MakeTab>(xml).apply(tables, commandTable); }
};

TEST_F(MakeTabTest, Load_ReadsEveryAttribute_AndResetsWhatIsAbsent) {
    MakeTab tab = item<MakeTab>(R"(<MakeTab Mode="RedMode" Name="Insert" Pos="After" Target="Home"/>)");
    EXPECT_EQ(tab.mode, EM_REDMODE);
    EXPECT_EQ(tab.name, L"Insert");
    EXPECT_EQ(tab.pos, EP_AFTER);
    EXPECT_EQ(tab.target, L"Home");

    EXPECT_TRUE(tab.load(test::elementOf(R"(<MakeTab Pos="Bottom"/>)")));
    EXPECT_EQ(tab.mode, EM_NORMAL);
    EXPECT_EQ(tab.name, L"");
    EXPECT_EQ(tab.pos, EP_LAST);
    EXPECT_EQ(tab.target, L"");
}

TEST_F(MakeTabTest, Load_ReportsATabWithoutName) {
    Reports reports;
    ScopedLoadListener listening(reports);
    item<MakeTab>(R"(<MakeTab Pos="Before"/>)");
    EXPECT_EQ(reports.messages,
              (std::vector<std::string>{
                  R"(A "MakeTab" without a "Name" makes nothing.)",
                  R"(The position is "Before" but no target is named, so the new entry goes at the end.)"}));
}

struct TabCase {
    const char* element;
    const char* expected;
};

class MakeTabPosition : public MakeTabTest, public ::testing::WithParamInterface<TabCase> {};

TEST_P(MakeTabPosition, PutsTheNewTabWhereThePositionSays) {
    EXPECT_TRUE(apply(GetParam().element));
    EXPECT_EQ(describe(table().ribbon), GetParam().expected);
    EXPECT_TRUE(table().ribbonChanged);
}

INSTANTIATE_TEST_SUITE_P(MakeTabTest, MakeTabPosition,
                         ::testing::Values(TabCase{R"(<MakeTab Name="Insert" Pos="First"/>)",
                                                   "Insert(5)[] Home(1)[Draw(2):] View(3)[] Help(4)[]"},
                                           TabCase{R"(<MakeTab Name="Insert"/>)",
                                                   "Home(1)[Draw(2):] View(3)[] Help(4)[] Insert(5)[]"},
                                           TabCase{R"(<MakeTab Name="Insert" Pos="Before" Target="View"/>)",
                                                   "Home(1)[Draw(2):] Insert(5)[] View(3)[] Help(4)[]"},
                                           TabCase{R"(<MakeTab Name="Insert" Pos="After" Target="View"/>)",
                                                   "Home(1)[Draw(2):] View(3)[] Insert(5)[] Help(4)[]"},
                                           TabCase{R"(<MakeTab Name="Insert" Pos="After" Target="Help"/>)",
                                                   "Home(1)[Draw(2):] View(3)[] Help(4)[] Insert(5)[]"},
                                           TabCase{R"(<MakeTab Name="Insert" Pos="Before" Target="Tools"/>)",
                                                   "Home(1)[Draw(2):] View(3)[] Help(4)[] Insert(5)[]"},
                                           TabCase{R"(<MakeTab Name="Insert" Pos="After"/>)",
                                                   "Home(1)[Draw(2):] View(3)[] Help(4)[] Insert(5)[]"}));

TEST_F(MakeTabTest, Apply_LeavesAnExistingTabWhereItIs) {
    EXPECT_FALSE(apply(R"(<MakeTab Name="View" Pos="First"/>)"));
    EXPECT_EQ(describe(table().ribbon), "Home(1)[Draw(2):] View(3)[] Help(4)[]");
    EXPECT_FALSE(table().ribbonChanged);
}

TEST_F(MakeTabTest, Apply_ChangesNothing_WithoutNameOrTables) {
    MakeTab unnamed = item<MakeTab>(R"(<MakeTab Pos="First"/>)");
    EXPECT_FALSE(unnamed.apply(tables, commandTable));
    MakeTab named = item<MakeTab>(R"(<MakeTab Name="Insert"/>)");
    EXPECT_FALSE(named.apply({}, commandTable));
    EXPECT_EQ(describe(table().ribbon), "Home(1)[Draw(2):] View(3)[] Help(4)[]");
    EXPECT_FALSE(table().ribbonChanged);
}

TEST_F(MakeTabTest, Apply_MakesTheTabOnlyInTablesOfItsMode) {
    loadLayout(displayWith(standardMode("Normal") + standardMode("3D") + standardMode("Red"), "Drafting"));
    EXPECT_TRUE(apply(R"(<MakeTab Name="Insert" Mode="3dMode"/>)"));
    for (const LayoutTable* each : tables) {
        const bool made = each->modeNo == EM_3DMODE;
        EXPECT_EQ(each->ribbonChanged, made) << describe(each->ribbon);
        EXPECT_EQ(each->ribbon.findTabIndex(L"Insert") >= 0, made) << describe(each->ribbon);
    }
}

TEST_F(MakeTabTest, Clone_CopiesEveryField) {
    const MakeTab original = item<MakeTab>(R"(<MakeTab Mode="3dMode" Name="Insert" Pos="Before" Target="View"/>)");
    std::unique_ptr<ILayoutItem> copy(original.clone());
    const auto* tab = dynamic_cast<const MakeTab*>(copy.get());
    ASSERT_NE(tab, nullptr);
    EXPECT_EQ(tab->mode, EM_3DMODE);
    EXPECT_EQ(tab->name, L"Insert");
    EXPECT_EQ(tab->pos, EP_BEFORE);
    EXPECT_EQ(tab->target, L"View");
}

} // namespace
} // namespace tern::update::layout
