// What CUpdater::run tells the host's run report, on real folder trees:
// every folder made, file copied, skipped, replaced, deleted or left,
// question answered, setting edit applied or not, and why; every refusal
// with its cause; the result. Whole lists of events are compared.

#include "components/utility/command_table.h"
#include "components/utility/xml.h"
#include "host/user_questions.h"
#include "platform/fault_injection.h"
#include "platform/file_system.h"
#include "platform/text.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_frame.h"
#include "tests/update/run_recorder.h"
#include "update/folder_tree.h"
#include "update/setting/setting_item_table.h"
#include "update/update_data.h"
#include "update/updater.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <optional>

namespace tern::update {
namespace {

namespace fs = std::filesystem;
using test::readFile;
using test::RunRecorder;
using test::TempFolder;
using test::writeFile;
using Lines = std::vector<std::string>;

// Answers the questions from a list; a question beyond it gets `otherwise`,
// or fails the test when that is empty.
class Answers : public core::IUserQuestions {
public:
    explicit Answers(std::vector<std::string> answers, std::string otherwise = {})
        : answers(std::move(answers)), otherwise(std::move(otherwise)) {
        core::setUserQuestions(this);
    }
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
        if (next < answers.size())
            return answers[next++];
        if (otherwise.empty())
            ADD_FAILURE() << "a question more than the answers";
        return otherwise;
    }
    std::vector<std::string> answers;
    std::string otherwise;
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

struct ReportedUpdater : CUpdater {
    using CUpdater::forceDeleteLayerTemplates;
};

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
        frame.useFolders(temp.system("install/"), temp.system(app), temp.system(user));
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
    ReportedUpdater updater;
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
    EXPECT_EQ(
        recorder.take(),
        (Lines{"fileSkipped " + appData +
                   "InitialConfig/Draw_Common.xml <- install/Config/InitialSet/Draw_Common.xml (it exists already)",
               "fileSkipped " + userData +
                   "Templates/Layer/Standard.xml <- install/Templates/Layer/Standard.xml (it exists already and "
                   "is not older than the shipped template)",
               "finished = 0"}));
}

// Shipped files new to the user and files the user has are told in the
// order of the shipped folder, however the copies are made.
TEST_F(RunReportTest, NewAndPresentShippedFiles_AreToldInTheShippedFoldersOrder) {
    const Answers none({});
    ASSERT_EQ(run(), 1);
    const fs::path mine = temp.native(userData + "Templates/Layer/Standard.xml");
    ASSERT_TRUE(platform::setFileStatus(platform::toSystemPath(mine), {126444736000000000, 0}));
    for (const char* name : {"A.xml", "Z.xml"}) {
        writeFile(temp.native(std::string("install/Config/InitialSet/") + name), "<New/>");
        writeFile(temp.native(std::string("install/Templates/Layer/") + name), "<New/>");
    }
    recorder.take();

    EXPECT_EQ(run(), 1);
    const auto setting = [](const std::string& name) {
        return appData + "InitialConfig/" + name + " <- install/Config/InitialSet/" + name;
    };
    const auto layer = [](const std::string& name) {
        return userData + "Templates/Layer/" + name + " <- install/Templates/Layer/" + name;
    };
    EXPECT_EQ(
        recorder.take(),
        (Lines{"fileCopied " + setting("A.xml"), "fileSkipped " + setting("Draw_Common.xml") + " (it exists already)",
               "fileCopied " + setting("Z.xml"), "fileCopied " + layer("A.xml"),
               "fileReplaced " + layer("Standard.xml") + " (it was older than the shipped template)",
               "fileCopied " + layer("Z.xml"), "finished = 1"}));
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
                            "settingEditApplied " + marker + " [/Marker] = <Grid On=\"2\"/>", "fileWritten " + marker,
                            "settingEditNotApplied " + marker +
                                " [/Marker/Grid] (the XPath selects a node already: the edits inside are not applied)",
                            "settingEditNotApplied " + marker + " [/Marker/Missing] (no node matches the XPath)",
                            "fileSkipped " + appData +
                                "Config/Display.xml <- root/PLX/OrvoLumen/OrvoLumen/2015_x64/"
                                "Config/Display.xml (the layout update carries the layout file forward)",
                            "fileSkipped " + marker +
                                " <- root/PLX/OrvoLumen/OrvoLumen/2015_x64/Config/Marker.xml (it "
                                "exists already)",
                            "fileCopied " + userData + "WorkData/Site.xml <- root/UserData/2015_x64/WorkData/Site.xml",
                            "fileCopied " + userData +
                                "Templates/Layer/Mine.xml <- root/UserData/2015_x64/Templates/Layer/Mine.xml",
                            stampWritten, shippedSettingCopied, shippedTemplateCopied, "finished = 1"}));
    EXPECT_EQ(readFile(temp.native(marker)), "<Marker><Grid On=\"2\"/></Marker>");
}

