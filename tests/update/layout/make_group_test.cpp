#include "update/layout/make_group.h"

#include "tests/update/layout/layout_fixture.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace tern::update::layout {
namespace {

using test::describe;
using test::displayWith;
using test::Reports;

// Home(1)[Draw(2): Modify(5):] View(7)[Zoom(3):]: identifiers out of order,
// as an edited ribbon has them until it is committed.
const char* const twoTabs = R"(<LayoutMode Name="Normal"><Ribbon>
    <Tab Id="1" Caption="Home"><Group Id="2" Caption="Draw"/><Group Id="5" Caption="Modify"/></Tab>
    <Tab Id="7" Caption="View"><Group Id="3" Caption="Zoom"/></Tab>
  </Ribbon></LayoutMode>)";

class MakeGroupTest : public test::LayoutFixture {
protected:
    void SetUp() override {
        LayoutFixture::SetUp();
        loadLayout(displayWith(twoTabs));
    }
    bool apply(const std::string& xml) { return item<MakeGroup>(xml).apply(tables, commandTable); }
};

TEST_F(MakeGroupTest, Load_ReadsEveryAttribute) {
    const MakeGroup group =
        item<MakeGroup>(R"(<MakeGroup Mode="RedMode" Tab="Home" Name="Curves" Pos="Before" Target="Modify"/>)");
    EXPECT_EQ(group.mode, EM_REDMODE);
    EXPECT_EQ(group.tab, L"Home");
    EXPECT_EQ(group.name, L"Curves");
    EXPECT_EQ(group.pos, EP_BEFORE);
    EXPECT_EQ(group.target, L"Modify");
}

TEST_F(MakeGroupTest, Load_ReportsAGroupWithoutTabOrName) {
    Reports reports;
    ScopedLoadListener listening(reports);
    item<MakeGroup>(R"(<MakeGroup Name="Curves"/>)");
    item<MakeGroup>(R"(<MakeGroup Tab="Home"/>)");
    EXPECT_EQ(reports.messages,
              std::vector<std::string>(2, R"(A "MakeGroup" without a "Tab" and a "Name" makes nothing.)"));
}

struct GroupCase {
    const char* element;
    const char* expected;
};

class MakeGroupPosition : public MakeGroupTest, public ::testing::WithParamInterface<GroupCase> {};

TEST_P(MakeGroupPosition, PutsTheNewGroupWhereThePositionSays_WithTheNextFreeIdentifier) {
    EXPECT_TRUE(apply(GetParam().element));
    EXPECT_EQ(describe(table().ribbon), GetParam().expected);
    EXPECT_TRUE(table().ribbonChanged);
}

INSTANTIATE_TEST_SUITE_P(
    MakeGroupTest, MakeGroupPosition,
    ::testing::Values(GroupCase{R"(<MakeGroup Tab="Home" Name="Curves" Pos="First"/>)",
                                "Home(1)[Curves(8): Draw(2): Modify(5):] View(7)[Zoom(3):]"},
                      GroupCase{R"(<MakeGroup Tab="Home" Name="Curves"/>)",
                                "Home(1)[Draw(2): Modify(5): Curves(8):] View(7)[Zoom(3):]"},
                      GroupCase{R"(<MakeGroup Tab="Home" Name="Curves" Pos="Before" Target="Modify"/>)",
                                "Home(1)[Draw(2): Curves(8): Modify(5):] View(7)[Zoom(3):]"},
                      GroupCase{R"(<MakeGroup Tab="Home" Name="Curves" Pos="After" Target="Draw"/>)",
                                "Home(1)[Draw(2): Curves(8): Modify(5):] View(7)[Zoom(3):]"},
                      GroupCase{R"(<MakeGroup Tab="Home" Name="Curves" Pos="After" Target="Zoom"/>)",
                                "Home(1)[Draw(2): Modify(5): Curves(8):] View(7)[Zoom(3):]"},
                      GroupCase{R"(<MakeGroup Tab="Home" Name="Curves" Pos="Before" Target="Zoom"/>)",
                                "Home(1)[Draw(2): Modify(5): Curves(8):] View(7)[Zoom(3):]"},
                      // A missing tab is appended first; the group takes the identifier after the tab's.
                      GroupCase{R"(<MakeGroup Tab="Insert" Name="Curves"/>)",
                                "Home(1)[Draw(2): Modify(5):] View(7)[Zoom(3):] Insert(8)[Curves(9):]"}));

TEST_F(MakeGroupTest, Apply_LeavesAnExistingGroupAlone) {
    EXPECT_FALSE(apply(R"(<MakeGroup Tab="Home" Name="Modify" Pos="First"/>)"));
    EXPECT_EQ(describe(table().ribbon), "Home(1)[Draw(2): Modify(5):] View(7)[Zoom(3):]");
    EXPECT_FALSE(table().ribbonChanged);
}

TEST_F(MakeGroupTest, Apply_ChangesNothing_WithoutTabOrNameOrInAnotherMode) {
    EXPECT_FALSE(apply(R"(<MakeGroup Name="Curves"/>)"));
    EXPECT_FALSE(apply(R"(<MakeGroup Tab="Insert"/>)"));
    EXPECT_FALSE(apply(R"(<MakeGroup Tab="Insert" Name="Curves" Mode="3dMode"/>)"));
    EXPECT_EQ(describe(table().ribbon), "Home(1)[Draw(2): Modify(5):] View(7)[Zoom(3):]");
    EXPECT_FALSE(table().ribbonChanged);
}

TEST_F(MakeGroupTest, Clone_CopiesEveryField) {
    const MakeGroup original =
        item<MakeGroup>(R"(<MakeGroup Mode="3dMode" Tab="Home" Name="Curves" Pos="After" Target="Draw"/>)");
    std::unique_ptr<ILayoutItem> copy(original.clone());
    const auto* group = dynamic_cast<const MakeGroup*>(copy.get());
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(group->mode, EM_3DMODE);
    EXPECT_EQ(group->tab, L"Home");
    EXPECT_EQ(group->name, L"Curves");
    EXPECT_EQ(group->pos, EP_AFTER);
    EXPECT_EQ(group->target, L"Draw");
}

} // namespace
} // namespace tern::update::layout
