// Appender::run on real layout files and command tables: once per option
// version, per layout type, oldest entry first, nothing written when nothing
// changed.

#include "components/layout/layout_manager.h"
#include "components/utility/command_table.h"
#include "components/utility/xml.h"
#include "option/appender.h"
#include "platform/text.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_frame.h"
#include "update/layout/layout_table.h"

#include <gtest/gtest.h>

#include <typeinfo>

namespace tern::option {
namespace {

namespace fs = std::filesystem;
namespace xml = utility::xml;
using test::readFile;
using test::TempFolder;
using test::writeFile;

const char* const commandsXml = R"(<Commands>
  <Command SID="ID_DRAW_LINE" Id="32771" Caption="Line"/>
  <Command SID="ID_DRAW_ARC" Id="32773" Caption="Arc"/>
  <Command SID="ID_DRAW_POLYGON" Id="32774" Caption="Polygon"/>
  <Command SID="ID_VIEW_ORBIT" Id="32802" Caption="Orbit"/>
</Commands>
)";

// Two layout types: "Standard" with a normal and a 3D mode, "Compact" with a
// normal mode only. `records` goes into "Standard" (AppendOption elements).
std::string layoutXml(const std::string& records = "") {
    const std::string normalMode = R"(
    <LayoutMode Name="Normal">
      <Ribbon>
        <Tab Id="1" Caption="Home">
          <Group Id="2" Caption="Draw">
            <Control SID="ID_DRAW_LINE" Caption="Line"/>
          </Group>
        </Tab>
      </Ribbon>
      <Menu>
        <Popup Caption="Draw">
          <Command SID="ID_DRAW_LINE" Caption="Line"/>
        </Popup>
      </Menu>
    </LayoutMode>)";
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Display>\n  <LayoutType Name=\"Standard\">" + records +
           normalMode + R"(
    <LayoutMode Name="3D">
      <Ribbon>
        <Tab Id="1" Caption="Home">
          <Group Id="2" Caption="Draw">
            <Control SID="ID_VIEW_ORBIT" Caption="Orbit"/>
          </Group>
        </Tab>
      </Ribbon>
      <Menu/>
    </LayoutMode>
  </LayoutType>
  <LayoutType Name="Compact">)" +
           normalMode + "\n  </LayoutType>\n</Display>\n";
}

// An option definition whose entries put one command each first into the
// normal mode's "Home"/"Draw" group, newest entry first.
std::string optionXml(const std::vector<std::pair<std::string, std::string>>& versionAndSid) {
    std::string entries;
    for (const auto& [version, sid] : versionAndSid)
        entries += "  <Update ver=\"" + version + "\"><Layout><Command SID=\"" + sid +
                   "\"><Ribbon Tab=\"Home\" Group=\"Draw\" Pos=\"First\"/></Command></Layout></Update>\n";
    return "<Option_Data>\n" + entries + "</Option_Data>\n";
}

struct InspectableAppender : Appender {
    using Appender::tables;
    using Appender::updates;
};

class AppenderTest : public ::testing::Test {
protected:
    void SetUp() override {
        writeFile(temp.native("Commands.xml"), commandsXml);
        std::wstring problem;
        ASSERT_TRUE(commands.load(temp.system("Commands.xml"), problem)) << platform::toUtf8(problem);
        frame.commandTable = &commands;
        frame.layoutManager = &model;
        frame.appDataFolder = temp.system("user/");
    }

    void useLayout(const std::string& content) {
        writeFile(layoutFile(), content);
        ASSERT_TRUE(model.loadXmlFile(temp.system("user/Config/Display.xml"), frame));
    }
    void useOption(const std::string& content) { writeFile(temp.native("Option.xml"), content); }

    int run(const std::wstring& name = L"Survey") {
        return appender.run(name.c_str(), temp.system("Option.xml").c_str(), temp.system("user/").c_str(), model,
                            commands);
    }

    fs::path layoutFile() const { return temp.native("user/Config/Display.xml"); }

    // The SIDs of the "Draw" group of a type's mode in the saved file, in order.
    std::vector<std::wstring> savedDrawGroup(const std::wstring& type, const std::wstring& mode = L"Normal") {
        xml::Document document;
        xml::Element root;
        EXPECT_TRUE(xml::load(document, temp.system("user/Config/Display.xml"), false));
        xml::getRootElement(root, document);
        xml::Node group;
        std::vector<std::wstring> sids;
        if (!xml::selectSingleNode(group, root,
                                   L"LayoutType[@Name='" + type + L"']/LayoutMode[@Name='" + mode +
                                       L"']/Ribbon/Tab[@Caption='Home']/Group[@Caption='Draw']"))
            return sids;
        for (xml::Node child = group.firstChild(); child; child = child.nextSibling()) {
            std::wstring sid;
            if (child.isElement() && xml::readAttributeText(sid, child.asElement(), L"SID"))
                sids.push_back(sid);
        }
        return sids;
    }

