// `tnupdate update` run as a user would, on a copy of the sample data.

#include "tests/cli/sample_copy_test.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace tern::cli {
namespace {

namespace fs = std::filesystem;
using test::readFile;

class UpdateCommandTest : public SampleCopyTest {
protected:
    void SetUp() override {
        SampleCopyTest::SetUp();
        test::setReadOnly(temp.native("install/Templates/Layer/Survey.xml"), true);
    }

    test::ProgramResult update(std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), "update");
        return tnupdate(arguments);
    }
    test::ProgramResult updateSample(std::vector<std::string> answers = {"--yes"}) {
        std::vector<std::string> arguments{"--install",  "install", "--appdata", appData,
                                           "--userdata", userData,  "--lumen",   "install/Update.xml"};
        arguments.insert(arguments.begin(), answers.begin(), answers.end());
        return update(arguments);
    }
    fs::path newRelease(const std::string& relative = "") const { return temp.native(appData + "/" + relative); }
    fs::path newUserData(const std::string& relative = "") const { return temp.native(userData + "/" + relative); }

    const std::string appData = "profile/PLX/OrvoLumen/OrvoLumen/2016_x64";
    const std::string userData = "profile/UserData/2016_x64";
};

// The library's own tests prove what a run does; here each option must
// reach the folder it names.
TEST_F(UpdateCommandTest, FirstRun_BringsTheSampleForward_SecondRunDoesNothing) {
    const auto first = updateSample();
    EXPECT_EQ(first.status, 0) << first.output;
    EXPECT_EQ(first.output.rfind("question 4000: yes\n", 0), 0u) << first.output;
    EXPECT_EQ(first.lastLine(), "result: 1");
    EXPECT_EQ(readFile(temp.native("profile/PLX/OrvoLumen/OrvoLumen/2016_x64/InitialConfig/System_Color.xml")),
              readFile(temp.native("install/Config/InitialSet/System_Color.xml")));
    const fs::path layerTemplate = temp.native("profile/UserData/2016_x64/Templates/Layer/Survey.xml");
    EXPECT_EQ(readFile(layerTemplate), readFile(temp.native("install/Templates/Layer/Survey.xml")));
    EXPECT_TRUE(test::isReadOnly(layerTemplate));

    const auto second = updateSample();
    EXPECT_EQ(second.status, 0) << second.output;
    EXPECT_EQ(second.output.find("question"), std::string::npos) << second.output;
    EXPECT_EQ(second.lastLine(), "result: 0");
}

// Release 2016.0 starts for the first time beside 2015 at 2015.2: only the
// 2016.0 entry is applied to the 2015 layout, the rest of the settings, the
// work data and the templates come over, and 2015's own files stay as they
// were.
TEST_F(UpdateCommandTest, WorkedExample_CarriesThePreviousReleaseForward_AndLeavesItUntouched) {
    const test::Tree previous = test::treeOf(temp.native("profile/PLX/OrvoLumen/OrvoLumen/2015_x64"));
    const test::Tree previousUser = test::treeOf(temp.native("profile/UserData/2015_x64"));
    const auto result = updateSample();
    EXPECT_EQ(result.output.rfind("question 4000: yes\n", 0), 0u) << result.output;
    EXPECT_EQ(result.lastLine(), "result: 1");

    const std::string layout = readFile(newRelease("Config/Display.xml"));
    for (const char* kept : {"ID_VIEW_ORBIT", "ID_FILE_PRINT", "ID_VIEW_ZOOM"})
        EXPECT_NE(layout.find(kept), std::string::npos) << kept;
    for (const char* added : {"ID_DRAW_ARC", "ID_DRAW_POLYGON", "Caption=\"Shapes\""})
        EXPECT_NE(layout.find(added), std::string::npos) << added;
    const std::string drawCommon = readFile(newRelease("Config/Draw_Common.xml"));
    EXPECT_NE(drawCommon.find("<Snap Enabled=\"true\" Distance=\"2\"/>"), std::string::npos) << drawCommon;
    EXPECT_NE(drawCommon.find("<Ortho Enabled=\"false\" Angle=\"90\"/>"), std::string::npos) << drawCommon;
    EXPECT_EQ(drawCommon.find("<Grid", drawCommon.find("<Grid") + 1), std::string::npos) << "2015.2 edits once";
    const std::string eopReg = readFile(newRelease("Config/EopRegSetting.xml"));
    EXPECT_NE(eopReg.find("<AutoSave Minutes=\"5\"/>"), std::string::npos) << eopReg;
    EXPECT_NE(eopReg.find("<Backup Generations=\"3\""), std::string::npos) << eopReg;
    EXPECT_EQ(readFile(newUserData("WorkData/Site-A.xml")),
              readFile(temp.native("profile/UserData/2015_x64/WorkData/Site-A.xml")));
    EXPECT_EQ(readFile(newUserData("Templates/Layer/Standard.xml")),
              readFile(temp.native("install/Templates/Layer/Standard.xml")));
    EXPECT_EQ(readFile(newRelease("version.xml")), readFile(temp.native("install/ja/version.xml")));

    EXPECT_EQ(test::treeOf(temp.native("profile/PLX/OrvoLumen/OrvoLumen/2015_x64")), previous);
    EXPECT_EQ(test::treeOf(temp.native("profile/UserData/2015_x64")), previousUser);
}

