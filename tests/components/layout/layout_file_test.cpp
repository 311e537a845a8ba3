#include "components/layout/layout_manager.h"

#include "components/utility/xml.h"
#include "platform/com_apartment.h"
#include "platform/text.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_frame.h"
#include "tests/components/layout/bar_listing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

namespace tern::layout {
namespace {

namespace xml = utility::xml;
using test::describe;
using test::readFile;
using test::Tree;
using test::treeOf;
using test::writeFile;

const std::string declaration = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";

// Everything the format has, with commands the table does not know
// (ID_OLD_*) among them, in the form the model saves.
const std::string richLayout = declaration + R"(<Display>
  <LayoutType Name="Standard">
    <AppendOption Name="Survey" Major="2015" Minor="2"/>
    <AppendOption Name="Piping" Major="0" Minor="0"/>
    <LayoutMode Name="Normal">
      <Ribbon>
        <Tab Id="1" Caption="&amp;Home">
          <Group Id="2" Caption="Draw">
            <Control SID="ID_DRAW_LINE" Caption="Line"/>
            <Control SID="ID_OLD_CURVE" Caption="Old curve"/>
          </Group>
          <Group Id="3" Caption=""/>
        </Tab>
        <Tab Id="4" Caption="Ansicht &lt;2 &quot;Ü&quot;"/>
      </Ribbon>
      <Menu>
        <Popup Caption="File">
          <Command SID="ID_FILE_OPEN" Caption="&amp;Open..."/>
          <Separator/>
          <Popup Caption="Export">
            <Command SID="ID_OLD_EXPORT" Caption="Legacy"/>
          </Popup>
          <Popup Caption="Empty"/>
        </Popup>
        <Command SID="ID_FILE_OPEN" Caption="Open"/>
      </Menu>
      <ToolBar Title="Standard" Position="Top">
        <Command SID="ID_FILE_OPEN" Caption="Open"/>
        <Command SID="ID_OLD_PRINT" Caption="Print" BeginGroup="true"/>
      </ToolBar>
      <ToolBar Title="Side" Position="Floating"/>
      <ToolBarOption Title="Side"/>
    </LayoutMode>
    <LayoutMode Name="Red">
      <Ribbon/>
      <Menu/>
    </LayoutMode>
  </LayoutType>
  <LayoutType Name="Compact"/>
</Display>
)";

// The text with its one occurrence of `from` replaced.
std::string replaced(std::string text, const std::string& from, const std::string& to) {
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

class LayoutFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        writeFile(folder.native("Commands.xml"), R"(<Commands>
            <Command SID="ID_FILE_OPEN" Id="101" Caption="Open"/>
            <Command SID="ID_DRAW_LINE" Id="200" Caption="Line"/>
          </Commands>)");
        std::wstring problem;
        ASSERT_TRUE(commandTable.load(folder.system("Commands.xml"), problem));
        frame.commandTable = &commandTable;
    }

    // Writes the text as Config\Display.xml and loads it.
    bool load(const std::string& text) {
        writeFile(folder.native("Config/Display.xml"), text);
        return manager.loadXmlFile(folder.system("Config/Display.xml"), frame);
    }
    // Saves the model as Config\Saved.xml and gives the file's text.
    std::string saved(const LayoutManager& model) {
        EXPECT_TRUE(model.saveXmlFile(folder.system("Config/Saved.xml"), commandTable));
        return readFile(folder.native("Config/Saved.xml"));
    }
    std::string problem() const { return platform::toUtf8(manager.getLoadProblem()); }

    test::TempFolder folder;
    utility::CCommandTable commandTable;
    test::TestFrame frame;
    LayoutManager manager;
};

// --- Round trip ---------------------------------------------------------------