    std::pair<int, int> recorded(const std::wstring& type, const std::wstring& option = L"Survey") {
        std::int32_t major = -1, minor = -1;
        const layout::LayoutTypeData* data = model.findType(type);
        if (!data || !data->findAppendOptionVersion(major, minor, option))
            return {-1, -1};
        return {major, minor};
    }

    TempFolder temp;
    utility::CCommandTable commands;
    layout::LayoutManager model;
    test::TestFrame frame;
    InspectableAppender appender;
};

using Sids = std::vector<std::wstring>;

TEST_F(AppenderTest, FirstRun_AppliesEveryEntryToEveryType_SecondRunLeavesTheFileAsItWas) {
    useLayout(layoutXml());
    useOption(optionXml({{"1.1", "ID_DRAW_ARC"}, {"1.0", "ID_DRAW_POLYGON"}}));
    EXPECT_EQ(run(), 1);
    // Oldest first: 1.0 puts Polygon first, then 1.1 puts Arc before it.
    EXPECT_EQ(savedDrawGroup(L"Standard"), (Sids{L"ID_DRAW_ARC", L"ID_DRAW_POLYGON", L"ID_DRAW_LINE"}));
    EXPECT_EQ(savedDrawGroup(L"Compact"), (Sids{L"ID_DRAW_ARC", L"ID_DRAW_POLYGON", L"ID_DRAW_LINE"}));
    EXPECT_EQ(savedDrawGroup(L"Standard", L"3D"), (Sids{L"ID_VIEW_ORBIT"}));
    EXPECT_EQ(recorded(L"Standard"), std::make_pair(1, 1));
    EXPECT_EQ(recorded(L"Compact"), std::make_pair(1, 1));
    EXPECT_NE(readFile(layoutFile()).find("<AppendOption Name=\"Survey\" Major=\"1\" Minor=\"1\"/>"),
              std::string::npos);

    const std::string saved = readFile(layoutFile());
    fs::last_write_time(layoutFile(), fs::last_write_time(layoutFile()) - std::chrono::hours(1));
    const auto written = fs::last_write_time(layoutFile());
    InspectableAppender again;
    EXPECT_EQ(again.run(L"Survey", temp.system("Option.xml").c_str(), temp.system("user/").c_str(), model, commands),
              0);
    EXPECT_EQ(readFile(layoutFile()), saved);
    EXPECT_EQ(fs::last_write_time(layoutFile()), written);
}

TEST_F(AppenderTest, EachType_TakesOnlyTheEntriesNewerThanItsOwnRecordOfThisOption) {
    useLayout(layoutXml("\n    <AppendOption Name=\"Other\" Major=\"9\" Minor=\"9\"/>"
                        "\n    <AppendOption Name=\"Survey\" Major=\"1\" Minor=\"0\"/>"));
    useOption(optionXml({{"1.1", "ID_DRAW_ARC"}, {"1.0", "ID_DRAW_POLYGON"}}));
    EXPECT_EQ(run(), 1);
    EXPECT_EQ(savedDrawGroup(L"Standard"), (Sids{L"ID_DRAW_ARC", L"ID_DRAW_LINE"}));
    EXPECT_EQ(savedDrawGroup(L"Compact"), (Sids{L"ID_DRAW_ARC", L"ID_DRAW_POLYGON", L"ID_DRAW_LINE"}));
    EXPECT_EQ(recorded(L"Standard"), std::make_pair(1, 1));
    EXPECT_EQ(recorded(L"Standard", L"Other"), std::make_pair(9, 9));
}

TEST_F(AppenderTest, Entries_AreAppliedFromTheLastChildToTheFirst) {
    useLayout(layoutXml());
    // Listed oldest first: the 2.0 entry, standing last, is applied first.
    useOption(optionXml({{"1.0", "ID_DRAW_POLYGON"}, {"2.0", "ID_DRAW_ARC"}}));
    EXPECT_EQ(run(), 1);
    EXPECT_EQ(savedDrawGroup(L"Compact"), (Sids{L"ID_DRAW_POLYGON", L"ID_DRAW_ARC", L"ID_DRAW_LINE"}));
    EXPECT_EQ(recorded(L"Compact"), std::make_pair(2, 0));
}

