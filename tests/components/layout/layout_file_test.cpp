#include "components/layout/layout_manager.h"

#include "platform/text.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_frame.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <thread>
#include <vector>

namespace tern::layout {
namespace {

using test::readFile;
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
        return manager.loadXmlFile(path(), frame);
    }
    std::wstring path() const { return folder.system("Config/Display.xml"); }
    std::string saved() { return savedBy(manager); }
    std::string savedBy(const LayoutManager& model) {
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

TEST_F(LayoutFileTest, LoadThenSave_GivesTheSameBytes_UnknownCommandsIncluded) {
    ASSERT_TRUE(load(richLayout)) << problem();
    EXPECT_EQ(saved(), richLayout);
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
    EXPECT_EQ(saved(), example);
}

TEST_F(LayoutFileTest, SavedFile_LoadsBackToTheSameModel_AfterEdits) {
    ASSERT_TRUE(load(richLayout)) << problem();
    LayoutTypeData* compact = manager.findType(L"Compact");
    compact->setAppendOptionVersion(L"Rail", 1, 3);
    compact->addLayoutMode(L"3D");
    const std::string first = saved();

    LayoutManager reloaded;
    ASSERT_TRUE(reloaded.loadXmlFile(folder.system("Config/Saved.xml"), frame))
        << platform::toUtf8(reloaded.getLoadProblem());
    std::int32_t major = 0;
    std::int32_t minor = 0;
    ASSERT_NE(reloaded.findType(L"Compact"), nullptr);
    EXPECT_TRUE(reloaded.findType(L"Compact")->findAppendOptionVersion(major, minor, L"Rail"));
    EXPECT_EQ(major, 1);
    EXPECT_EQ(minor, 3);
    EXPECT_NE(reloaded.findType(L"Compact")->findLayoutMode(L"3D"), nullptr);
    EXPECT_EQ(savedBy(reloaded), first);
    EXPECT_NE(first.find(R"(
  <LayoutType Name="Compact">
    <AppendOption Name="Rail" Major="1" Minor="3"/>
    <LayoutMode Name="3D">
      <Ribbon/>
      <Menu/>
    </LayoutMode>
  </LayoutType>
</Display>
)"),
              std::string::npos)
        << first;
}

TEST_F(LayoutFileTest, Save_WritesAnEmptyModelAsTheRootOnItsOwnLine) {
    ASSERT_TRUE(load("<Display></Display>")) << problem();
    EXPECT_EQ(saved(), declaration + "<Display/>\n");
}

TEST_F(LayoutFileTest, Load_ResolvesKnownSidsOnly_KeepingTheFilesCaptions) {
    ASSERT_TRUE(load(richLayout)) << problem();
    CCommandBars bars;
    manager.findType(L"Standard")->findLayoutMode(L"Normal")->setupTo(bars, commandTable);
    const std::vector<utility::SCommand>& controls = bars.getRibbonBar().getTabs()[0].getGroups()[0].getControls();
    ASSERT_EQ(controls.size(), 2u);
    EXPECT_EQ(controls[0].id, 200);
    EXPECT_EQ(controls[0].caption, L"Line");
    EXPECT_EQ(controls[1].id, 0);
    EXPECT_EQ(controls[1].sid, L"ID_OLD_CURVE");
    EXPECT_EQ(controls[1].caption, L"Old curve");
    CMenuBar menu;
    bars.setMenu(menu);
    EXPECT_EQ(menu.findItemByPath(L"File")->getFirstChild()->getCaption(), L"&Open...");
    EXPECT_EQ(menu.findItemByPath(L"File")->getFirstChild()->getId(), 101);
}

TEST_F(LayoutFileTest, Load_AcceptsFilesLaidOutByHandWithComments_AndSaveWritesTheUsualLayout) {
    ASSERT_TRUE(load("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<!-- written by hand -->\r\n"
                     "<Display><LayoutType Name=\"Standard\">\t<LayoutMode Name=\"Normal\">"
                     "<ToolBar Title=\"Standard\">\r\n"
                     "<Command SID=\"ID_FILE_OPEN\" Caption=\"Open\" BeginGroup=\"false\"/></ToolBar>"
                     "</LayoutMode></LayoutType></Display>"))
        << problem();
    EXPECT_EQ(saved(), declaration + R"(<Display>
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
)");
}

TEST_F(LayoutFileTest, TypesModesAndOptions_AreFoundByExactName_InFileOrder) {
    ASSERT_TRUE(load(richLayout)) << problem();
    std::vector<std::wstring> names{L"left over"};
    EXPECT_EQ(manager.getTypeNames(names), 2);
    EXPECT_EQ(names, (std::vector<std::wstring>{L"Standard", L"Compact"}));
    EXPECT_EQ(manager.findType(L"standard"), nullptr);

    LayoutTypeData* standard = manager.findType(L"Standard");
    ASSERT_NE(standard, nullptr);
    EXPECT_NE(standard->findLayoutMode(L"Red"), nullptr);
    EXPECT_EQ(standard->findLayoutMode(L"3D"), nullptr);

    std::int32_t major = -1;
    std::int32_t minor = -1;
    EXPECT_FALSE(standard->findAppendOptionVersion(major, minor, L"survey"));
    EXPECT_EQ(major, -1);
    EXPECT_TRUE(standard->findAppendOptionVersion(major, minor, L"Survey"));
    EXPECT_EQ(major, 2015);
    EXPECT_EQ(minor, 2);
    standard->setAppendOptionVersion(L"Survey", 2016, 0);
    standard->setAppendOptionVersion(L"Rail", 1, 3);
    EXPECT_NE(saved().find(R"(
    <AppendOption Name="Survey" Major="2016" Minor="0"/>
    <AppendOption Name="Piping" Major="0" Minor="0"/>
    <AppendOption Name="Rail" Major="1" Minor="3"/>
    <LayoutMode Name="Normal">)"),
              std::string::npos);
}

// COM is open per thread, and a new thread has none: only a reader and a
// writer that open their own apartment can do their work there.
TEST_F(LayoutFileTest, LoadAndSave_WorkOnAThreadWithoutCom) {
    writeFile(folder.native("Config/Display.xml"), richLayout);
    bool loaded = false;
    bool written = false;
    std::thread([&] {
        loaded = manager.loadXmlFile(path(), frame);
        written = manager.saveXmlFile(folder.system("Config/Saved.xml"), commandTable);
    }).join();
    EXPECT_TRUE(loaded) << problem();
    EXPECT_TRUE(written);
    EXPECT_EQ(readFile(folder.native("Config/Saved.xml")), richLayout);
}

// --- Files that are refused ---------------------------------------------------

TEST_F(LayoutFileTest, Load_Fails_WhenTheFileIsMissing) {
    EXPECT_FALSE(manager.loadXmlFile(folder.system("Config/Missing.xml"), frame));
    EXPECT_NE(problem().find("Missing.xml"), std::string::npos) << problem();
}

TEST_F(LayoutFileTest, Load_FailsAndLeavesTheFileAlone_WhenItIsNotWellFormedOrNotADisplay) {
    for (const std::string& text : {std::string("<Display><LayoutType Name=\"Standard\"></Display>"),
                                    std::string("<Layout><LayoutType Name=\"Standard\"/></Layout>"), std::string()}) {
        EXPECT_FALSE(load(text)) << text;
        EXPECT_FALSE(problem().empty());
        EXPECT_EQ(readFile(folder.native("Config/Display.xml")), text);
    }
    EXPECT_NE(problem().find("Display.xml"), std::string::npos) << problem();
}

TEST_F(LayoutFileTest, Load_KeepsThePreviousModel_WhenTheNewFileIsRefused) {
    ASSERT_TRUE(load(richLayout)) << problem();
    EXPECT_FALSE(load("<Display><LayoutType/></Display>"));
    std::vector<std::wstring> names;
    EXPECT_EQ(manager.getTypeNames(names), 2);

    ASSERT_TRUE(load("<Display/>")) << problem();
    EXPECT_TRUE(problem().empty());
    EXPECT_EQ(manager.getTypeNames(names), 0);
}

struct RefusedCase {
    const char* mode;    // the content of the one "LayoutMode" of the file
    const char* problem; // what the reason must say
};

class RefusedLayout : public LayoutFileTest, public ::testing::WithParamInterface<RefusedCase> {};

TEST_P(RefusedLayout, Load_FailsWithAReasonNamingTheFault) {
    EXPECT_FALSE(load(std::string(R"(<Display><LayoutType Name="Standard"><LayoutMode Name="Normal">)") +
                      GetParam().mode + "</LayoutMode></LayoutType></Display>"));
    EXPECT_NE(problem().find(GetParam().problem), std::string::npos) << problem();
}

INSTANTIATE_TEST_SUITE_P(
    LayoutFileTest, RefusedLayout,
    ::testing::Values(
        RefusedCase{R"(<Ribbon><Tab Caption="Home"/></Ribbon>)", R"(the "Id" of "Tab" is "")"},
        RefusedCase{R"(<Ribbon><Tab Id="0" Caption="Home"/></Ribbon>)", R"(is "0", not a positive whole number)"},
        RefusedCase{R"(<Ribbon><Tab Id="1"><Group Id="-2"/></Tab></Ribbon>)", R"(the "Id" of "Group" is "-2")"},
        RefusedCase{R"(<Ribbon><Tab Id="99999999999"/></Ribbon>)", R"("99999999999")"},
        RefusedCase{R"(<Ribbon><Group Id="1"/></Ribbon>)", R"("Group" is not allowed inside "Ribbon")"},
        RefusedCase{R"(<Ribbon/><Ribbon/>)", R"(has one "Ribbon")"},
        RefusedCase{R"(<Menu/><Menu/>)", R"(has one "Menu")"},
        RefusedCase{R"(<Menu><Popup/></Menu>)", R"("Popup" needs a non-empty "Caption")"},
        RefusedCase{R"(<Menu><Command Caption="Open"/></Menu>)", R"("Command" needs a non-empty "SID")"},
        RefusedCase{R"(<Menu><Separator><Command SID="X"/></Separator></Menu>)",
                    R"("Command" is not allowed inside "Separator")"},
        RefusedCase{R"(<ToolBar Title="Standard" Position="Middle"/>)", R"("Middle")"},
        RefusedCase{R"(<ToolBar Position="Top"/>)", R"("ToolBar" needs a non-empty "Title")"},
        RefusedCase{R"(<ToolBar Title="T"><Command SID="X" BeginGroup="yes"/></ToolBar>)", R"("yes")"},
        RefusedCase{R"(<ToolBarOption/>)", R"("ToolBarOption" needs a non-empty "Title")"},
        RefusedCase{R"(<StatusBar/>)", R"("StatusBar" is not allowed inside "LayoutMode")"}));

TEST_F(LayoutFileTest, Load_RefusesRepeatedTypesModesAndOptions) {
    EXPECT_FALSE(load(R"(<Display><LayoutType Name="A"/><LayoutType Name="A"/></Display>)"));
    EXPECT_NE(problem().find(R"(two layout types are named "A")"), std::string::npos) << problem();
    EXPECT_FALSE(load(R"(<Display><LayoutType Name="A"><LayoutMode Name="3D"/><LayoutMode Name="3D"/></LayoutType>
        </Display>)"));
    EXPECT_NE(problem().find(R"(two modes named "3D")"), std::string::npos) << problem();
    EXPECT_FALSE(load(R"(<Display><LayoutType Name="A"><AppendOption Name="S" Major="1" Minor="0"/>
        <AppendOption Name="S" Major="2" Minor="0"/></LayoutType></Display>)"));
    EXPECT_NE(problem().find(R"(the option "S" is recorded twice)"), std::string::npos) << problem();
    EXPECT_FALSE(load(R"(<Display><LayoutType Name="A"><AppendOption Name="S" Major="1"/></LayoutType></Display>)"));
    EXPECT_NE(problem().find(R"(the "Minor" of "AppendOption" is "")"), std::string::npos) << problem();
}

// --- Saving --------------------------------------------------------------------

TEST_F(LayoutFileTest, Save_ReplacesAnExistingFile) {
    ASSERT_TRUE(load(richLayout)) << problem();
    writeFile(folder.native("Config/Saved.xml"), "old content");
    EXPECT_EQ(saved(), richLayout);
}

TEST_F(LayoutFileTest, Save_FailsAndKeepsTheOldFile_WhenItIsReadOnly) {
    ASSERT_TRUE(load(richLayout)) << problem();
    writeFile(folder.native("Config/Saved.xml"), "old content");
    test::setReadOnly(folder.native("Config/Saved.xml"), true);
    EXPECT_FALSE(manager.saveXmlFile(folder.system("Config/Saved.xml"), commandTable));
    EXPECT_EQ(readFile(folder.native("Config/Saved.xml")), "old content");
    EXPECT_TRUE(test::isReadOnly(folder.native("Config/Saved.xml")));
}

TEST_F(LayoutFileTest, Save_Fails_WhenTheFolderDoesNotExist) {
    ASSERT_TRUE(load(richLayout)) << problem();
    EXPECT_FALSE(manager.saveXmlFile(folder.system("Missing/Display.xml"), commandTable));
    EXPECT_FALSE(std::filesystem::exists(folder.native("Missing")));
}

} // namespace
} // namespace tern::layout