// COM is open per thread, and a new thread has none: only a reader and a
// writer that open their own apartment can do their work there.
TEST_F(LayoutFileTest, LoadThenSave_GivesTheSameBytes_UnknownCommandsIncluded_EvenOnAThreadWithoutCom) {
    writeFile(folder.native("Config/Display.xml"), richLayout);
    bool loaded = false;
    bool written = false;
    std::thread([&] {
        loaded = manager.loadXmlFile(folder.system("Config/Display.xml"), frame);
        written = manager.saveXmlFile(folder.system("Config/Saved.xml"), commandTable);
    }).join();
    EXPECT_TRUE(loaded) << problem();
    EXPECT_TRUE(written);
    EXPECT_EQ(readFile(folder.native("Config/Saved.xml")), richLayout);
}

TEST_F(LayoutFileTest, TheDocumentedExample_IsAFileAsTheModelSavesIt) {
    const std::string page = readFile(std::filesystem::path(TN_EXAMPLES_DIR) / ".." / "docs" / "layout-file.md");
    const std::string opening = "```xml\n";
    const std::size_t start = page.find(opening);
    ASSERT_NE(start, std::string::npos) << "no XML example in docs/layout-file.md";
    const std::size_t end = page.find("```", start + opening.size());
    ASSERT_NE(end, std::string::npos);
    const std::string example = page.substr(start + opening.size(), end - start - opening.size());
    ASSERT_TRUE(load(example)) << problem();
    EXPECT_EQ(saved(manager), example);
}

TEST_F(LayoutFileTest, Save_WritesTheUsualLayout_WhateverTheFileLookedLike) {
    const std::pair<std::string, std::string> cases[] = {
        {"<Display></Display>", declaration + "<Display/>\n"},
        {"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<!-- written by hand -->\r\n"
         "<Display><LayoutType Name=\"Standard\">\t<LayoutMode Name=\"Normal\"><ToolBar Title=\"Standard\">\r\n"
         "<Command SID=\"ID_FILE_OPEN\" Caption=\"Open\" BeginGroup=\"false\"/></ToolBar>"
         "</LayoutMode></LayoutType></Display>",
         declaration + R"(<Display>
  <LayoutType Name="Standard">
    <LayoutMode Name="Normal">
      <Ribbon/>
      <Menu/>
      <ToolBar Title="Standard" Position="Top">
        <Command SID="ID_FILE_OPEN" Caption="Open"/>
      </ToolBar>
    </LayoutMode>
  </LayoutType>
</Display>
)"}};
    for (const auto& [text, expected] : cases) {
        ASSERT_TRUE(load(text)) << problem();
        EXPECT_EQ(saved(manager), expected);
    }
}

// What an attribute in double quotes cannot hold as it is goes out escaped,
// so that every caption reads back as it was. (Control characters other
// than white space are left out: XML 1.0, and MSXML with it, refuses them.)
TEST_F(LayoutFileTest, Save_EscapesWhatAnAttributeCannotHold_SoEveryCaptionReadsBackAsItWas) {
    const std::string file = declaration + R"(<Display>
  <LayoutType Name="A&amp;B">
    <LayoutMode Name="Normal">
      <Ribbon>
        <Tab Id="1" Caption="a&lt;b&gt;c &quot;d&quot; 'e' &#9;f&#10;g&#13;h">
          <Group Id="2" Caption="Ünïcödé ✓ 𝄞">
            <Control SID="ID_DRAW_LINE" Caption="&amp;Line"/>
          </Group>
        </Tab>
      </Ribbon>
      <Menu/>
    </LayoutMode>
  </LayoutType>
</Display>
)";
    ASSERT_TRUE(load(file)) << problem();
    const std::string expected = replaced(
        file, "a&lt;b&gt;c &quot;d&quot; 'e' &#9;f&#10;g&#13;h", "a&lt;b>c &quot;d&quot; 'e' &#09;f&#10;g&#13;h");
    EXPECT_EQ(saved(manager), expected);
    ASSERT_TRUE(load(expected)) << problem();
    EXPECT_EQ(saved(manager), expected);
}