std::string whyNotMade(const std::wstring& folder) {
    std::error_code why;
    EXPECT_FALSE(platform::makeFolder(folder, &why)) << platform::toUtf8(folder);
    return why.message();
}

// Each refusal says why the run returns -1, naming the folder concerned;
// the folders made before it are told as well.
TEST_F(RunReportTest, EachRefusal_SaysItsOwnCause_AndThePathConcerned) {
    const Answers none({});
    const Lines refusedWithoutDefinition{"refused (no update-definition file was given)", "finished = -1"};
    EXPECT_EQ(run(nullptr), -1);
    EXPECT_EQ(recorder.take(), refusedWithoutDefinition);
    EXPECT_EQ(run(L""), -1);
    EXPECT_EQ(recorder.take(), refusedWithoutDefinition);

    useFolders("root/OrvoLumen/2016_x64/", userData);
    EXPECT_EQ(run(), -1);
    EXPECT_EQ(recorder.take(),
              (Lines{"refused root/OrvoLumen/2016_x64/ (the application-data folder is not three "
                     "levels below a folder named \"PLX\" (as in PLX\\OrvoLumen\\OrvoLumen\\2016_x64\\))",
                     "finished = -1"}));

    const std::string edition(261 - temp.system("root/PLX/OrvoLumen/").size() - 10, 'e');
    const std::string tooLong = "root/PLX/OrvoLumen/" + edition + "/2016_x64/";
    useFolders(tooLong, userData);
    ASSERT_EQ(frame.appDataFolder.size(), 261u);
    EXPECT_EQ(run(), -1);
    EXPECT_EQ(recorder.take(),
              (Lines{"folderMade root/", "folderMade root/PLX/", "folderMade root/PLX/OrvoLumen/",
                     "folderMade root/PLX/OrvoLumen/" + edition + "/",
                     "folderNotMade " + tooLong + " (the path is longer than 260 characters)",
                     "refused " + tooLong + " (the folder could not be made: the path is longer than 260 characters)",
                     "finished = -1"}));

    // A file where a folder belongs: the user-data folder's parent, then a
    // fixed sub-folder's parent.
    fs::remove_all(temp.native("root"));
    writeFile(temp.native("root/UserData"), "a file where a folder belongs");
    useFolders(appData, userData);
    EXPECT_EQ(run(), -1);
    std::string why = whyNotMade(frame.userDataFolder);
    EXPECT_EQ(
        recorder.take(),
        (Lines{"folderMade root/PLX/", "folderMade root/PLX/OrvoLumen/", "folderMade root/PLX/OrvoLumen/OrvoLumen/",
               "folderMade " + appData, "folderNotMade " + userData + " (" + why + ")",
               "refused " + userData + " (the folder could not be made: " + why + ")", "finished = -1"}));

    fs::remove_all(temp.native("root"));
    writeFile(temp.native(userData + "Templates"), "a file where a folder belongs");
    EXPECT_EQ(run(), -1);
    why = whyNotMade(frame.userDataFolder + L"Templates\\Layer");
    Lines made = releaseFoldersMade();
    made.erase(made.begin() + 1); // the user-data folder holds the file already
    made.resize(made.size() - 2); // "Templates" is there as a file, "Layer" cannot be made below it
    EXPECT_EQ(
        recorder.take(),
        (Lines{"folderMade root/PLX/", "folderMade root/PLX/OrvoLumen/", "folderMade root/PLX/OrvoLumen/OrvoLumen/"} +
         made +
         Lines{"folderNotMade " + userData + "Templates/Layer (" + why + ")",
               "refused " + userData + "Templates/Layer (the folder could not be made: " + why + ")",
               "finished = -1"}));
    EXPECT_EQ(readFile(temp.native(userData + "Templates")), "a file where a folder belongs");
}