TEST_F(AppenderTest, BareLayouts_StandAtZero_AndApplyOnlyWhereNothingIsRecorded) {
    useLayout(layoutXml("\n    <AppendOption Name=\"Survey\" Major=\"0\" Minor=\"0\"/>"));
    useOption("<Option_Data><Layout><Command SID=\"ID_DRAW_ARC\"><Ribbon Tab=\"Home\" Group=\"Draw\"/></Command>"
              "</Layout></Option_Data>");
    EXPECT_EQ(run(), 1);
    EXPECT_EQ(savedDrawGroup(L"Standard"), (Sids{L"ID_DRAW_LINE"}));
    EXPECT_EQ(savedDrawGroup(L"Compact"), (Sids{L"ID_DRAW_LINE", L"ID_DRAW_ARC"}));
    EXPECT_EQ(recorded(L"Compact"), std::make_pair(0, 0));

    EXPECT_EQ(run(), 0);
}

TEST_F(AppenderTest, DefinitionsThatChangeNothing_WriteNothing_AndRecordOnlyWhatTheyRead) {
    const std::pair<std::string, std::pair<int, int>> cases[] = {
        {"<Option_Data><Other/></Option_Data>", {-1, -1}},
        {"<Update_Data/>", {-1, -1}},
        // The second entry has no version: the whole file is rejected.
        {"<Option_Data><Update ver=\"1.1\"><Layout><Command SID=\"ID_DRAW_ARC\"><Ribbon Tab=\"Home\" "
         "Group=\"Draw\"/></Command></Layout></Update><Update><Layout/></Update></Option_Data>",
         {-1, -1}},
        // The command is in place already; the version is recorded all the same.
        {optionXml({{"1.0", "ID_DRAW_LINE"}}), {1, 0}},
    };
    for (const auto& [option, record] : cases) {
        useLayout(layoutXml());
        useOption(option);
        EXPECT_EQ(run(), 0) << option;
        EXPECT_EQ(recorded(L"Compact"), record) << option;
        EXPECT_EQ(readFile(layoutFile()), layoutXml()) << option;
    }
}

TEST_F(AppenderTest, TypesLackingModes_GetTablesOnlyForTheModesTheyHave) {
    useLayout(layoutXml());
    useOption(optionXml({{"1.0", "ID_DRAW_POLYGON"}}));
    ASSERT_EQ(run(), 1);
    std::vector<std::pair<std::wstring, std::wstring>> made;
    for (const auto* table : appender.tables)
        made.emplace_back(table->typeName, table->modeName);
    EXPECT_EQ(made, (std::vector<std::pair<std::wstring, std::wstring>>{
                        {L"Standard", L"Normal"}, {L"Standard", L"3D"}, {L"Compact", L"Normal"}}));
}

TEST_F(AppenderTest, BadArguments_AreRefused) {
    useLayout(layoutXml());
    useOption(optionXml({{"1.0", "ID_DRAW_POLYGON"}}));
    const std::wstring option = temp.system("Option.xml"), folder = temp.system("user/");
    EXPECT_EQ(appender.run(nullptr, option.c_str(), folder.c_str(), model, commands), -1);
    EXPECT_EQ(appender.run(L"", option.c_str(), folder.c_str(), model, commands), -1);
    EXPECT_EQ(appender.run(L"Survey", L"", folder.c_str(), model, commands), -1);
    EXPECT_EQ(appender.run(L"Survey", option.c_str(), nullptr, model, commands), -1);
    EXPECT_EQ(appender.run(L"Survey", option.c_str(), temp.system("absent/").c_str(), model, commands), -1);
    EXPECT_EQ(appender.run(L"Survey", temp.system("absent.xml").c_str(), folder.c_str(), model, commands), 0);
    EXPECT_EQ(appender.run(L"Survey", folder.c_str(), folder.c_str(), model, commands), 0);
    EXPECT_EQ(readFile(layoutFile()), layoutXml());
}

