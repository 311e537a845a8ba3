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

TEST_F(AddNodeTest, Load_Fails_WithoutXPath_OrForAnotherElementName) {
    DropRecorder drops;
    AddNode item;
    for (const wchar_t* text : {L"<AddNode><A/></AddNode>", L"<addNode XPath=\"A\"/>", L"<IfN XPath=\"A\"/>"})
        EXPECT_FALSE(item.load(parseElement(text), table)) << text;
    EXPECT_EQ(drops.messages, std::vector<std::wstring>{L"An \"AddNode\" without an \"XPath\" is dropped."});
}

TEST_F(AddNodeTest, Load_KeepsAnXPathThatSelectsNothing_AndReportsIt) {
    const std::pair<const wchar_t*, std::vector<std::wstring>> cases[] = {
        {L"<AddNode XPath=\"\"><A/></AddNode>", {L"An \"AddNode\" with an empty \"XPath\" selects nothing."}},
        {L"<AddNode XPath=\"Colors[\"><A/></AddNode>",
         {L"The \"XPath\" value \"Colors[\" of an \"AddNode\" does not compile to a node selection, so it selects "
          L"nothing."}},
        {L"<AddNode XPath=\"Colors) | (Other\"/>",
         {L"The \"XPath\" value \"Colors) | (Other\" of an \"AddNode\" does not compile to a node selection, so it "
          L"selects nothing."}},
        {L"<AddNode XPath=\"count(Colors)\"/>",
         {L"The \"XPath\" value \"count(Colors)\" of an \"AddNode\" does not compile to a node selection, so it "
          L"selects nothing."}},
        {L"<AddNode XPath=\"/Root/Colors[@Kind='a' and position() = 1] | //Other\"/>", {}},
    };
    for (const auto& [text, messages] : cases) {
        DropRecorder drops;
        loaded(text);
        EXPECT_EQ(drops.messages, messages) << text;
    }
}

TEST_F(AddNodeTest, Apply_AppendsTheChildrenUnderTheFirstSelectedNode_OrChangesNothing) {
    const std::wstring asWritten = L"<線種 名前=\"一点鎖線\">破線&amp;点</線種>"
                                   L"<Note Text=\"say &quot;a&quot; &amp; &lt;b\"/>"
                                   L"<![CDATA[<raw> & ]]><!-- 注記 -->";
    struct Case {
        std::wstring item, before;
        bool changed;
        std::wstring after;
    };
    const Case cases[] = {
        // Every child in order, text included, as last children.
        {L"<AddNode XPath=\"Colors\"><Color Name=\"Blue\"/>tail<Color Name=\"Green\"/></AddNode>",
         L"<Root><Colors><Color Name=\"Red\"/></Colors></Root>", true,
         L"<Root><Colors><Color Name=\"Red\"/><Color Name=\"Blue\"/>tail<Color Name=\"Green\"/></Colors></Root>"},
        {L"<AddNode XPath=\"設定\">" + asWritten + L"</AddNode>", L"<Root><設定/></Root>", true,
         L"<Root><設定>" + asWritten + L"</設定></Root>"},
        {L"<AddNode XPath=\"List\"><New/></AddNode>", L"<Root><List Id=\"1\"/><List Id=\"2\"/></Root>", true,
         L"<Root><List Id=\"1\"><New/></List><List Id=\"2\"/></Root>"},
        // A relative path starts at the root element, an absolute one at the document.
        {L"<AddNode XPath=\"Root\"><New/></AddNode>", L"<Root><Root/></Root>", true,
         L"<Root><Root><New/></Root></Root>"},
        {L"<AddNode XPath=\"/Root/Root\"><New/></AddNode>", L"<Root><Root/></Root>", true,
         L"<Root><Root><New/></Root></Root>"},
        // Without content the item still counts as a change.
        {L"<AddNode XPath=\"Present\"/>", L"<Root><Present/></Root>", true, L"<Root><Present/></Root>"},
        {L"<AddNode XPath=\"Missing\"><New/></AddNode>", L"<Root><Present/></Root>", false, L"<Root><Present/></Root>"},
        {L"<AddNode XPath=\"\"><New/></AddNode>", L"<Root><Present/></Root>", false, L"<Root><Present/></Root>"},
        {L"<AddNode XPath=\"Present[\"><New/></AddNode>", L"<Root><Present/></Root>", false,
         L"<Root><Present/></Root>"},
    };
    for (const Case& c : cases) {
        AddNode item = loaded(c.item);
        TargetDocument target(c.before);
        EXPECT_EQ(target.apply(item), c.changed) << c.item;
        EXPECT_EQ(target.text(), c.after) << c.item;
    }
}

TEST_F(AddNodeTest, Apply_ChangesNothing_WhenTheStoredFragmentDoesNotParse) {
    AddNode item;
    item.xpath = L"Present";
    item.xml = L"<AddNode><Unclosed></AddNode>";
    TargetDocument target(L"<Root><Present/></Root>");
    EXPECT_FALSE(target.apply(item));
    EXPECT_EQ(target.text(), L"<Root><Present/></Root>");
}

TEST_F(AddNodeTest, Clone_IsAnIndependentCopy_ThatInsertsAgainEachTime) {
    auto original = std::make_unique<AddNode>(loaded(L"<AddNode XPath=\".\"><New/></AddNode>"));
    std::unique_ptr<ISettingItem> copy(original->clone());
    original.reset();
    ASSERT_NE(dynamic_cast<AddNode*>(copy.get()), nullptr);
    EXPECT_STREQ(copy->getNodeName(), L"AddNode");
    TargetDocument target(L"<Root/>");
    EXPECT_TRUE(target.apply(*copy));
    EXPECT_TRUE(target.apply(*copy));
    EXPECT_EQ(target.text(), L"<Root><New/><New/></Root>");
}

} // namespace
} // namespace tern::update::setting
