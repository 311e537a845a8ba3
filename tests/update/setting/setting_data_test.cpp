// SettingData: reading a "Setting" section and applying it to its settings
// file in a real folder.

#include "tests/support/temp_folder.h"
#include "tests/update/setting/xml_fixture.h"
#include "update/setting/add_node.h"
#include "update/setting/if_n.h"
#include "update/setting/setting_item_table.h"
#include "update/update_data.h"

#include <gtest/gtest.h>

#include <chrono>

namespace tern::update {
namespace {

namespace fs = std::filesystem;
using test::DropRecorder;
using test::parseElement;
using test::readFile;
using test::TempFolder;
using test::writeFile;

const char* const displayFile = "app/Config/Display.xml";

class SettingDataTest : public ::testing::Test {
protected:
    void SetUp() override { table.registerItems(); }

    // A section read from its element text, for the file Config\Display.xml.
    void load(const std::wstring& items) {
        ASSERT_TRUE(
            section.load(parseElement(L"<Setting Path=\"Config\\Display.xml\">" + items + L"</Setting>"), table));
    }
    bool apply() { return section.apply(folder.c_str()); }

    // Writes the settings file and dates it an hour back, so that a rewrite
    // would show in its last-write time.
    void writeSettings(const std::string& bytes) {
        writeFile(temp.native(displayFile), bytes);
        fs::last_write_time(temp.native(displayFile), fs::file_time_type::clock::now() - std::chrono::hours(1));
        writtenAt = fs::last_write_time(temp.native(displayFile));
    }
    std::string settings() const { return readFile(temp.native(displayFile)); }
    bool rewritten() const { return fs::last_write_time(temp.native(displayFile)) != writtenAt; }

