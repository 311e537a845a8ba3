// "IfN": reading nested items, applying them only when the XPath selects
// nothing, and bounded nesting.

#include "tests/update/clone_trap.h"
#include "tests/update/setting/xml_fixture.h"
#include "update/setting/add_node.h"
#include "update/setting/if_n.h"
#include "update/setting/setting_item_table.h"

#include <gtest/gtest.h>

#include <memory>
#include <new>

namespace tern::update::setting {
namespace {

using test::DropRecorder;
using test::parseElement;
using test::TargetDocument;

// A nested item that changes nothing; cloning one made with `true` throws.
struct TrappedItem : ISettingItem, test::CloneTrap {
    using CloneTrap::CloneTrap;
    ISettingItem* clone() const override {
        springIfSet();
        return new TrappedItem(*this);
    }
    const wchar_t* getNodeName() const override { return L"Trapped"; }
    bool load(utility::xml::Node, SettingItemTable&) override { return true; }
    bool apply(SettingData*, utility::xml::Node, utility::xml::Document) override { return false; }
};

// The once-only pattern: add <Grid/> under <View> unless it is there.
const wchar_t* const addGridOnce =
    L"<IfN XPath=\"View/Grid\"><AddNode XPath=\"View\"><Grid Step=\"5\"/></AddNode></IfN>";

class IfNTest : public ::testing::Test {
protected:
    void SetUp() override { table.registerItems(); }

    std::unique_ptr<IfN> loaded(const std::wstring& text) {
        auto item = std::make_unique<IfN>();
        EXPECT_TRUE(item->load(parseElement(text), table)) << text;
        return item;
    }