TEST_F(AppenderTest, PathsOverTheLimit_AreRefused_AtTheirOwnLevel) {
    useLayout(layoutXml());
    // A folder path of exactly 260 characters passes; one of 261 does not.
    const std::wstring base = temp.system("user/");
    const std::string pad(260 - base.size() - 1, 'f');
    fs::create_directories(temp.native("user/" + pad));
    const std::wstring folder260 = base + platform::fromUtf8(pad) + L"\\";
    ASSERT_EQ(folder260.size(), 260u);
    writeFile(temp.native("user/" + pad + "/Config/Display.xml"), layoutXml());
    useOption(optionXml({{"1.0", "ID_DRAW_POLYGON"}}));
    EXPECT_EQ(appender.run(L"Survey", temp.system("Option.xml").c_str(), folder260.c_str(), model, commands), 1);

    const std::wstring folder261 = base + platform::fromUtf8(pad) + L"x\\";
    fs::create_directories(temp.native("user/" + pad + "x"));
    EXPECT_EQ(appender.run(L"Survey", temp.system("Option.xml").c_str(), folder261.c_str(), model, commands), -1);

    const std::string longName(261 - temp.system().size(), 'd');
    writeFile(temp.native(longName), optionXml({{"9.0", "ID_DRAW_ARC"}}));
    EXPECT_EQ(temp.system(longName).size(), 261u);
    EXPECT_EQ(appender.run(L"Survey", temp.system(longName).c_str(), base.c_str(), model, commands), 0);
}

TEST_F(AppenderTest, LayoutFileThatCannotBeWritten_IsLeftAsItWas) {
    useLayout(layoutXml());
    useOption(optionXml({{"1.0", "ID_DRAW_POLYGON"}}));
    test::setReadOnly(layoutFile(), true);
    EXPECT_EQ(run(), 0);
    EXPECT_EQ(readFile(layoutFile()), layoutXml());
    // The host's model keeps the edits and the recorded version.
    EXPECT_EQ(recorded(L"Compact"), std::make_pair(1, 0));
}

TEST_F(AppenderTest, FrameForm_UsesTheFramesFolderModelAndCommands) {
    useLayout(layoutXml());
    useOption(optionXml({{"1.0", "ID_DRAW_POLYGON"}}));
    EXPECT_EQ(appender.run(L"Survey", temp.system("Option.xml").c_str(), frame), 1);
    EXPECT_EQ(savedDrawGroup(L"Compact"), (Sids{L"ID_DRAW_POLYGON", L"ID_DRAW_LINE"}));
    frame.appDataFolder.clear();
    EXPECT_EQ(appender.run(L"Survey", temp.system("Option.xml").c_str(), frame), -1);
}

// Far deeper than any stack holds one call per level: a Windows main thread
// has 1 MB, which 4,400 levels exhausted when the menus were copied by recursion.
TEST_F(AppenderTest, AMenuPathTensOfThousandsOfStepsDeep_IsMadeAndSaved_InAFileThatGrowsWithThePath) {
    const std::size_t steps = 40000;
    std::string path = "P";
    for (std::size_t step = 1; step < steps; ++step)
        path += "/P";
    useLayout(layoutXml());
    useOption(R"(<Option_Data><Update ver="1.0"><Layout><Command SID="ID_DRAW_ARC"><Menu Path=")" + path +
              R"(" MakePos="true"/></Command><MakePopupMenu Path=")" + path +
              R"(" Name="Deepest"/></Layout></Update></Option_Data>)");
    EXPECT_EQ(run(), 1);

    // Both normal modes got the chain; its bottom is indented as the sixteenth level.
    const std::string saved = readFile(layoutFile());
    std::size_t popups = 0;
    for (std::size_t at = saved.find("<Popup Caption=\"P\">"); at != std::string::npos;
         at = saved.find("<Popup Caption=\"P\">", at + 1))
        ++popups;
    EXPECT_EQ(popups, 2 * steps);
    const std::string indent = "\n" + std::string(32, ' ');
    const std::string bottom =
        indent + "<Command SID=\"ID_DRAW_ARC\" Caption=\"Arc\"/>" + indent + "<Popup Caption=\"Deepest\"/>";
    const std::size_t first = saved.find(bottom);
    ASSERT_NE(first, std::string::npos);
    EXPECT_NE(saved.find(bottom, first + 1), std::string::npos);
    // Each popup adds two lines of at most 32 spaces and its tag.
    EXPECT_LT(saved.size(), layoutXml().size() + 2 * steps * 100);

    InspectableAppender again;
    EXPECT_EQ(again.run(L"Survey", temp.system("Option.xml").c_str(), temp.system("user/").c_str(), model, commands),
              0);
    EXPECT_EQ(readFile(layoutFile()), saved);
}

TEST_F(AppenderTest, AForeignLayoutManager_RaisesBadCast) {
    struct ForeignManager : layout::ILayoutManager {} foreign;
    useLayout(layoutXml());
    useOption(optionXml({{"1.0", "ID_DRAW_POLYGON"}}));
    EXPECT_THROW(appender.run(L"Survey", temp.system("Option.xml").c_str(), temp.system("user/").c_str(), foreign,
                              commands),
                 std::bad_cast);
}

} // namespace
} // namespace tern::option
