// "AddNode": reading the item, and inserting its fragment into a document.

#include "tests/update/setting/xml_fixture.h"
#include "update/setting/add_node.h"
#include "update/setting/setting_item_table.h"

#include <gtest/gtest.h>

#include <memory>

namespace tern::update::setting {
namespace {

using test::DropRecorder;
using test::parseElement;
using test::TargetDocument;

class AddNodeTest : public ::testing::Test {
protected:
    // An AddNode read from its element text; the test fails when it is rejected.
    AddNode loaded(const std::wstring& text) {
        AddNode item;
        EXPECT_TRUE(item.load(parseElement(text), table)) << text;
        return item;
    }

    SettingItemTable table;
};

TEST_F(AddNodeTest, Load_KeepsTheXPathAndTheWholeElementAsText) {
    const AddNode item = loaded(L"<AddNode XPath=\"Colors\"><Color Name=\"Red\"/></AddNode>");
    EXPECT_EQ(item.xpath, L"Colors");
    EXPECT_EQ(item.xml, L"<AddNode XPath=\"Colors\"><Color Name=\"Red\"/></AddNode>");
}

TEST_F(AddNodeTest, Load_Fails_WhenXPathIsMissing) {
    DropRecorder drops;
    AddNode item;
    EXPECT_FALSE(item.load(parseElement(L"<AddNode><A/></AddNode>"), table));
    EXPECT_EQ(drops.messages, std::vector<std::wstring>{L"An \"AddNode\" without an \"XPath\" is dropped."});
}

TEST_F(AddNodeTest, Load_Fails_ForAnotherElementName) {
    AddNode item;
    EXPECT_FALSE(item.load(parseElement(L"<addNode XPath=\"A\"/>"), table));
    EXPECT_FALSE(item.load(parseElement(L"<IfN XPath=\"A\"/>"), table));
}

TEST_F(AddNodeTest, Load_KeepsAnEmptyXPath_ButTheItemNeverChangesAnything) {
    DropRecorder drops;
    AddNode item = loaded(L"<AddNode XPath=\"\"><A/></AddNode>");
    TargetDocument target(L"<Root><A/></Root>");
    EXPECT_FALSE(target.apply(item));
    EXPECT_EQ(target.text(), L"<Root><A/></Root>");
    EXPECT_EQ(drops.messages, std::vector<std::wstring>{L"An \"AddNode\" with an empty \"XPath\" selects nothing."});
}

TEST_F(AddNodeTest, Load_ReportsAnXPathThatDoesNotCompile_AndKeepsTheItem) {
    DropRecorder drops;
    const AddNode item = loaded(L"<AddNode XPath=\"Colors[\"><A/></AddNode>");
    EXPECT_EQ(item.xpath, L"Colors[");
    ASSERT_EQ(drops.messages.size(), 1u);
    EXPECT_EQ(drops.messages[0],
              L"The \"XPath\" value \"Colors[\" of an \"AddNode\" does not compile to a node selection, so it "
              L"selects nothing.");
}

TEST_F(AddNodeTest, Load_ReportsNothing_ForAValidXPath) {
    DropRecorder drops;
    loaded(L"<AddNode XPath=\"/Root/Colors[@Kind='a' and position() = 1] | //Other\"/>");
    EXPECT_TRUE(drops.messages.empty());
}

TEST_F(AddNodeTest, Apply_AppendsEveryChildInOrder_AsLastChildren) {
    AddNode item = loaded(L"<AddNode XPath=\"Colors\"><Color Name=\"Blue\"/>tail<Color Name=\"Green\"/></AddNode>");
    TargetDocument target(L"<Root><Colors><Color Name=\"Red\"/></Colors></Root>");
    EXPECT_TRUE(target.apply(item));
    EXPECT_EQ(target.text(),
              L"<Root><Colors><Color Name=\"Red\"/><Color Name=\"Blue\"/>tail<Color Name=\"Green\"/></Colors></Root>");
}

TEST_F(AddNodeTest, Apply_InsertsUnderTheFirstSelectedNodeOnly) {
    AddNode item = loaded(L"<AddNode XPath=\"List\"><New/></AddNode>");
    TargetDocument target(L"<Root><List Id=\"1\"/><List Id=\"2\"/></Root>");
    EXPECT_TRUE(target.apply(item));
    EXPECT_EQ(target.text(), L"<Root><List Id=\"1\"><New/></List><List Id=\"2\"/></Root>");
}

TEST_F(AddNodeTest, Apply_TwiceInsertsTwice) {
    AddNode item = loaded(L"<AddNode XPath=\".\"><New/></AddNode>");
    TargetDocument target(L"<Root/>");
    EXPECT_TRUE(target.apply(item));
    EXPECT_TRUE(target.apply(item));
    EXPECT_EQ(target.text(), L"<Root><New/><New/></Root>");
}

TEST_F(AddNodeTest, Apply_TakesRelativePathsBelowTheRoot_AndAbsolutePathsFromTheDocument) {
    AddNode relative = loaded(L"<AddNode XPath=\"Root\"><FromRelative/></AddNode>");
    AddNode absolute = loaded(L"<AddNode XPath=\"/Root/Root\"><FromAbsolute/></AddNode>");
    TargetDocument target(L"<Root><Root/></Root>");
    EXPECT_TRUE(target.apply(relative));
    EXPECT_TRUE(target.apply(absolute));
    EXPECT_EQ(target.text(), L"<Root><Root><FromRelative/><FromAbsolute/></Root></Root>");
}

TEST_F(AddNodeTest, Apply_ChangesNothing_WhenTheXPathSelectsNothing) {
    AddNode item = loaded(L"<AddNode XPath=\"Missing\"><New/></AddNode>");
    TargetDocument target(L"<Root><Present/></Root>");
    EXPECT_FALSE(target.apply(item));
    EXPECT_EQ(target.text(), L"<Root><Present/></Root>");
}

TEST_F(AddNodeTest, Apply_WithoutContent_CountsAsAChange_AndInsertsNothing) {
    AddNode item = loaded(L"<AddNode XPath=\"Present\"/>");
    TargetDocument target(L"<Root><Present/></Root>");
    EXPECT_TRUE(target.apply(item));
    EXPECT_EQ(target.text(), L"<Root><Present/></Root>");
}

TEST_F(AddNodeTest, Apply_CarriesTextAsItWasWritten) {
    const std::wstring fragment = L"<線種 名前=\"一点鎖線\">破線&amp;点</線種>"
                                  L"<Note Text=\"say &quot;a&quot; &amp; &lt;b\"/>"
                                  L"<![CDATA[<raw> & ]]><!-- 注記 -->";
    AddNode item = loaded(L"<AddNode XPath=\"設定\">" + fragment + L"</AddNode>");
    TargetDocument target(L"<Root><設定/></Root>");
    EXPECT_TRUE(target.apply(item));
    EXPECT_EQ(target.text(), L"<Root><設定>" + fragment + L"</設定></Root>");
}

TEST_F(AddNodeTest, Apply_ChangesNothing_WhenTheStoredFragmentDoesNotParse) {
    AddNode item;
    item.xpath = L"Present";
    item.xml = L"<AddNode><Unclosed></AddNode>";
    TargetDocument target(L"<Root><Present/></Root>");
    EXPECT_FALSE(target.apply(item));
    EXPECT_EQ(target.text(), L"<Root><Present/></Root>");
}

TEST_F(AddNodeTest, Clone_IsAnIndependentCopy) {
    auto original = std::make_unique<AddNode>(loaded(L"<AddNode XPath=\".\"><New/></AddNode>"));
    std::unique_ptr<ISettingItem> copy(original->clone());
    original.reset();
    ASSERT_NE(dynamic_cast<AddNode*>(copy.get()), nullptr);
    EXPECT_STREQ(copy->getNodeName(), L"AddNode");
    TargetDocument target(L"<Root/>");
    EXPECT_TRUE(target.apply(*copy));
    EXPECT_EQ(target.text(), L"<Root><New/></Root>");
}

} // namespace
} // namespace tern::update::setting