// Answering No clears this release's settings: each file directly in the
// settings folders is deleted, a read-only one is left with the reason.
TEST_F(RunReportTest, AnsweringNo_TellsEachSettingsFileDeleted_OrLeftWithTheReason) {
    writeFile(temp.native(appData + "version.xml"), "<Versions><Main>2016.0</Main></Versions>");
    writeFile(temp.native(appData + "Config/Marker.xml"), "<Marker/>");
    writeFile(temp.native(appData + "Config/ReadOnly.xml"), "<Kept/>");
    test::setReadOnly(temp.native(appData + "Config/ReadOnly.xml"), true);
    writeFile(temp.native(appData + "Config/Sub/Kept.xml"), "<Kept/>");
    writeFile(temp.native(appData + "InitialConfig/Draw_Common.xml"), "<Mine/>");
    writeFile(temp.native(userData + "WorkData/Site.xml"), "<Site/>");
    // The shipped template as an earlier run copied it, its time kept.
    test::makeFolder(temp.native(userData + "Templates/Layer"));
    ASSERT_TRUE(platform::copyFile(temp.system("install/Templates/Layer/Standard.xml"),
                                   temp.system(userData + "Templates/Layer/Standard.xml"),
                                   platform::FailIfExists::yes));

    const Answers no({"no"});
    EXPECT_EQ(run(), 1);
    const std::string permissionDenied = std::make_error_code(std::errc::permission_denied).message();
    EXPECT_EQ(recorder.take(),
              (Lines{"folderMade " + userData + "Temporary", "folderMade " + userData + "BackUp",
                     inheritQuestion + " = no", "fileDeleted " + appData + "Config/Marker.xml",
                     "fileLeft " + appData + "Config/ReadOnly.xml (" + permissionDenied + ")",
                     "fileDeleted " + appData + "InitialConfig/Draw_Common.xml",
                     "fileDeleted " + userData + "WorkData/Site.xml", stampWritten, shippedSettingCopied,
                     "fileSkipped " + userData +
                         "Templates/Layer/Standard.xml <- install/Templates/Layer/Standard.xml (it exists already and "
                         "is not older than the shipped template)",
                     "finished = 1"}));
    EXPECT_EQ(readFile(temp.native(appData + "Config/ReadOnly.xml")), "<Kept/>");
    EXPECT_EQ(readFile(temp.native(appData + "Config/Sub/Kept.xml")), "<Kept/>");
    EXPECT_FALSE(fs::exists(temp.native(appData + "Config/Marker.xml")));
}

// A read-only stamp is made writable for the copy, and the copy, which
// brings the installed file's read-only attribute along, writable again.
TEST_F(RunReportTest, ReadOnlyStamp_TellsTheAttributeClearedAroundItsCopy) {
    writeFile(temp.native(appData + "version.xml"), "<Versions><Main>2016.0</Main></Versions>");
    test::setReadOnly(temp.native(appData + "version.xml"), true);
    test::setReadOnly(temp.native("install/ja/version.xml"), true);
    const Answers no({"no"});
    EXPECT_EQ(run(), 1);
    Lines lines = recorder.take();
    lines.erase(std::remove_if(lines.begin(), lines.end(),
                               [](const std::string& line) { return line.find("version.xml") == std::string::npos; }),
                lines.end());
    const std::string cleared = "attributesChanged " + appData + "version.xml = read-only cleared";
    EXPECT_EQ(lines, (Lines{cleared, stampWritten, cleared}));
    EXPECT_FALSE(test::isReadOnly(temp.native(appData + "version.xml")));
    EXPECT_EQ(readFile(temp.native(appData + "version.xml")), readFile(temp.native("install/ja/version.xml")));
}