// Captions far longer than the blocks the text is handed on in go out
// whole, plain or escaped all along.
TEST_F(LayoutFileTest, Save_WritesCaptionsLongerThanItsBlocks_Whole) {
    const std::string plain(300000, 'p');
    std::string escaped;
    for (int i = 0; i < 50000; ++i)
        escaped += "&amp;\xc3\xa9";
    const std::string file = declaration + "<Display>\n  <LayoutType Name=\"T\">\n    <LayoutMode Name=\"Normal\">\n" +
                             "      <Ribbon>\n        <Tab Id=\"1\" Caption=\"" + plain + "\">\n" +
                             "          <Group Id=\"2\" Caption=\"" + escaped + "\"/>\n        </Tab>\n" +
                             "      </Ribbon>\n      <Menu/>\n    </LayoutMode>\n  </LayoutType>\n</Display>\n";
    ASSERT_TRUE(load(file)) << problem();
    EXPECT_EQ(saved(manager), file);
}

// --- The model read from the file -----------------------------------------------

TEST_F(LayoutFileTest, Load_ResolvesKnownSidsOnly_KeepingTheFilesCaptions_AndSharingTheTablesTexts) {
    ASSERT_TRUE(load(richLayout)) << problem();
    CCommandBars bars;
    manager.findType(L"Standard")->findLayoutMode(L"Normal")->setupTo(bars, commandTable);
    CMenuBar menu;
    bars.setMenu(menu);
    EXPECT_EQ(describe(bars.getRibbonBar()), "&Home(1)[Draw(2): Line Old curve? (3):] Ansicht <2 \"Ü\"(4)[]");
    EXPECT_EQ(describe(menu), "File[&Open... | Export[Legacy?] Empty[]] Open");
    EXPECT_EQ(describe(bars.getToolBars()[0]), "Standard: Open |Print?");
    const utility::SCommand& line = bars.getRibbonBar().getTabs()[0].getGroups()[0].getControls()[0];
    EXPECT_EQ(line.id, 200);
    EXPECT_EQ(&line.sid.str(), &commandTable.findCommand(line.sid)->sid.str())
        << "a control of a known command holds the table's SID, not a copy of its own";
    EXPECT_EQ(&line.caption.str(), &commandTable.findCommand(line.sid)->caption.str())
        << "a control showing its command's caption holds the table's, not a copy of its own";
    EXPECT_EQ(menu.findItemByPath(L"File")->getFirstChild()->getId(), 101);
}

TEST_F(LayoutFileTest, TypesModesAndOptions_AreFoundByExactName_AndSavedInFileOrder_ToLoadBackTheSameModel) {
    ASSERT_TRUE(load(richLayout)) << problem();
    std::vector<std::wstring> names{L"left over"};
    EXPECT_EQ(manager.getTypeNames(names), 2);
    EXPECT_EQ(names, (std::vector<std::wstring>{L"Standard", L"Compact"}));
    EXPECT_EQ(manager.findType(L"standard"), nullptr);
    EXPECT_NE(manager.findType(L"Standard")->findLayoutMode(L"Red"), nullptr);
    EXPECT_EQ(manager.findType(L"Standard")->findLayoutMode(L"3D"), nullptr);
    std::int32_t major = -1;
    std::int32_t minor = -1;
    EXPECT_FALSE(manager.findType(L"Standard")->findAppendOptionVersion(major, minor, L"survey"));
    EXPECT_EQ(major, -1);
    EXPECT_TRUE(manager.findType(L"Standard")->findAppendOptionVersion(major, minor, L"Survey"));
    EXPECT_EQ(major * 10 + minor, 20152);

    manager.findType(L"Standard")->setAppendOptionVersion(L"Survey", 2016, 0);
    manager.findType(L"Standard")->setAppendOptionVersion(L"Rail", 1, 3);
    manager.findType(L"Compact")->setAppendOptionVersion(L"Rail", 2, 0);
    manager.findType(L"Compact")->addLayoutMode(L"3D");
    std::string expected = replaced(richLayout, R"(Major="2015" Minor="2"/>)", R"(Major="2016" Minor="0"/>)");
    expected = replaced(expected, R"(Name="Piping" Major="0" Minor="0"/>)", R"(Name="Piping" Major="0" Minor="0"/>
    <AppendOption Name="Rail" Major="1" Minor="3"/>)");
    expected = replaced(expected, R"(<LayoutType Name="Compact"/>)", R"(<LayoutType Name="Compact">
    <AppendOption Name="Rail" Major="2" Minor="0"/>
    <LayoutMode Name="3D">
      <Ribbon/>
      <Menu/>
    </LayoutMode>
  </LayoutType>)");
    EXPECT_EQ(saved(manager), expected);

    LayoutManager reloaded;
    ASSERT_TRUE(reloaded.loadXmlFile(folder.system("Config/Saved.xml"), frame))
        << platform::toUtf8(reloaded.getLoadProblem());
    writeFile(folder.native("Config/Saved.xml"), "");
    EXPECT_EQ(saved(reloaded), expected);
}