// The release's own folder from an earlier start that left no version: the
// user declines to keep its settings, which clears the files directly in
// its settings and work folders.
TEST_F(UpdateCommandTest, UserDeclining_ClearsTheOldSettings_AndKeepsSubFoldersAndReadOnlyFiles) {
    test::writeFile(newRelease("Config/Old.xml"), "<Old/>");
    test::writeFile(newRelease("Config/Sub/Kept.xml"), "<Kept/>");
    test::writeFile(newRelease("Config/Locked.xml"), "<Locked/>");
    test::setReadOnly(newRelease("Config/Locked.xml"), true);
    test::writeFile(newRelease("InitialConfig/Old.xml"), "<Old/>");
    test::writeFile(newUserData("WorkData/Old.xml"), "<Old/>");

    const auto result = updateSample({"--answers", "no"});
    EXPECT_EQ(result.output.rfind("question 4000: no\n", 0), 0u) << result.output;
    EXPECT_EQ(result.lastLine(), "result: 1");
    EXPECT_EQ(test::treeOf(newRelease("Config")),
              (test::Tree{"Locked.xml=<Locked/> (read-only)", "Sub/", "Sub/Kept.xml=<Kept/>"}));
    EXPECT_FALSE(fs::exists(newRelease("InitialConfig/Old.xml")));
    EXPECT_FALSE(fs::exists(newUserData("WorkData/Old.xml")));
    EXPECT_EQ(readFile(newRelease("version.xml")), readFile(temp.native("install/ja/version.xml")));
}

// A question the answers do not cover gets the answer that deletes nothing,
// and says so.
class UncoveredQuestionTest : public UpdateCommandTest {
protected:
    void expectAnsweredYes(const std::vector<std::string>& answers, const std::string& why) {
        const auto result = updateSample(answers);
        const std::string asked =
            "warning: question 4000 is answered yes, which deletes nothing: " + why + "\nquestion 4000: yes\n";
        EXPECT_EQ(result.output.rfind(asked, 0), 0u) << result.output;
        EXPECT_EQ(result.lastLine(), "result: 1");
        EXPECT_TRUE(fs::exists(newRelease("Config/Display.xml")));
    }
};

TEST_F(UncoveredQuestionTest, WithNoAnswersAndNoTerminal_IsAnsweredYes_WithAWarning) {
    expectAnsweredYes({}, "no answers were given and there is no terminal");
}

