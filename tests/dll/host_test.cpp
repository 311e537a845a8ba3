// A host program that links TnUpdate itself, as the application does, rather
// than the library's objects: it makes a CUpdater and runs an update on a
// real folder tree through the library's exported entry.

#include "platform/file_system.h"
#include "tests/support/test_frame.h"
#include "update/updater.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <sstream>

namespace tern::test {
namespace {

namespace fs = std::filesystem;

class HostProgram : public ::testing::Test {
protected:
    void SetUp() override {
        put("install/ja/version.xml", "<Versions><Main>2016.1</Main></Versions>");
        put("install/Config/InitialSet/Draw_Common.xml", "<DrawCommon/>");
        put("install/Templates/Layer/Standard.xml", "<LayerTemplate Name=\"new\"/>");
        put("definition.xml", "<Update_Data/>");
        frame.useFolders(system("install/"), system("profile/PLX/OrvoLumen/OrvoLumen/2016_x64/"),
                         system("profile/UserData/2016_x64/"));
    }
    void TearDown() override { fs::remove_all(root); }

    void put(const std::string& relative, const std::string& text) {
        fs::create_directories((root / relative).parent_path());
        std::ofstream(root / relative, std::ios::binary) << text;
    }
    std::string read(const std::string& relative) const {
        std::ostringstream text;
        text << std::ifstream(root / relative, std::ios::binary).rdbuf();
        return text.str();
    }
    std::wstring system(const std::string& relative) const { return platform::toSystemPath(root / relative); }
    int run(update::CUpdater& updater) { return updater.run(system("definition.xml").c_str(), frame, true); }

    // A folder of its own, even when two build trees run this test at once.
    static fs::path freshFolder() {
        const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        std::random_device random;
        for (;;) {
            const fs::path folder = fs::temp_directory_path() / ("tn-host-" + name + "-" + std::to_string(random()));
            if (fs::create_directories(folder))
                return folder;
        }
    }

    const fs::path root = freshFolder();
    TestFrame frame;
};

TEST_F(HostProgram, RunsAnUpdateThroughTheLibrary_AsTheApplicationDoes) {
    auto updater = std::make_unique<update::CUpdater>();
    EXPECT_EQ(run(*updater), 1);
    for (const char* folder : {"profile/PLX/OrvoLumen/OrvoLumen/2016_x64/Config", "profile/UserData/2016_x64/WorkData",
                               "profile/UserData/2016_x64/Templates/Layer"})
        EXPECT_TRUE(fs::is_directory(root / folder)) << folder;
    EXPECT_EQ(read("profile/PLX/OrvoLumen/OrvoLumen/2016_x64/InitialConfig/Draw_Common.xml"), "<DrawCommon/>");
    EXPECT_EQ(read("profile/UserData/2016_x64/Templates/Layer/Standard.xml"), "<LayerTemplate Name=\"new\"/>");
    EXPECT_EQ(run(*updater), 0) << "the second run finds everything in place";
}

TEST_F(HostProgram, GetsMinusOne_AndNoFolders_WhenTheProfileIsNotBelowTheVendorFolder) {
    frame.appDataFolder = system("profile/Elsewhere/2016_x64/");
    update::CUpdater updater;
    EXPECT_EQ(run(updater), -1);
    EXPECT_FALSE(fs::exists(root / "profile"));
}

} // namespace
} // namespace tern::test