// --- Files that are refused ---------------------------------------------------

TEST_F(LayoutFileTest, Load_RefusesAFileThatBreaksTheFormat_NamingTheFault_AndKeepsTheFileAndThePreviousModel) {
    // The content of the one "LayoutMode" of a file.
    const auto inMode = [](const std::string& content) {
        return R"(<Display><LayoutType Name="Standard"><LayoutMode Name="Normal">)" + content +
               "</LayoutMode></LayoutType></Display>";
    };
    const std::pair<std::string, std::string> cases[] = {
        {"", "not well-formed XML"},
        {R"(<Display><LayoutType Name="Standard"></Display>)", "not well-formed XML"},
        {R"(<Layout><LayoutType Name="Standard"/></Layout>)", R"(the root element is "Layout", not "Display")"},
        {R"(<Display><LayoutType/></Display>)", R"("LayoutType" needs a non-empty "Name")"},
        {R"(<Display><LayoutType Name="A"/><LayoutType Name="A"/></Display>)", R"(two layout types are named "A")"},
        {R"(<Display><LayoutType Name="A"><LayoutMode Name="3D"/><LayoutMode Name="3D"/></LayoutType></Display>)",
         R"(two modes named "3D")"},
        {R"(<Display><LayoutType Name="A"><AppendOption Name="S" Major="1" Minor="0"/>
           <AppendOption Name="S" Major="2" Minor="0"/></LayoutType></Display>)",
         R"(the option "S" is recorded twice)"},
        {R"(<Display><LayoutType Name="A"><AppendOption Name="S" Major="1"/></LayoutType></Display>)",
         R"(the "Minor" of "AppendOption" is "")"},
        {inMode(R"(<Ribbon><Tab Caption="Home"/></Ribbon>)"), R"(the "Id" of "Tab" is "")"},
        {inMode(R"(<Ribbon><Tab Id="0" Caption="Home"/></Ribbon>)"), R"(is "0", not a positive whole number)"},
        {inMode(R"(<Ribbon><Tab Id="1"><Group Id="-2"/></Tab></Ribbon>)"), R"(the "Id" of "Group" is "-2")"},
        {inMode(R"(<Ribbon><Tab Id="99999999999"/></Ribbon>)"), R"("99999999999")"},
        {inMode(R"(<Ribbon><Group Id="1"/></Ribbon>)"), R"("Group" is not allowed inside "Ribbon")"},
        {inMode(R"(<Ribbon/><Ribbon/>)"), R"(has one "Ribbon")"},
        {inMode(R"(<Menu/><Menu/>)"), R"(has one "Menu")"},
        {inMode(R"(<Menu><Popup/></Menu>)"), R"("Popup" needs a non-empty "Caption")"},
        {inMode(R"(<Menu><Command Caption="Open"/></Menu>)"), R"("Command" needs a non-empty "SID")"},
        {inMode(R"(<Menu><Separator><Command SID="X"/></Separator></Menu>)"),
         R"("Command" is not allowed inside "Separator")"},
        {inMode(R"(<ToolBar Title="Standard" Position="Middle"/>)"), R"("Middle")"},
        {inMode(R"(<ToolBar Position="Top"/>)"), R"("ToolBar" needs a non-empty "Title")"},
        {inMode(R"(<ToolBar Title="T"><Command SID="X" BeginGroup="yes"/></ToolBar>)"), R"("yes")"},
        {inMode(R"(<ToolBarOption/>)"), R"("ToolBarOption" needs a non-empty "Title")"},
        {inMode(R"(<StatusBar/>)"), R"("StatusBar" is not allowed inside "LayoutMode")"},
    };
    for (const auto& [text, fault] : cases) {
        SCOPED_TRACE(text);
        ASSERT_TRUE(load(richLayout)) << problem();
        EXPECT_FALSE(load(text));
        EXPECT_NE(problem().find("Display.xml"), std::string::npos) << problem();
        EXPECT_NE(problem().find(fault), std::string::npos) << problem();
        EXPECT_EQ(readFile(folder.native("Config/Display.xml")), text);
        std::vector<std::wstring> names;
        EXPECT_EQ(manager.getTypeNames(names), 2);
    }
    EXPECT_FALSE(manager.loadXmlFile(folder.system("Config/Missing.xml"), frame));
    EXPECT_NE(problem().find("Missing.xml"), std::string::npos) << problem();
    ASSERT_TRUE(load("<Display/>")) << problem();
    EXPECT_TRUE(problem().empty());
    std::vector<std::wstring> names;
    EXPECT_EQ(manager.getTypeNames(names), 0);
}

