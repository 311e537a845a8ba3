// What CUpdater::run tells the host's run report, on real folder trees:
// every folder made, file copied, skipped, replaced, deleted or left,
// question answered, setting edit applied or not, and why; every refusal
// with its cause; the result. Whole lists of events are compared.

#include "components/utility/command_table.h"
#include "host/user_questions.h"
#include "platform/fault_injection.h"
#include "platform/file_system.h"
#include "platform/text.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_frame.h"
#include "tests/update/run_recorder.h"
#include "update/setting/setting_item_table.h"
#include "update/update_data.h"
#include "update/updater.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

namespace tern::update {
namespace {

namespace fs = std::filesystem;
using test::readFile;
using test::RunRecorder;
using test::TempFolder;
using test::writeFile;
using Lines = std::vector<std::string>;

// Answers the questions from a list; a question beyond it fails the test.
class Answers : public core::IUserQuestions {
public:
    explicit Answers(std::vector<std::string> answers) : answers(std::move(answers)) { core::setUserQuestions(this); }
    ~Answers() override { core::setUserQuestions(nullptr); }
    bool askYesNo(core::Question, const std::wstring&) override { return take() == "yes"; }
    int chooseInheritedProduct(std::int32_t& selection) override {
        const std::string answer = take();
        if (answer == "cancel")
            return 2;
        selection = std::stoi(answer);
        return 1;
    }

private:
    std::string take() {
        if (next == answers.size()) {
            ADD_FAILURE() << "a question more than the answers";
            return "yes";
        }
        return answers[next++];
    }
    std::vector<std::string> answers;
    std::size_t next = 0;
};

const std::string appData = "root/PLX/OrvoLumen/OrvoLumen/2016_x64/";
const std::string userData = "root/UserData/2016_x64/";
const std::string inheritQuestion = "questionAsked [以前の設定を引き継ぎますか？]";

Lines operator+(Lines first, const Lines& second) {
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

// The two release folders made where their parents exist, then their fixed
// sub-folders, in the order a run makes them.
Lines releaseFoldersMade() {
    Lines lines{"folderMade " + appData, "folderMade " + userData};
    for (const char* sub : {"Config", "InitialConfig"})
        lines.push_back("folderMade " + appData + sub);
    for (const char* sub : {"WorkData", "Temporary", "BackUp", "Templates", "Templates/Layer"})
        lines.push_back("folderMade " + userData + sub);
    return lines;
}

// The folders a run makes in an empty profile, ancestors first.
Lines foldersOfAnEmptyProfile() {
    Lines lines{"folderMade root/", "folderMade root/PLX/", "folderMade root/PLX/OrvoLumen/",
                "folderMade root/PLX/OrvoLumen/OrvoLumen/"};
    Lines release = releaseFoldersMade();
    lines.push_back(release[0]);
    lines.push_back("folderMade root/UserData/");
    lines.insert(lines.end(), release.begin() + 1, release.end());
    return lines;
}

const std::string stampWritten = "fileWritten " + appData + "version.xml <- install/ja/version.xml";
const std::string shippedSettingCopied =
    "fileCopied " + appData + "InitialConfig/Draw_Common.xml <- install/Config/InitialSet/Draw_Common.xml";
const std::string shippedTemplateCopied =
    "fileCopied " + userData + "Templates/Layer/Standard.xml <- install/Templates/Layer/Standard.xml";

class RunReportTest : public ::testing::Test {
protected:
    void SetUp() override {
        writeFile(temp.native("install/ja/version.xml"), "<Versions><Main>2016.1</Main></Versions>");
        writeFile(temp.native("install/Config/InitialSet/Draw_Common.xml"), "<DrawCommon/>");
        writeFile(temp.native("install/Templates/Layer/Standard.xml"), "<LayerTemplate Name=\"new\"/>");
        writeFile(temp.native("install/Config/Commands.xml"),
                  R"(<Commands><Command SID="ID_DRAW_LINE" Id="200" Caption="Line"/>
<Command SID="ID_DRAW_ARC" Id="201" Caption="Arc"/></Commands>)");
        std::wstring problem;
        ASSERT_TRUE(commands.load(temp.system("install/Config/Commands.xml"), problem));
        frame.commandTable = &commands;
        // The entries after 2015.0 apply oldest first: 2016.0 adds a grid
        // once, 2016.1 finds it there and misses a node.
        writeFile(temp.native("Update.xml"), R"(<Update_Data>
<Update ver="2016.1"><Layout/><Setting Path="Config\Marker.xml">
  <IfN XPath="/Marker/Grid"><AddNode XPath="/Marker"><Grid On="1"/></AddNode></IfN>
  <AddNode XPath="/Marker/Missing"><X/></AddNode></Setting></Update>
<Update ver="2016.0"><Layout/><Setting Path="Config\Marker.xml">
  <IfN XPath="/Marker/Grid"><AddNode XPath="/Marker"><Grid On="2"/></AddNode></IfN></Setting></Update>
<Update ver="2015.0"><Layout/></Update>
</Update_Data>)");
        useFolders(appData, userData);
    }

    void useFolders(const std::string& app, const std::string& user) {
        frame.installFolder = frame.resourceFolder = temp.system("install/");
        frame.appDataFolder = temp.system(app);
        frame.userDataFolder = temp.system(user);
        frame.settingFolder = frame.appDataFolder + L"Config\\";
        frame.initialConfigFolder = frame.appDataFolder + L"InitialConfig\\";
        frame.templateFolder = frame.userDataFolder + L"Templates\\";
    }

    // Release 2015's folders, as its last start left them.
    void previousRelease() {
        const std::string app = "root/PLX/OrvoLumen/OrvoLumen/2015_x64/";
        writeFile(temp.native(app + "version.xml"), "<Versions><Main>2015.0</Main></Versions>");
        writeFile(temp.native(app + "Config/Display.xml"), R"(<Display><LayoutType Name="Standard">
<LayoutMode Name="Normal"><ToolBar Title="Standard"><Command SID="ID_DRAW_LINE"/></ToolBar></LayoutMode>
</LayoutType></Display>)");
        writeFile(temp.native(app + "Config/Marker.xml"), "<Marker/>");
        writeFile(temp.native("root/UserData/2015_x64/WorkData/Site.xml"), "<Site/>");
        writeFile(temp.native("root/UserData/2015_x64/Templates/Layer/Mine.xml"), "<LayerTemplate/>");
    }

    int run(const wchar_t* definition) { return updater.run(definition, frame, true); }
    int run() { return run(temp.system("Update.xml").c_str()); }

    TempFolder temp;
    utility::CCommandTable commands;
    test::TestFrame frame;
    CUpdater updater;
    RunRecorder recorder{temp};
};

TEST_F(RunReportTest, FirstRunOnAnEmptyProfile_TellsEachFolderMade_TheStamp_AndEachShippedFileCopied) {
    const Answers none({});
    EXPECT_EQ(run(), 1);
    EXPECT_EQ(recorder.take(), (foldersOfAnEmptyProfile() +
                                Lines{stampWritten, shippedSettingCopied, shippedTemplateCopied, "finished = 1"}));
}

TEST_F(RunReportTest, SecondRun_FindsEverythingInPlace_AndTellsEachShippedFileSkipped) {
    const Answers none({});
    ASSERT_EQ(run(), 1);
    recorder.take();
    EXPECT_EQ(run(), 0);
    EXPECT_EQ(recorder.take(),
              (Lines{"fileSkipped " + appData +
                         "InitialConfig/Draw_Common.xml <- install/Config/InitialSet/Draw_Common.xml (it exists already)",
                     "fileSkipped " + userData +
                         "Templates/Layer/Standard.xml <- install/Templates/Layer/Standard.xml (it exists already and "
                         "is not older than the shipped template)",
                     "finished = 0"}));
}

// The layout items are another report's subject: only the rest is compared.
TEST_F(RunReportTest, Inheriting_TellsTheQuestion_TheSettingEdits_AndWhatTheTransferCopiedOrSkipped) {
    previousRelease();
    const Answers yes({"yes"});
    EXPECT_EQ(run(), 1);
    Lines lines = recorder.take();
    lines.erase(std::remove_if(lines.begin(), lines.end(),
                               [](const std::string& line) { return line.rfind("layoutItem", 0) == 0; }),
                lines.end());
    const std::string marker = appData + "Config/Marker.xml";
    EXPECT_EQ(lines, (releaseFoldersMade() +
                         Lines{inheritQuestion + " = yes",
                            "settingEditApplied " + marker + " [/Marker] = <Grid On=\"2\"/>",
                            "fileWritten " + marker,
                            "settingEditNotApplied " + marker +
                                " [/Marker/Grid] (the XPath selects a node already: the edits inside are not applied)",
                            "settingEditNotApplied " + marker + " [/Marker/Missing] (no node matches the XPath)",
                            "fileSkipped " + appData + "Config/Display.xml <- root/PLX/OrvoLumen/OrvoLumen/2015_x64/"
                                                       "Config/Display.xml (the layout update carries the layout file forward)",
                            "fileSkipped " + marker + " <- root/PLX/OrvoLumen/OrvoLumen/2015_x64/Config/Marker.xml (it "
                                                      "exists already)",
                            "fileCopied " + userData + "WorkData/Site.xml <- root/UserData/2015_x64/WorkData/Site.xml",
                            "fileCopied " + userData +
                                "Templates/Layer/Mine.xml <- root/UserData/2015_x64/Templates/Layer/Mine.xml",
                            stampWritten, shippedSettingCopied, shippedTemplateCopied, "finished = 1"}));
}

} // namespace
} // namespace tern::update