// A template older than the shipped one is replaced, and a read-only one
// gets that attribute back: each step is told.
TEST_F(RunReportTest, OlderReadOnlyTemplate_IsReplaced_AndMadeReadOnlyAgain) {
    const Answers none({});
    ASSERT_EQ(run(), 1);
    const fs::path mine = temp.native(userData + "Templates/Layer/Standard.xml");
    test::setReadOnly(mine, false);
    writeFile(mine, "<Old/>");
    ASSERT_TRUE(platform::setFileStatus(platform::toSystemPath(mine), {126444736000000000, platform::attrReadOnly}));
    recorder.take();

    EXPECT_EQ(run(), 1);
    const std::string templates = userData + "Templates/Layer/Standard.xml <- install/Templates/Layer/Standard.xml";
    EXPECT_EQ(
        recorder.take(),
        (Lines{"fileSkipped " + appData +
                   "InitialConfig/Draw_Common.xml <- install/Config/InitialSet/Draw_Common.xml (it exists already)",
               "attributesChanged " + userData + "Templates/Layer/Standard.xml = read-only cleared",
               "fileReplaced " + templates + " (it was older than the shipped template)",
               "attributesChanged " + userData + "Templates/Layer/Standard.xml = read-only set again",
               "finished = 1"}));
    EXPECT_EQ(readFile(mine), "<LayerTemplate Name=\"new\"/>");
    EXPECT_TRUE(test::isReadOnly(mine));
}

// Whatever single file call fails while a read-only template is refreshed,
// the template stays read-only and whole, old or new: the copy carries the
// attribute into its place, and a failed copy gets it back. A template left
// old is said not written.
TEST_F(RunReportTest, TemplateRefresh_KeepsTheTemplateReadOnlyAndWhole_WhicheverCallFails) {
    // A failed read of the stamp makes the flow ask.
    const Answers no({}, "no");
    ASSERT_EQ(run(), 1);
    const fs::path mine = temp.native(userData + "Templates/Layer/Standard.xml");
    const std::string notWritten = "fileNotWritten " + userData + "Templates/Layer/Standard.xml";
    bool keptOld = false;
    for (std::uint64_t n = 1;; ++n) {
        SCOPED_TRACE("call " + std::to_string(n) + " fails");
        test::setReadOnly(mine, false);
        writeFile(mine, "<Old/>");
        ASSERT_TRUE(
            platform::setFileStatus(platform::toSystemPath(mine), {126444736000000000, platform::attrReadOnly}));
        recorder.take();
        platform::armFault(n, std::errc::no_space_on_device);
        run();
        const std::optional<platform::FileCall> failed = platform::failedFileCall();
        platform::disarmFault();
        if (!failed)
            break;
        EXPECT_TRUE(test::isReadOnly(mine));
        const Lines lines = recorder.take();
        const bool said = std::any_of(lines.begin(), lines.end(),
                                      [&](const std::string& line) { return line.rfind(notWritten, 0) == 0; });
        if (readFile(mine) == "<Old/>") {
            keptOld = true;
            EXPECT_TRUE(said);
        } else {
            EXPECT_EQ(readFile(mine), "<LayerTemplate Name=\"new\"/>");
        }
    }
    EXPECT_TRUE(keptOld) << "no failure reached the template's replacement";
}