// --- Saving --------------------------------------------------------------------

TEST_F(LayoutFileTest, Save_ReplacesAWritableFile_AndLeavesAReadOnlyFileOrAMissingFolderAlone) {
    ASSERT_TRUE(load(richLayout)) << problem();
    writeFile(folder.native("Config/Saved.xml"), "old content");
    EXPECT_EQ(saved(manager), richLayout);
    writeFile(folder.native("Config/Locked.xml"), "old content");
    test::setReadOnly(folder.native("Config/Locked.xml"), true);
    EXPECT_FALSE(manager.saveXmlFile(folder.system("Config/Locked.xml"), commandTable));
    EXPECT_FALSE(manager.saveXmlFile(folder.system("Missing/Display.xml"), commandTable));
    EXPECT_EQ(treeOf(folder.native("Config")),
              (Tree{"Display.xml=" + richLayout, "Locked.xml=old content (read-only)", "Saved.xml=" + richLayout}));
    EXPECT_FALSE(std::filesystem::exists(folder.native("Missing")));
}

// --- Menus nested tens of thousands deep ------------------------------------------

// Far deeper than any stack holds one call per level (a Windows thread has 1 MB).
constexpr std::size_t chainLevels = 40000;

const std::string chainCommand = R"(<Command SID="ID_FILE_OPEN" Caption="Open"/>)";

// A type whose one mode has a menu of `popups` popups "P" nested in each
// other with a command at the bottom, as the model saves it: indented two
// spaces a level up to the sixteenth level, and no deeper below it.
std::string savedChain(std::size_t popups) {
    const auto line = [](std::size_t level, const std::string& element) {
        return std::string(2 * std::min<std::size_t>(level, 16), ' ') + element + "\n";
    };
    std::string text = declaration + "<Display>\n" + line(1, R"(<LayoutType Name="Standard">)") +
                       line(2, R"(<LayoutMode Name="Normal">)") + line(3, "<Ribbon/>") + line(3, "<Menu>");
    for (std::size_t level = 4; level < 4 + popups; ++level)
        text += line(level, R"(<Popup Caption="P">)");
    text += line(4 + popups, chainCommand);
    for (std::size_t level = 3 + popups; level >= 4; --level)
        text += line(level, "</Popup>");
    return text + line(3, "</Menu>") + line(2, "</LayoutMode>") + line(1, "</LayoutType>") + "</Display>\n";
}