    SettingItemTable table;
};

TEST_F(IfNTest, Load_Fails_WhenXPathIsMissing_OrTheNameDiffers) {
    IfN item;
    EXPECT_FALSE(item.load(parseElement(L"<IfN><AddNode XPath=\"B\"/></IfN>"), table));
    EXPECT_EQ(item.state, 0);
    EXPECT_FALSE(item.load(parseElement(L"<ifn XPath=\"A\"/>"), table));
}

TEST_F(IfNTest, Load_ReadsNestedItemsInDocumentOrder_SkippingWhatItCannotReadAndSayingWhy) {
    DropRecorder drops;
    auto item = loaded(L"<IfN XPath=\"A[\">text<!-- c --><AddNode XPath=\"B\"/><addnode XPath=\"X\"/><IfN XPath=\"C\"/>"
                       L"<Other/><AddNode/><AddNode XPath=\"D\"/></IfN>");
    EXPECT_EQ(item->xpath, L"A[");
    EXPECT_EQ(item->state, 1);
    ASSERT_EQ(item->items.size(), 3u);
    EXPECT_EQ(dynamic_cast<AddNode&>(*item->items[0]).xpath, L"B");
    EXPECT_EQ(dynamic_cast<IfN&>(*item->items[1]).xpath, L"C");
    EXPECT_EQ(dynamic_cast<AddNode&>(*item->items[2]).xpath, L"D");
    EXPECT_EQ(drops.messages,
              (std::vector<std::wstring>{
                  L"The \"XPath\" value \"A[\" of an \"IfN\" does not compile to a node selection, so it "
                  L"selects nothing.",
                  L"The element \"addnode\" inside \"IfN\" is skipped; names are case-sensitive, so write \"AddNode\".",
                  L"The element \"Other\" inside \"IfN\" is skipped; expected \"AddNode\" or \"IfN\".",
                  L"An \"AddNode\" without an \"XPath\" is dropped."}));
}

TEST_F(IfNTest, Apply_AppliesItsItemsInOrder_OnlyWhileTheXPathSelectsNothing) {
    struct Case {
        const wchar_t* item;
        const wchar_t* before;
        std::vector<bool> results; // of applying the item again and again
        const wchar_t* after;
    };
    const Case cases[] = {
        {addGridOnce, L"<Root><View><Grid/></View></Root>", {false}, L"<Root><View><Grid/></View></Root>"},
        {addGridOnce, L"<Root><View/></Root>", {true, false}, L"<Root><View><Grid Step=\"5\"/></View></Root>"},
        {L"<IfN XPath=\"Missing\"><AddNode XPath=\"Nowhere\"><X/></AddNode>"
         L"<AddNode XPath=\"View\"><A/></AddNode><AddNode XPath=\"View/A\"><B/></AddNode></IfN>",
         L"<Root><View/></Root>", {true}, L"<Root><View><A><B/></A></View></Root>"},
        // Nested items evaluate against the same root.
        {L"<IfN XPath=\"Outer\"><IfN XPath=\"Inner\"><AddNode XPath=\".\"><Inner/></AddNode></IfN></IfN>",
         L"<Root><Box/></Root>", {true, false}, L"<Root><Box/><Inner/></Root>"},
        // A malformed XPath selects nothing.
        {L"<IfN XPath=\"View[\"><AddNode XPath=\"View\"><Grid/></AddNode></IfN>", L"<Root><View><Grid/></View></Root>",
         {true}, L"<Root><View><Grid/><Grid/></View></Root>"},
        {L"<IfN XPath=\"Missing\"/>", L"<Root/>", {false}, L"<Root/>"},
        {L"<IfN XPath=\"Missing\"><Add XPath=\".\"/></IfN>", L"<Root/>", {false}, L"<Root/>"},
    };
    for (const Case& c : cases) {
        auto item = loaded(c.item);
        TargetDocument target(c.before);
        std::vector<bool> results;
        for (std::size_t i = 0; i < c.results.size(); ++i)
            results.push_back(target.apply(*item));
        EXPECT_EQ(results, c.results) << c.item;
        EXPECT_EQ(target.text(), c.after) << c.item;
    }
}

TEST_F(IfNTest, Apply_DoesNothing_UntilLoaded) {
    IfN item;
    item.items.push_back(new AddNode);
    static_cast<AddNode*>(item.items[0])->xpath = L".";
    static_cast<AddNode*>(item.items[0])->xml = L"<AddNode><A/></AddNode>";
    TargetDocument target(L"<Root/>");
    EXPECT_FALSE(target.apply(item));
    item.state = 1;
    EXPECT_TRUE(target.apply(item));
    EXPECT_EQ(target.text(), L"<Root><A/></Root>");
}

TEST_F(IfNTest, Clone_CopiesTheNestedItemsDeeply) {
    auto original = loaded(addGridOnce);
    std::unique_ptr<ISettingItem> copy(original->clone());
    auto& copied = dynamic_cast<IfN&>(*copy);
    EXPECT_EQ(copied.xpath, L"View/Grid");
    EXPECT_EQ(copied.state, 1);
    ASSERT_EQ(copied.items.size(), 1u);
    EXPECT_NE(copied.items[0], original->items[0]);
    original.reset();
    TargetDocument target(L"<Root><View/></Root>");
    EXPECT_TRUE(target.apply(*copy));
    EXPECT_EQ(target.text(), L"<Root><View><Grid Step=\"5\"/></View></Root>");
}

TEST_F(IfNTest, Clone_LeavesNothingBehind_WhenANestedCloneThrows) {
    IfN original;
    original.items = {new TrappedItem, new TrappedItem(true)};
    EXPECT_THROW(delete original.clone(), std::bad_alloc);
    EXPECT_EQ(test::CloneTrap::live, 2);
}

// The text of `levels` "IfN" elements, one inside the other, with an
// "AddNode" adding <Mark/> under the root at every level.
std::wstring nested(int levels) {
    std::wstring text;
    for (int i = 0; i < levels; ++i)
        text += L"<IfN XPath=\"Never\"><AddNode XPath=\".\"><Mark/></AddNode>";
    for (int i = 0; i < levels; ++i)
        text += L"</IfN>";
    return text;
}

int nestingOf(const IfN& item) {
    int depth = 1;
    for (const IfN* level = &item; level->items.size() == 2; level = &dynamic_cast<const IfN&>(*level->items[1]))
        ++depth;
    return depth;
}

TEST_F(IfNTest, Nesting_UpToTheBound_LoadsAndAppliesEveryLevel) {
    DropRecorder drops;
    auto item = loaded(nested(IfN::maxDepth));
    EXPECT_EQ(nestingOf(*item), IfN::maxDepth);
    TargetDocument target(L"<Root/>");
    EXPECT_TRUE(target.apply(*item));
    std::wstring marks;
    for (int i = 0; i < IfN::maxDepth; ++i)
        marks += L"<Mark/>";
    EXPECT_EQ(target.text(), L"<Root>" + marks + L"</Root>");
    EXPECT_TRUE(drops.messages.empty());
}

TEST_F(IfNTest, Nesting_TensOfThousandsDeep_DropsWhatLiesBeyondTheBound_WithoutCrashing) {
    DropRecorder drops;
    auto item = loaded(nested(50000));
    EXPECT_EQ(nestingOf(*item), IfN::maxDepth);
    EXPECT_EQ(drops.messages, std::vector<std::wstring>{L"An \"IfN\" nested more than 100 levels deep is dropped."});
    std::unique_ptr<ISettingItem> copy(item->clone());
    TargetDocument target(L"<Root/>");
    EXPECT_TRUE(target.apply(*copy));
}

} // namespace
} // namespace tern::update::setting