// Release 2015 of the running product and of OrvoLumenPatron: the dialog's
// choice is told, or its cancel, which clears the settings instead.
TEST_F(RunReportTest, ProductDialog_TellsTheChoice_OrTheCancel) {
    const std::string dialog = "questionAsked [Whose settings are inherited: this product's or OrvoLumenPatron's?]";
    const std::pair<const char*, std::string> cases[] = {
        {"0", dialog + " = this product"},
        {"1", dialog + " = OrvoLumenPatron"},
        {"cancel", dialog + " = cancel"},
    };
    for (const auto& [answer, expected] : cases) {
        SCOPED_TRACE(answer);
        fs::remove_all(temp.native("root"));
        previousRelease();
        writeFile(temp.native("root/PLX/OrvoLumen/OrvoLumenPatron/2015_x64/version.xml"),
                  "<Versions><Main>2015.0</Main></Versions>");
        const Answers choice({answer});
        recorder.take();
        EXPECT_EQ(run(), 1);
        Lines asked = recorder.take();
        asked.erase(std::remove_if(asked.begin(), asked.end(),
                                   [](const std::string& line) { return line.rfind("questionAsked", 0) != 0; }),
                    asked.end());
        EXPECT_EQ(asked, Lines{expected});
    }
}

// A section's file that is missing or not XML is told, and nothing is
// written; a missing file is not created.
TEST_F(RunReportTest, SettingSection_TellsAFileThatCannotBeEdited) {
    setting::SettingItemTable table;
    table.registerItems();
    const auto sectionFor = [&](const std::wstring& path) {
        utility::xml::Document document;
        utility::xml::Element element;
        EXPECT_TRUE(utility::xml::loadXml(document, L"<Setting Path=\"" + path +
                                                        L"\"><AddNode XPath=\"/Marker\"><Grid/></AddNode></Setting>"));
        EXPECT_TRUE(utility::xml::getRootElement(element, document));
        auto section = std::make_unique<SettingData>();
        EXPECT_TRUE(section->load(element, table));
        return section;
    };
    writeFile(temp.native("app/Config/Broken.xml"), "<Marker>");
    EXPECT_FALSE(sectionFor(L"Config\\Absent.xml")->apply(temp.system("app/").c_str()));
    EXPECT_FALSE(sectionFor(L"Config\\Broken.xml")->apply(temp.system("app/").c_str()));
    // The loader's own reasons, which differ between the XML backends.
    const auto whyNotLoaded = [&](const char* file) {
        utility::xml::Document document;
        std::wstring why;
        EXPECT_FALSE(utility::xml::load(document, temp.system(file), false, &why));
        return platform::toUtf8(why);
    };
    EXPECT_EQ(recorder.take(), (Lines{"settingEditNotApplied app/Config/Absent.xml (the settings file cannot be "
                                      "edited: " +
                                          whyNotLoaded("app/Config/Absent.xml") + ")",
                                      "settingEditNotApplied app/Config/Broken.xml (the settings file cannot be "
                                      "edited: " +
                                          whyNotLoaded("app/Config/Broken.xml") + ")"}));
    EXPECT_EQ(test::treeOf(temp.native("app")), (test::Tree{"Config/", "Config/Broken.xml=<Marker>"}));
}

// Emptying the layer templates: a read-only template directly inside is
// made writable and deleted; a sub-folder is emptied and removed, unless a
// read-only file keeps it.
TEST_F(RunReportTest, ForcedTemplateClearing_TellsEachTemplateAndFolder_DeletedOrLeft) {
    const std::string layer = userData + "Templates/Layer/";
    writeFile(temp.native(layer + "Mine.xml"), "<LayerTemplate/>");
    test::setReadOnly(temp.native(layer + "Mine.xml"), true);
    writeFile(temp.native(layer + "Gone/Old.xml"), "<LayerTemplate/>");
    writeFile(temp.native(layer + "Kept/Locked.xml"), "<LayerTemplate/>");
    test::setReadOnly(temp.native(layer + "Kept/Locked.xml"), true);
    updater.forceDeleteLayerTemplates(frame);

    std::error_code notEmpty;
    EXPECT_FALSE(platform::removeFolder(temp.system(layer + "Kept"), &notEmpty));
    EXPECT_EQ(recorder.take(), (Lines{"fileDeleted " + layer + "Gone/Old.xml", "fileDeleted " + layer + "Gone/",
                                      "fileLeft " + layer + "Kept/Locked.xml (" +
                                          std::make_error_code(std::errc::permission_denied).message() + ")",
                                      "fileLeft " + layer + "Kept/ (" + notEmpty.message() + ")",
                                      "attributesChanged " + layer + "Mine.xml = read-only cleared",
                                      "fileDeleted " + layer + "Mine.xml"}));
    EXPECT_EQ(test::treeOf(temp.native(layer)), (test::Tree{"Kept/", "Kept/Locked.xml=<LayerTemplate/> (read-only)"}));
}

