// The update definition: CUpdater::loadXml and the entry model it fills,
// read from real files.

#include "components/utility/xml.h"
#include "platform/com_apartment.h"
#include "tests/support/temp_folder.h"
#include "tests/update/clone_trap.h"
#include "tests/update/setting/xml_fixture.h"
#include "update/definition_file.h"
#include "update/layout/command.h"
#include "update/layout/make_tab.h"
#include "update/setting/setting_item_table.h"
#include "update/update_data.h"
#include "update/updater.h"

#include <gtest/gtest.h>

#include <memory>
#include <new>
#include <string>
#include <vector>

namespace tern::update {
namespace {

using test::DropRecorder;
using test::parseElement;
using test::TempFolder;
using test::writeFile;

// A CUpdater whose entries the tests can read.
struct LoadingUpdater : CUpdater {
    using CUpdater::updates;
};

class DefinitionTest : public ::testing::Test {
protected:
    // Writes the definition with root "Update_Data" around body and loads it.
    bool load(const std::string& body) {
        writeFile(temp.native("Update.xml"),
                  "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Update_Data>\n" + body + "</Update_Data>\n");
        return updater.loadXml(temp.system("Update.xml").c_str());
    }
    std::vector<std::wstring> versions() const {
        std::vector<std::wstring> result;
        for (const UpdateData* entry : updater.updates)
            result.push_back(entry->version);
        return result;
    }
    const UpdateData& entry(std::size_t index) const { return *updater.updates.at(index); }