TEST_F(UncoveredQuestionTest, WithAnAnswerOfTheWrongKind_IsAnsweredYes_WithAWarning) {
    expectAnsweredYes({"--answers", "1"}, "the answer \"1\" does not fit it");
}

TEST_F(UpdateCommandTest, AnUnknownAnswer_IsAUsageError_BeforeAnythingIsTouched) {
    const auto result = updateSample({"--answers", "yes,maybe"});
    EXPECT_EQ(result.status, 2);
    EXPECT_NE(result.output.find("\"maybe\" is not an answer"), std::string::npos) << result.output;
    EXPECT_FALSE(fs::exists(newRelease()));
}

TEST_F(UpdateCommandTest, CommandTable_ThatCannotBeLoaded_StopsTheRun_AndAMissingOneIsWarnedAbout) {
    const auto unloadable = updateSample({"--yes", "--commands", "install/Missing.xml"});
    EXPECT_EQ(unloadable.status, 2);
    std::string said = unloadable.output;
    std::replace(said.begin(), said.end(), '\\', '/');
    EXPECT_EQ(said.rfind("error: cannot load the command table install/Missing.xml: ", 0), 0u) << said;
    EXPECT_EQ(said.find("Missing.xml"), said.rfind("Missing.xml")) << "the file is named once: " << said;
    EXPECT_FALSE(fs::exists(newRelease()));

    fs::remove(temp.native("install/Config/Commands.xml"));
    const auto missing = updateSample();
    EXPECT_EQ(missing.status, 0);
    EXPECT_EQ(missing.output.rfind("warning: no command table (", 0), 0u) << missing.output;
    EXPECT_EQ(missing.lastLine(), "result: 1");
}

// Each refusal is said by the library, on an error line before "result: -1"
// (the folder outside a PLX tree is RunReportTest's).
TEST_F(UpdateCommandTest, Refusals_AreSaidOnAnErrorLine_AndFail) {
    test::writeFile(temp.native("blocker"), "a file where a folder belongs");
    const std::string appData = "profile/PLX/OrvoLumen/OrvoLumen/2016_x64";
    const std::vector<std::string> cases[] = {
        {"--appdata", appData, "--userdata", "user", ""},
        {"--appdata", appData, "--userdata", "blocker/2016_x64", "install/Update.xml"},
    };
    for (std::vector<std::string> arguments : cases) {
        arguments.insert(arguments.begin(), {"--install", "install"});
        const auto result = update(arguments);
        EXPECT_EQ(result.status, 1) << result.output;
        EXPECT_EQ(result.lastLine(), "result: -1") << result.output;
        EXPECT_EQ(result.output.rfind("error: ", 0), 0u) << result.output;
    }
}

TEST_F(UpdateCommandTest, DefinitionThatIsNotAFile_IsMentioned_AndTheShippedFilesAreCopied) {
    const auto result = tnupdateApart(
        {"update", "--install", "install", "--appdata", appData, "--userdata", userData, "install/Missing.xml"});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.errors.rfind("warning: install/Missing.xml: The whole file is rejected: ", 0), 0u)
        << result.errors;
    EXPECT_TRUE(fs::exists(newRelease() / "InitialConfig/Draw_Common.xml"));
    EXPECT_EQ(result.output.substr(result.output.rfind("result:")), "result: 1\n") << result.output;
}

TEST_F(UpdateCommandTest, MissingOptions_AreAUsageError) {
    const auto result = update({"--install", "install", "install/Update.xml"});
    EXPECT_EQ(result.status, 2);
    EXPECT_NE(result.output.find("--appdata"), std::string::npos) << result.output;
}

TEST_F(UpdateCommandTest, Help_ExplainsEveryOption) {
    const auto result = update({"--help"});
    EXPECT_EQ(result.status, 0);
    for (const char* option :
         {"--install", "--appdata", "--userdata", "--lumen", "--commands", "--answers", "--yes", "DEFINITION"})
        EXPECT_NE(result.output.find(option), std::string::npos) << option;
}

} // namespace
} // namespace tern::cli