    TempFolder temp;
    std::wstring folder = temp.system("app/");
    setting::SettingItemTable table;
    SettingData section;
    fs::file_time_type writtenAt;
};

const wchar_t* const gridOnce = L"<IfN XPath=\"View/Grid\"><AddNode XPath=\"View\"><Grid/></AddNode></IfN>";

TEST_F(SettingDataTest, Load_ReadsThePathAndTheItemsInOrder_ReplacingWhatWasReadBefore) {
    DropRecorder drops;
    load(L"<AddNode XPath=\"A\"/>text<addNode XPath=\"X\"/><IfN XPath=\"B\"/><AddNode XPath=\"C\"/>");
    EXPECT_EQ(section.path, L"Config\\Display.xml");
    ASSERT_EQ(section.items.size(), 3u);
    EXPECT_EQ(dynamic_cast<setting::AddNode&>(*section.items[0]).xpath, L"A");
    EXPECT_EQ(dynamic_cast<setting::IfN&>(*section.items[1]).xpath, L"B");
    EXPECT_EQ(dynamic_cast<setting::AddNode&>(*section.items[2]).xpath, L"C");
    EXPECT_EQ(drops.messages,
              std::vector<std::wstring>{
                  L"The element \"addNode\" inside \"Setting\" is skipped; names are case-sensitive, so write "
                  L"\"AddNode\"."});

    ASSERT_TRUE(section.load(parseElement(L"<Setting Path=\"Other.xml\"><IfN XPath=\"C\"/></Setting>"), table));
    EXPECT_EQ(section.path, L"Other.xml");
    ASSERT_EQ(section.items.size(), 1u);
    EXPECT_STREQ(section.items[0]->getNodeName(), L"IfN");
}

TEST_F(SettingDataTest, Load_Fails_WithoutPath_OrForAnotherElement) {
    DropRecorder drops;
    EXPECT_FALSE(section.load(parseElement(L"<Setting><AddNode XPath=\"A\"/></Setting>"), table));
    EXPECT_FALSE(section.load(parseElement(L"<setting Path=\"a.xml\"/>"), table));
    EXPECT_EQ(drops.messages, std::vector<std::wstring>{L"A \"Setting\" without a \"Path\" is dropped."});
}

TEST_F(SettingDataTest, EmptyPath_Loads_ButApplyTouchesNoFile) {
    writeSettings("<Root><View/></Root>");
    ASSERT_TRUE(section.load(parseElement(L"<Setting Path=\"\"><AddNode XPath=\".\"><X/></AddNode></Setting>"), table));
    EXPECT_FALSE(section.apply(temp.system(displayFile).c_str()));
    EXPECT_FALSE(apply());
    EXPECT_EQ(settings(), "<Root><View/></Root>");
}

TEST_F(SettingDataTest, Apply_ChangesOnlyWhatItInserts) {
    const std::string before = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
                               "<!-- user settings -->\r\n"
                               "<?editor keep?>\r\n"
                               "<Root z=\"1\" a=\"2\" m=\"3\">\r\n"
                               "\t<View Zoom=\"1\" Grid=\"off\"/>\r\n"
                               "    <Colors>\r\n"
                               "        <Color Name=\"赤\" Value=\"&amp;FF0000\"/>\r\n"
                               "    </Colors>\r\n"
                               "</Root>\r\n";
    writeSettings(before);
    load(L"<AddNode XPath=\"Colors\"><Color Name=\"青\"/></AddNode>");
    EXPECT_TRUE(apply());
    std::string after = before;
    // The new element follows the line break and indent that end <Colors>.
    after.insert(after.find("</Colors>"), "<Color Name=\"青\"/>");
    EXPECT_EQ(settings(), after);
}

TEST_F(SettingDataTest, Apply_LeavesTheFileUnwritten_WhenNothingChangesOrAnEditCannotBeSaved) {
    struct Case {
        const char* name;
        const char* file;
        std::wstring items;
        bool readOnly;
    };
    const Case cases[] = {
        {"nothing to change", "<Root>\n  <View><Grid/></View>\n</Root>\n",
         L"<AddNode XPath=\"Missing\"><X/></AddNode>" + std::wstring(gridOnce), false},
        {"no known items", "<Root/>", L"<Unknown/>", false},
        {"a read-only file", "<Root><View/></Root>", L"<AddNode XPath=\"View\"><Grid/></AddNode>", true},
        {"a malformed file", "<Root><View></Root>", L"<AddNode XPath=\".\"><X/></AddNode>", false},
        // The first item edits the document in memory; the second asks for an
        // element under an attribute, which the DOM refuses.
        {"an edit that fails half way", "<Root a=\"1\"><View/></Root>",
         L"<AddNode XPath=\"View\"><Grid/></AddNode><AddNode XPath=\"@a\"><Grid/></AddNode>", false},
        {"a second root element", "<Root><View/></Root>", L"<AddNode XPath=\"/\"><Second/></AddNode>", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        writeSettings(c.file);
        test::setReadOnly(temp.native(displayFile), c.readOnly);
        load(c.items);
        EXPECT_FALSE(apply());
        EXPECT_EQ(settings(), c.file);
        EXPECT_FALSE(rewritten());
        EXPECT_EQ(test::isReadOnly(temp.native(displayFile)), c.readOnly);
        test::setReadOnly(temp.native(displayFile), false);
    }
}

TEST_F(SettingDataTest, OnceOnlyPattern_AppliedTwice_WritesTheFileOnce) {
    writeSettings("<Root><View/></Root>");
    load(gridOnce);
    EXPECT_TRUE(apply());
    EXPECT_EQ(settings(), "<Root><View><Grid/></View></Root>");
    writeSettings(settings());
    EXPECT_FALSE(apply());
    EXPECT_FALSE(rewritten());
    EXPECT_EQ(settings(), "<Root><View><Grid/></View></Root>");
}

TEST_F(SettingDataTest, Apply_AnAddNodeWithoutContent_RewritesTheFile) {
    writeSettings("<Root><View/></Root>");
    load(L"<AddNode XPath=\"View\"/>");
    EXPECT_TRUE(apply());
    EXPECT_TRUE(rewritten());
    EXPECT_EQ(settings(), "<Root><View/></Root>");
}

TEST_F(SettingDataTest, TwoSectionsOnOneFile_TheSecondSeesTheFirstOnesChanges) {
    writeSettings("<Root><View/></Root>");
    load(L"<AddNode XPath=\"View\"><Grid/></AddNode>");
    SettingData second;
    ASSERT_TRUE(second.load(parseElement(L"<Setting Path=\"Config\\Display.xml\">"
                                         L"<AddNode XPath=\"View/Grid\"><Step/></AddNode></Setting>"),
                            table));
    EXPECT_TRUE(apply());
    EXPECT_TRUE(second.apply(folder.c_str()));
    EXPECT_EQ(settings(), "<Root><View><Grid><Step/></Grid></View></Root>");
}

TEST_F(SettingDataTest, Apply_CreatesNoFile_ForNoFolderOrAMissingFile) {
    load(L"<AddNode XPath=\".\"><X/></AddNode>");
    EXPECT_FALSE(section.apply(nullptr));
    EXPECT_FALSE(section.apply(L""));
    EXPECT_FALSE(apply());
    EXPECT_TRUE(test::treeOf(temp.path()).empty());
}

} // namespace
} // namespace tern::update
