// `tnupdate update` run as a user would, on a copy of the sample data.

#include "tests/support/run_program.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace tern::cli {
namespace {

namespace fs = std::filesystem;
using test::readFile;
using test::TempFolder;

class UpdateCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::copy(TN_EXAMPLES_DIR, temp.path(), fs::copy_options::recursive);
        test::setReadOnly(temp.native("install/Templates/Layer/Survey.xml"), true);
    }

    test::ProgramResult update(std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), "update");
        return test::runProgram(TNUPDATE_EXE, arguments, temp.path());
    }
    test::ProgramResult updateSample() {
        return update({"--install", "install", "--appdata", "profile/PLX/OrvoLumen/OrvoLumen/2016_x64",
                       "--userdata", "profile/UserData/2016_x64", "--lumen", "install/Update.xml"});
    }

    TempFolder temp;
};

// The library's own tests prove what a run does; here each option must
// reach the folder it names.
TEST_F(UpdateCommandTest, FirstRun_BringsTheSampleForward_SecondRunDoesNothing) {
    const auto first = updateSample();
    EXPECT_EQ(first.status, 0) << first.output;
    EXPECT_EQ(first.lastLine(), "result: 1");
    EXPECT_EQ(readFile(temp.native("profile/PLX/OrvoLumen/OrvoLumen/2016_x64/InitialConfig/System_Color.xml")),
              readFile(temp.native("install/Config/InitialSet/System_Color.xml")));
    const fs::path layerTemplate = temp.native("profile/UserData/2016_x64/Templates/Layer/Survey.xml");
    EXPECT_EQ(readFile(layerTemplate), readFile(temp.native("install/Templates/Layer/Survey.xml")));
    EXPECT_TRUE(test::isReadOnly(layerTemplate));

    const auto second = updateSample();
    EXPECT_EQ(second.status, 0) << second.output;
    EXPECT_EQ(second.lastLine(), "result: 0");
}

// Each refusal is named in one line before "result: -1"; paths are shown
// absolute, with the platform's separators.
TEST_F(UpdateCommandTest, Refusals_AreExplainedInOneLine_AndFail) {
    test::writeFile(temp.native("blocker"), "a file where a folder belongs");
    const std::string appData = "profile/PLX/OrvoLumen/OrvoLumen/2016_x64";
    struct Case {
        std::vector<std::string> arguments;
        std::string explanation;
    } cases[] = {
        {{"--appdata", "profile/2016_x64", "--userdata", "user", "install/Update.xml"},
         "--appdata PATH/profile/2016_x64/ is not a release folder three levels below a folder named PLX "
         "(expected .../PLX/OrvoLumen/OrvoLumen/2016_x64/)"},
        {{"--appdata", appData, "--userdata", "user", ""}, "no update-definition file was given"},
        {{"--appdata", appData, "--userdata", "blocker/2016_x64", "install/Update.xml"},
         "could not create the folder PATH/blocker/2016_x64/"},
    };
    std::string root = temp.path().u8string();
    std::replace(root.begin(), root.end(), '\\', '/');
    for (auto& [arguments, explanation] : cases) {
        arguments.insert(arguments.begin(), {"--install", "install"});
        const auto result = update(arguments);
        std::string output = result.output;
        std::replace(output.begin(), output.end(), '\\', '/');
        if (const auto at = output.find(root); at != std::string::npos)
            output.replace(at, root.size(), "PATH");
        EXPECT_EQ(output, "tnupdate: " + explanation + "\nresult: -1\n") << explanation;
        EXPECT_EQ(result.status, 1) << explanation;
    }
    EXPECT_FALSE(fs::exists(temp.native("profile/2016_x64")));
}

TEST_F(UpdateCommandTest, DefinitionThatIsNotAFile_IsMentioned_AndTheShippedFilesAreCopied) {
    const auto result = update({"--install", "install", "--appdata", "profile/PLX/OrvoLumen/OrvoLumen/2016_x64",
                                "--userdata", "profile/UserData/2016_x64", "install/Missing.xml"});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.output, "tnupdate: the definition install/Missing.xml is not a file: only the shipped files "
                             "were copied\nresult: 1\n");
}

TEST_F(UpdateCommandTest, MissingOptions_AreAUsageError) {
    const auto result = update({"--install", "install", "install/Update.xml"});
    EXPECT_EQ(result.status, 2);
    EXPECT_NE(result.output.find("--appdata"), std::string::npos) << result.output;
}

TEST_F(UpdateCommandTest, Help_ExplainsEveryOption) {
    const auto result = update({"--help"});
    EXPECT_EQ(result.status, 0);
    for (const char* option : {"--install", "--appdata", "--userdata", "--lumen", "DEFINITION"})
        EXPECT_NE(result.output.find(option), std::string::npos) << option;
}

} // namespace
} // namespace tern::cli
