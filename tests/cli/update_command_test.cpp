// `tnupdate update` run as a user would, on a copy of the sample data.

#include "tests/support/run_program.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

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

TEST_F(UpdateCommandTest, AppDataOutsideTheVendorTree_IsExplained_AndFails) {
    const auto result = update({"--install", "install", "--appdata", "profile/2016_x64", "--userdata",
                                "profile/UserData/2016_x64", "install/Update.xml"});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.lastLine(), "result: -1");
    EXPECT_NE(result.output.find("three levels below a folder named PLX"), std::string::npos) << result.output;
    EXPECT_FALSE(fs::exists(temp.native("profile/2016_x64")));
}

TEST_F(UpdateCommandTest, EmptyDefinition_IsPassedOn_AndTheLibraryRefusesIt) {
    const auto result = update({"--install", "install", "--appdata", "profile/PLX/OrvoLumen/OrvoLumen/2016_x64",
                                "--userdata", "profile/UserData/2016_x64", ""});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.lastLine(), "result: -1");
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
