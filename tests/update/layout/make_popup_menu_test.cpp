#include "update/layout/make_popup_menu.h"

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

class MakePopupMenuTest : public test::LayoutFixture {
protected:
    void SetUp() override {
        LayoutFixture::SetUp();
        // File[Open | Save Export[PDF]]
        loadLayout(displayWith(standardMode("Normal")));
    }
    bool apply(const std::string& xml) { return item<MakePopupMenu>(xml).apply(tables, commandTable); }
};

TEST_F(MakePopupMenuTest, Load_ReadsEveryAttribute_TargetIdWinningOverTarget) {
    const MakePopupMenu popup = item<MakePopupMenu>(R"(<MakePopupMenu Mode="3dMode" Path="File" Name="Import"
        Pos="After" Target="Export" TargetId="ID_FILE_SAVE" BeginGroup="true"/>)");
    EXPECT_EQ(popup.mode, EM_3DMODE);
    EXPECT_EQ(popup.path, L"File");
    EXPECT_EQ(popup.name, L"Import");
    EXPECT_EQ(popup.pos, EP_AFTER);
    EXPECT_EQ(popup.target, L"ID_FILE_SAVE");
    EXPECT_TRUE(popup.targetIsId);
    EXPECT_TRUE(popup.beginGroup);

    const MakePopupMenu byName = item<MakePopupMenu>(R"(<MakePopupMenu Name="Import" Target="Export"/>)");
    EXPECT_EQ(byName.target, L"Export");
    EXPECT_FALSE(byName.targetIsId);
    EXPECT_FALSE(byName.beginGroup);
    EXPECT_EQ(byName.path, L"");
}

TEST_F(MakePopupMenuTest, Load_ReportsAPopupWithoutName) {
    Reports reports;
    ScopedLoadListener listening(reports);
    item<MakePopupMenu>(R"(<MakePopupMenu Path="File"/>)");
    EXPECT_EQ(reports.messages, std::vector<std::string>{R"(A "MakePopupMenu" without a "Name" makes nothing.)"});
}

struct PopupCase {
    const char* element;
    const char* expected;
};

class MakePopupMenuPosition : public MakePopupMenuTest, public ::testing::WithParamInterface<PopupCase> {};

TEST_P(MakePopupMenuPosition, PutsTheNewPopupAndItsSeparatorWhereThePositionSays) {
    EXPECT_TRUE(apply(GetParam().element));
    EXPECT_EQ(describe(table().menuBar), GetParam().expected);
    EXPECT_TRUE(table().menuChanged);
}

INSTANTIATE_TEST_SUITE_P(
    MakePopupMenuTest, MakePopupMenuPosition,
    ::testing::Values(
        PopupCase{R"(<MakePopupMenu Path="File" Name="Import" Pos="First"/>)",
                  "File[Import[] Open | Save Export[PDF]]"},
        PopupCase{R"(<MakePopupMenu Path="File" Name="Import" BeginGroup="true"/>)",
                  "File[Open | Save Export[PDF] | Import[]]"},
        PopupCase{R"(<MakePopupMenu Path="File" Name="Import" Pos="Before" Target="Export"/>)",
                  "File[Open | Save Import[] Export[PDF]]"},
        PopupCase{R"(<MakePopupMenu Path="File" Name="Import" Pos="After" TargetId="ID_FILE_OPEN" BeginGroup="true"/>)",
                  "File[Open | Import[] | Save Export[PDF]]"},
        // A target caption is matched among popups only, a target identifier among commands only.
        PopupCase{R"(<MakePopupMenu Path="File" Name="Import" Pos="Before" Target="Save"/>)",
                  "File[Open | Save Export[PDF] Import[]]"},
        PopupCase{
            R"(<MakePopupMenu Path="File" Name="Import" Pos="Before" TargetId="ID_DRAW_LINE" BeginGroup="true"/>)",
            "File[Open | Save Export[PDF] | Import[]]"},
        PopupCase{R"(<MakePopupMenu Path="File" Name="Import" Pos="After" Target="Export"/>)",
                  "File[Open | Save Export[PDF] Import[]]"},
        PopupCase{R"(<MakePopupMenu Path="File/Export" Name="Images" Pos="First"/>)",
                  "File[Open | Save Export[Images[] PDF]]"},
        // The empty path names the menu bar: a new top-level menu.
        PopupCase{R"(<MakePopupMenu Name="Tools" Pos="First"/>)", "Tools[] File[Open | Save Export[PDF]]"}));

TEST_F(MakePopupMenuTest, Apply_ChangesNothing_WhenThePathIsMissingOrThePopupExists) {
    EXPECT_FALSE(apply(R"(<MakePopupMenu Path="Tools" Name="Options"/>)"));
    EXPECT_FALSE(apply(R"(<MakePopupMenu Path="File" Name="Export" Pos="First"/>)"));
    EXPECT_FALSE(apply(R"(<MakePopupMenu Path="File/Open" Name="Recent"/>)"));
    EXPECT_FALSE(apply(R"(<MakePopupMenu Path="File"/>)"));
    EXPECT_FALSE(apply(R"(<MakePopupMenu Path="File" Name="Import" Mode="RedMode"/>)"));
    EXPECT_EQ(describe(table().menuBar), "File[Open | Save Export[PDF]]");
    EXPECT_FALSE(table().menuChanged);
}

TEST_F(MakePopupMenuTest, Clone_CopiesEveryField) {
    const MakePopupMenu original = item<MakePopupMenu>(
        R"(<MakePopupMenu Mode="RedMode" Path="File" Name="Import" Pos="Before" TargetId="ID_FILE_SAVE" BeginGroup="1"/>)");
    std::unique_ptr<ILayoutItem> copy(original.clone());
    const auto* popup = dynamic_cast<const MakePopupMenu*>(copy.get());
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(popup->mode, EM_REDMODE);
    EXPECT_EQ(popup->path, L"File");
    EXPECT_EQ(popup->name, L"Import");
    EXPECT_EQ(popup->pos, EP_BEFORE);
    EXPECT_EQ(popup->target, L"ID_FILE_SAVE");
    EXPECT_TRUE(popup->targetIsId);
    EXPECT_TRUE(popup->beginGroup);
}

} // namespace
} // namespace tern::update::layout