// A shipped file whose destination would be over the path limit is
// skipped with that reason.
TEST_F(RunReportTest, ShippedFileOverThePathLimit_IsSkipped_WithThatReason) {
    const std::string initialConfig(244 - temp.system("root/").size() - 1, 'i');
    frame.initialConfigFolder = temp.system("root/" + initialConfig + "/");
    ASSERT_EQ(frame.initialConfigFolder.size(), 244u); // "Draw_Common.xml" ends at 259, "Draw_Common_2.xml" at 261
    writeFile(temp.native("install/Config/InitialSet/Draw_Common_2.xml"), "<DrawCommon/>");
    test::makeFolder(temp.native("root/" + initialConfig));
    const Answers none({});
    EXPECT_EQ(run(), 1);
    Lines lines = recorder.take();
    lines.erase(
        std::remove_if(lines.begin(), lines.end(), [](const std::string& line) { return line.rfind("file", 0) != 0; }),
        lines.end());
    const std::string shipped = "root/" + initialConfig + "/Draw_Common";
    EXPECT_EQ(lines, (Lines{stampWritten, "fileCopied " + shipped + ".xml <- install/Config/InitialSet/Draw_Common.xml",
                            "fileSkipped " + shipped +
                                "_2.xml <- install/Config/InitialSet/Draw_Common_2.xml (the path is longer than 260 "
                                "characters)",
                            shippedTemplateCopied}));
}

// A folder-tree copy tells each folder it makes and each file it copies;
// a link is skipped, never followed. Emptying the copy removes a link to a
// folder as an entry of its own.
TEST_F(RunReportTest, FolderTreeCopyAndEmptying_TellLinksSkippedAndRemovedAsEntries) {
    writeFile(temp.native("outside/Secret.xml"), "<Secret/>");
    writeFile(temp.native("src/Sub/Site.xml"), "<Site/>");
    fs::create_directory_symlink(temp.native("outside"), temp.native("src/ToOutside"));
    EXPECT_TRUE(copyFolderTree(temp.system("dst").c_str(), temp.system("src").c_str()));
    fs::create_directory_symlink(temp.native("outside"), temp.native("dst/Sub/ToOutside"));
    EXPECT_TRUE(deleteFolderContents(temp.system("dst").c_str(), true, false));
    EXPECT_EQ(recorder.take(),
              (Lines{"folderMade dst", "folderMade dst/Sub", "fileCopied dst/Sub/Site.xml <- src/Sub/Site.xml",
                     "fileSkipped dst/ToOutside <- src/ToOutside (the source is a link, never followed)",
                     "fileDeleted dst/Sub/Site.xml", "fileDeleted dst/Sub/ToOutside/", "fileDeleted dst/Sub/"}));
    EXPECT_EQ(test::treeOf(temp.native("dst")), test::Tree{});
    EXPECT_EQ(readFile(temp.native("outside/Secret.xml")), "<Secret/>");
}

// The report only listens: the same run without it leaves the same files.
TEST_F(RunReportTest, WithoutAReport_TheSameRunLeavesTheSameFiles) {
    previousRelease();
    const Answers yes({"yes", "yes"});
    ASSERT_EQ(run(), 1);
    const test::Tree reported = test::treeOf(temp.native("root"));
    ASSERT_FALSE(recorder.take().empty());
    fs::remove_all(temp.native("root"));
    previousRelease();
    core::setRunReport(nullptr);
    ASSERT_EQ(run(), 1);
    EXPECT_EQ(test::treeOf(temp.native("root")), reported);
    EXPECT_EQ(recorder.take(), (Lines{}));
}

} // namespace
} // namespace tern::update