    TempFolder temp;
    LoadingUpdater updater;
};

TEST_F(DefinitionTest, Load_ReadsEntriesWithTheirSectionsInDocumentOrder_DroppingASettingWithoutPath) {
    ASSERT_TRUE(
        load("<Update ver=\"2016.0\">\n"
             "  <Layout><MakeTab Name=\"Survey\"/><Command SID=\"ID_A\"><Menu Path=\"Draw\"/></Command></Layout>\n"
             "  <Setting Path=\"Config\\A.xml\"><AddNode XPath=\".\"><X/></AddNode></Setting>\n"
             "  <Setting><AddNode XPath=\".\"/></Setting>\n"
             "  <Setting Path=\"Config\\B.xml\"><IfN XPath=\"Y\"/></Setting>\n"
             "</Update>\n"
             "<!-- older -->\n"
             "<Update ver=\"2015.2\"/>\n"
             "<Update ver=\"2015\"/>\n"));
    EXPECT_EQ(versions(), (std::vector<std::wstring>{L"2016.0", L"2015.2", L"2015"}));
    std::vector<std::pair<int, int>> numbers;
    for (const UpdateData* loaded : updater.updates)
        numbers.emplace_back(loaded->major, loaded->minor);
    EXPECT_EQ(numbers, (std::vector<std::pair<int, int>>{{2016, 0}, {2015, 2}, {2015, 0}}));
    ASSERT_EQ(entry(0).layout.items.size(), 2u);
    EXPECT_NE(dynamic_cast<layout::MakeTab*>(entry(0).layout.items[0]), nullptr);
    EXPECT_EQ(dynamic_cast<layout::Command&>(*entry(0).layout.items[1]).sid, L"ID_A");
    ASSERT_EQ(entry(0).settings.size(), 2u);
    EXPECT_EQ(entry(0).settings[0]->path, L"Config\\A.xml");
    EXPECT_EQ(entry(0).settings[1]->path, L"Config\\B.xml");
    EXPECT_TRUE(entry(1).layout.items.empty());
    EXPECT_TRUE(entry(1).settings.empty());
}

TEST_F(DefinitionTest, Load_KeepsOnlyTheLastLayoutOfAnEntry) {
    DropRecorder drops;
    ASSERT_TRUE(load("<Update ver=\"2016.0\">\n"
                     "  <Layout><MakeTab Name=\"First\"/><MakeTab Name=\"Second\"/></Layout>\n"
                     "  <Layout><MakeTab Name=\"Third\"/></Layout>\n"
                     "</Update>\n"));
    ASSERT_EQ(entry(0).layout.items.size(), 1u);
    EXPECT_EQ(dynamic_cast<layout::MakeTab&>(*entry(0).layout.items[0]).name, L"Third");
    EXPECT_EQ(drops.messages, std::vector<std::wstring>{
                                  L"A second \"Layout\" in one \"Update\" replaces the items of the one before."});
    EXPECT_EQ(drops.lines, std::vector<int>{5});
}

TEST_F(DefinitionTest, Load_RejectsTheFileAtAnEntryWithoutVersion_KeepingTheEntriesBeforeIt) {
    DropRecorder drops;
    EXPECT_FALSE(load("<Update ver=\"2016.0\"/>\n"
                      "<Update ver=\"2015.2\"/>\n"
                      "<Update><Layout><MakeTab Name=\"T\"/></Layout></Update>\n"
                      "<Update ver=\"2015.0\"/>\n"));
    // An empty version rejects the file too, once the whole entry is read.
    EXPECT_FALSE(load("<Update ver=\"\"><Setting/></Update>\n"));
    EXPECT_EQ(versions(), (std::vector<std::wstring>{L"2016.0", L"2015.2"}));
    EXPECT_EQ(drops.messages,
              (std::vector<std::wstring>{L"An \"Update\" without a \"ver\" rejects the whole file.",
                                         L"A \"Setting\" without a \"Path\" is dropped.",
                                         L"An \"Update\" with an empty \"ver\" rejects the whole file."}));
    EXPECT_EQ(drops.lines, (std::vector<int>{5, 3, 3}));
}

TEST_F(DefinitionTest, Load_SkipsNamesThatDifferInLetterCase_AndSaysHowToSpellThem) {
    DropRecorder drops;
    ASSERT_TRUE(load("<update ver=\"2017.0\"/>\n"
                     "<Update ver=\"2016.0\">\n"
                     "  <layout><MakeTab Name=\"T\"/></layout>\n"
                     "  <Layout><maketab Name=\"T\"/></Layout>\n"
                     "  <setting Path=\"A.xml\"/>\n"
                     "</Update>\n"
                     "<Layout/>\n"));
    EXPECT_EQ(versions(), std::vector<std::wstring>{L"2016.0"});
    EXPECT_TRUE(entry(0).layout.items.empty());
    EXPECT_TRUE(entry(0).settings.empty());
    EXPECT_EQ(
        drops.messages,
        (std::vector<std::wstring>{
            L"The element \"update\" inside \"Update_Data\" is skipped; names are case-sensitive, so write "
            L"\"Update\".",
            L"The element \"layout\" inside \"Update\" is skipped; names are case-sensitive, so write \"Layout\".",
            L"The element \"maketab\" inside \"Layout\" is skipped; names are case-sensitive, so write "
            L"\"MakeTab\".",
            L"The element \"setting\" inside \"Update\" is skipped; names are case-sensitive, so write "
            L"\"Setting\".",
            L"The element \"Layout\" inside \"Update_Data\" is skipped; expected \"Update\"."}));
    EXPECT_EQ(drops.lines, (std::vector<int>{3, 5, 6, 7, 9}));
}

TEST_F(DefinitionTest, Load_AppendsToTheEntriesItHolds_AndAcceptsARootWithoutEntries) {
    ASSERT_TRUE(load("<Update ver=\"2016.0\"/>\n"));
    ASSERT_TRUE(updater.loadXml(temp.system("Update.xml").c_str()));
    EXPECT_TRUE(load("<!-- nothing yet -->\n"));
    EXPECT_EQ(versions(), (std::vector<std::wstring>{L"2016.0", L"2016.0"}));
}

TEST_F(DefinitionTest, Load_RejectsMissingMalformedUnnamedAndForeignFiles) {
    writeFile(temp.native("Broken.xml"), "<Update_Data><Update ver=\"2016.0\"></Update_Data>");
    writeFile(temp.native("Option.xml"), "<Option_Data><Update ver=\"1.0\"/></Option_Data>");
    test::makeFolder(temp.native("Folder.xml"));
    for (const char* name : {"Missing.xml", "Broken.xml", "Option.xml", "Folder.xml"})
        EXPECT_FALSE(updater.loadXml(temp.system(name).c_str())) << name;
    EXPECT_FALSE(updater.loadXml(L""));
    EXPECT_FALSE(updater.loadXml(nullptr));
    EXPECT_TRUE(updater.updates.empty());
}

// A caller that looks at each entry and lets it go, as tnupdate check does:
// the order is still checked against the entry before, which is gone by then.
TEST_F(DefinitionTest, LoadDefinition_GivesEachEntryWhole_AsSoonAsItIsRead) {
    writeFile(temp.native("Option.xml"),
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Option_Data>\n"
              "<Update ver=\"2016.1\"><Layout><MakeTab Name=\"A\"/><MakeTab Name=\"B\"/></Layout></Update>\n"
              "<Layout><Command SID=\"ID_X\"><Menu Path=\"Draw\"/></Command></Layout>\n"
              "<Update ver=\"2016.1\"><Setting Path=\"A.xml\"><IfN XPath=\"X\"/></Setting></Update>\n"
              "<Update/>\n"
              "<Update ver=\"2015.0\"/>\n"
              "</Option_Data>\n");
    const platform::ComApartment apartment;
    ASSERT_TRUE(apartment.ok());
    utility::xml::Document document;
    utility::xml::Element root;
    ASSERT_TRUE(utility::xml::load(document, temp.system("Option.xml"), false));
    ASSERT_TRUE(utility::xml::getRootElement(root, document));
    DropRecorder drops;
    std::vector<std::wstring> taken; // each entry as it was given: version, layout items, setting sections
    const auto take = [&](std::unique_ptr<UpdateData> entry) {
        taken.push_back(entry->version + L" " + std::to_wstring(entry->layout.items.size()) + L" " +
                        std::to_wstring(entry->settings.size()));
    };
    EXPECT_FALSE(loadDefinition(root, L"Option_Data", BareLayouts::load, take));
    EXPECT_EQ(taken, (std::vector<std::wstring>{L"2016.1 2 0", L"0.0 1 0", L"2016.1 0 1"}));
    EXPECT_EQ(drops.messages,
              (std::vector<std::wstring>{
                  L"The entry 2016.1 is not older than the entry before it (0.0); entries go newest first.",
                  L"An \"Update\" without a \"ver\" rejects the whole file."}));
    EXPECT_EQ(drops.lines, (std::vector<int>{5, 6}));
}

TEST(UpdateData, LoadLayoutOnly_ResetsTheEntry_AndReadsTheLayoutAsVersionZero) {
    setting::SettingItemTable table;
    table.registerItems();
    UpdateData entry;
    ASSERT_TRUE(entry.load(parseElement(L"<Update ver=\"2016.1\"><Setting Path=\"A.xml\"/></Update>"), table));
    EXPECT_TRUE(entry.loadLayoutOnly(parseElement(L"<Layout><MakeTab Name=\"T\"/><Command/></Layout>")));
    EXPECT_EQ(entry.version, L"0.0");
    EXPECT_EQ(entry.major, 0);
    EXPECT_EQ(entry.minor, 0);
    EXPECT_EQ(entry.layout.items.size(), 1u);
    EXPECT_TRUE(entry.settings.empty());
}

TEST(LayoutData, Copy_ClonesEveryItem) {
    LayoutData original;
    ASSERT_TRUE(original.load(parseElement(L"<Layout><MakeTab Name=\"T\"/><Command SID=\"ID_A\"/></Layout>")));
    const LayoutData copy = original;
    ASSERT_EQ(copy.items.size(), 2u);
    EXPECT_NE(copy.items[0], original.items[0]);
    original.clear();
    EXPECT_EQ(dynamic_cast<layout::MakeTab&>(*copy.items[0]).name, L"T");
    EXPECT_EQ(dynamic_cast<layout::Command&>(*copy.items[1]).sid, L"ID_A");
}

// A layout item that changes nothing; cloning one made with `true` throws.
struct TrappedItem : layout::ILayoutItem, test::CloneTrap {
    using CloneTrap::CloneTrap;
    ILayoutItem* clone() const override {
        springIfSet();
        return new TrappedItem(*this);
    }
    bool apply(const std::vector<layout::LayoutTable*>&, const utility::CCommandTable&) override { return false; }
};

TEST(LayoutData, FailedCopies_LeaveNoCloneBehind_AndTheAssignedLayoutAsItWas) {
    LayoutData source;
    source.items = {new TrappedItem, new TrappedItem(true)};
    EXPECT_THROW(LayoutData{source}, std::bad_alloc);
    EXPECT_EQ(test::CloneTrap::live, 2);

    LayoutData target;
    ASSERT_TRUE(target.load(parseElement(L"<Layout><MakeTab Name=\"Kept\"/></Layout>")));
    EXPECT_THROW(target = source, std::bad_alloc);
    EXPECT_EQ(test::CloneTrap::live, 2);
    ASSERT_EQ(target.items.size(), 1u);
    EXPECT_EQ(dynamic_cast<layout::MakeTab&>(*target.items[0]).name, L"Kept");
}

TEST(LayoutData, Load_FailsForNoNode) {
    LayoutData layout;
    EXPECT_FALSE(layout.load(utility::xml::Node()));
}

} // namespace
} // namespace tern::update