// The same layout written on one line, with no indentation at all.
std::string bareChain(std::size_t popups) {
    std::string text = R"(<Display><LayoutType Name="Standard"><LayoutMode Name="Normal"><Menu>)";
    for (std::size_t level = 0; level < popups; ++level)
        text += R"(<Popup Caption="P">)";
    text += chainCommand;
    for (std::size_t level = 0; level < popups; ++level)
        text += "</Popup>";
    return text + "</Menu></LayoutMode></LayoutType></Display>";
}

// Equal texts; else where they part, without printing megabytes.
::testing::AssertionResult sameText(const std::string& actual, const std::string& expected) {
    if (actual == expected)
        return ::testing::AssertionSuccess();
    const auto parted = std::mismatch(actual.begin(), actual.end(), expected.begin(), expected.end());
    const std::size_t at = static_cast<std::size_t>(parted.first - actual.begin());
    const std::size_t from = at < 80 ? 0 : at - 80;
    return ::testing::AssertionFailure() << "sizes " << actual.size() << " and " << expected.size()
                                         << ", parting at byte " << at << ":\n"
                                         << actual.substr(from, 160) << "\n-- expected --\n"
                                         << expected.substr(from, 160);
}

// Wine's MSXML parses with libxml2, which refuses elements nested more than
// 256 levels deep; where the parser does, a deeper layout file is refused
// whole like any other file it cannot read.
bool parserTakesDeepDocuments() {
    const platform::ComApartment apartment;
    xml::Document document;
    std::wstring text;
    for (int level = 0; level < 300; ++level)
        text += L"<n>";
    for (int level = 0; level < 300; ++level)
        text += L"</n>";
    return apartment.ok() && xml::loadXml(document, text);
}

TEST_F(LayoutFileTest, Save_OfAMenuNestedTensOfThousandsDeep_StopsIndentingAtLevelSixteen_SoTheFileGrowsLinearly) {
    ASSERT_TRUE(load(R"(<Display><LayoutType Name="Standard"><LayoutMode Name="Normal"/></LayoutType></Display>)"))
        << problem();
    LayoutModeData& mode = *manager.findType(L"Standard")->findLayoutMode(L"Normal");
    CCommandBars bars;
    mode.setupTo(bars, commandTable);
    CMenuBar menu;
    bars.setMenu(menu);
    std::wstring path = L"P";
    for (std::size_t level = 1; level < chainLevels; ++level)
        path += L"/P";
    utility::SCommand open;
    ASSERT_GE(commandTable.GetCommand(L"ID_FILE_OPEN", open), 0);
    ASSERT_GT(menu.makeItemByPath(path)->addCommand(open), 0);
    bars.setupByMenu(menu, commandTable);
    mode.setupFrom(bars, commandTable);

    const std::string text = saved(manager);
    EXPECT_TRUE(sameText(text, savedChain(chainLevels)));
    // Each popup adds two lines of at most 32 spaces and its tag.
    EXPECT_LT(text.size(), chainLevels * 100);
}

TEST_F(LayoutFileTest, Load_OfAMenuNestedTensOfThousandsDeep_ReadsEveryLevel_AndSavesItAtMostFourTimesAsLarge) {
    const std::string bare = bareChain(chainLevels);
    if (!parserTakesDeepDocuments()) {
        ASSERT_TRUE(load(richLayout)) << problem();
        EXPECT_FALSE(load(bare));
        EXPECT_NE(problem().find("Display.xml: the file is missing, unreadable or not well-formed XML."),
                  std::string::npos)
            << problem();
        EXPECT_EQ(saved(manager), richLayout);
        return;
    }
    ASSERT_TRUE(load(bare)) << problem();
    const std::string text = saved(manager);
    EXPECT_TRUE(sameText(text, savedChain(chainLevels)));
    EXPECT_LE(text.size(), 4 * bare.size());
    // What was saved reads back, and saves again to the same bytes.
    ASSERT_TRUE(load(text)) << problem();
    EXPECT_TRUE(sameText(saved(manager), text));
}

} // namespace
} // namespace tern::layout
