// `tnupdate option` run as a user would, on a copy of the sample data.

#include "tests/cli/sample_copy_test.h"

#include <gtest/gtest.h>

namespace tern::cli {
namespace {

namespace fs = std::filesystem;
using test::readFile;

class OptionCommandTest : public SampleCopyTest {
protected:
    test::ProgramResult option(std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), "option");
        return tnupdate(arguments);
    }
    test::ProgramResult appendSurvey(const std::string& commandsOption = "--install",
                                     const std::string& commands = "install") {
        return option({"--folder", "profile/PLX/OrvoLumen/OrvoLumen/2015_x64", commandsOption, commands, "Survey",
                       "install/Options/Survey.xml"});
    }
    fs::path layoutFile() const { return temp.native("profile/PLX/OrvoLumen/OrvoLumen/2015_x64/Config/Display.xml"); }
};

TEST_F(OptionCommandTest, FirstRun_AppendsTheSampleOption_SecondRunChangesNothing) {
    const std::string before = readFile(layoutFile());
    const auto first = appendSurvey();
    EXPECT_EQ(first.status, 0) << first.output;
    EXPECT_EQ(first.lastLine(), "result: 1");

    const std::string after = readFile(layoutFile());
    EXPECT_NE(after, before);
    for (const char* expected :
         {"<Tab Id=\"4\" Caption=\"Survey\">", "<Group Id=\"5\" Caption=\"Measure\">",
          "<Control SID=\"ID_SURVEY_POINT\" Caption=\"Survey Point\"/>", "<Popup Caption=\"Survey\">",
          "<ToolBar Title=\"Survey\"", "<AppendOption Name=\"Survey\" Major=\"1\" Minor=\"1\"/>"})
        EXPECT_NE(after.find(expected), std::string::npos) << expected << "\n" << after;
    // The Survey tab stands right after Home; Area follows Point in its group.
    EXPECT_LT(after.find("Caption=\"Home\""), after.find("Caption=\"Survey\""));
    EXPECT_LT(after.find("Caption=\"Survey\""), after.find("Caption=\"View\""));
    EXPECT_LT(after.find("ID_SURVEY_POINT"), after.find("ID_SURVEY_AREA"));

    fs::last_write_time(layoutFile(), fs::last_write_time(layoutFile()) - std::chrono::hours(1));
    const auto written = fs::last_write_time(layoutFile());
    const auto second = appendSurvey("--commands", "install/Config/Commands.xml");
    EXPECT_EQ(second.status, 0) << second.output;
    EXPECT_EQ(second.lastLine(), "result: 0");
    EXPECT_EQ(readFile(layoutFile()), after);
    EXPECT_EQ(fs::last_write_time(layoutFile()), written);
}

// Far deeper than the program's stack holds one call per level (1 MB on
// Windows): a definition of 80 KB.
TEST_F(OptionCommandTest, AMenuPathTensOfThousandsOfStepsDeep_IsAppended_InAFileThatGrowsWithThePath) {
    const std::size_t steps = 40000;
    std::string path = "P";
    for (std::size_t step = 1; step < steps; ++step)
        path += "/P";
    test::writeFile(temp.native("Deep.xml"), R"(<Option_Data><Layout><Command SID="ID_SURVEY_POINT"><Menu Path=")" +
                                                 path + R"(" MakePos="true"/></Command></Layout></Option_Data>)");
    const std::string before = readFile(layoutFile());
    const auto result =
        option({"--folder", "profile/PLX/OrvoLumen/OrvoLumen/2015_x64", "--install", "install", "Deep", "Deep.xml"});
    EXPECT_EQ(result.status, 0) << result.output.substr(0, 1000);
    EXPECT_EQ(result.lastLine(), "result: 1");

    // The sample layout has two normal modes; the chain's bottom is indented as the sixteenth level.
    const std::string after = readFile(layoutFile());
    std::size_t popups = 0;
    for (std::size_t at = after.find("<Popup Caption=\"P\">"); at != std::string::npos;
         at = after.find("<Popup Caption=\"P\">", at + 1))
        ++popups;
    EXPECT_EQ(popups, 2 * steps);
    const std::string bottom = "\n" + std::string(32, ' ') + "<Command SID=\"ID_SURVEY_POINT\"";
    const std::size_t first = after.find(bottom);
    ASSERT_NE(first, std::string::npos);
    EXPECT_NE(after.find(bottom, first + 1), std::string::npos);
    // Each popup adds two lines of at most 32 spaces and its tag.
    EXPECT_LT(after.size(), before.size() + 2 * steps * 100);
}

TEST_F(OptionCommandTest, UnreadableLayoutFile_IsNamed_AndNeverOverwritten) {
    const std::string broken = "<Display><LayoutType Name=\"Standard\">";
    test::writeFile(layoutFile(), broken);
    const auto result = appendSurvey();
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.output.find("Display.xml"), std::string::npos) << result.output;
    EXPECT_EQ(result.output.find("result:"), std::string::npos) << result.output;
    EXPECT_EQ(readFile(layoutFile()), broken);
}

TEST_F(OptionCommandTest, UnreadableCommandTable_IsNamed) {
    const auto result = appendSurvey("--commands", "install/Config/Missing.xml");
    EXPECT_EQ(result.status, 2);
    EXPECT_NE(result.output.find("Missing.xml"), std::string::npos) << result.output;
}

TEST_F(OptionCommandTest, CommandTableIsRequired_AsAUsageError) {
    const auto result = option({"--folder", "profile", "Survey", "install/Options/Survey.xml"});
    EXPECT_EQ(result.status, 2) << result.output;
    const auto both = option(
        {"--folder", "profile", "--install", "install", "--commands", "x.xml", "Survey", "install/Options/Survey.xml"});
    EXPECT_EQ(both.status, 2) << both.output;
}

} // namespace
} // namespace tern::cli
