// CUpdater::run on real folder trees: the vendor check, the folders it makes,
// the shipped files it copies and refreshes, and its result.

#include "tests/support/temp_folder.h"
#include "tests/support/test_frame.h"
#include "update/updater.h"

#include <gtest/gtest.h>

#include <chrono>

namespace tern::update {
namespace {

namespace fs = std::filesystem;
using test::isReadOnly;
using test::readFile;
using test::setReadOnly;
using test::TempFolder;
using test::writeFile;

struct InspectableUpdater : CUpdater {
    using CUpdater::civicEdition;
    using CUpdater::hasCivicFolder;
    using CUpdater::hasCurrentFolder;
    using CUpdater::hasLumenFolder;
    using CUpdater::hasOrvo2012Folder;
    using CUpdater::hasOrvoFolder;
    using CUpdater::hasPatronFolder;
    using CUpdater::hasVistaFolder;
    using CUpdater::major;
    using CUpdater::minor;
    using CUpdater::patronEdition;
    using CUpdater::vendorRoot;
    using CUpdater::versionText;
};

class UpdaterRunTest : public ::testing::Test {
protected:
    void SetUp() override {
        writeFile(temp.native("install/ja/version.xml"), "<Versions><Main>2016.1</Main></Versions>");
        writeFile(temp.native("install/Config/InitialSet/Draw_Common.xml"), "<DrawCommon/>");
        writeFile(temp.native("install/Config/InitialSet/EopRegSetting.xml"), "<EopRegSetting/>");
        fs::create_directories(temp.native("install/Config/InitialSet/NotAFile"));
        writeFile(temp.native("install/Templates/Layer/Standard.xml"), "<LayerTemplate Name=\"new\"/>");
        writeFile(temp.native("install/Templates/Layer/readme.txt"), "not a template");
        writeFile(temp.native("definition.xml"), "<Update_Data/>");
        useAppData("root/PLX/OrvoLumen/OrvoLumen/2016_x64/");
    }

    void useAppData(const std::string& relative) {
        frame.installFolder = frame.resourceFolder = temp.system("install/");
        frame.appDataFolder = temp.system(relative);
        frame.userDataFolder = temp.system("root/UserData/2016_x64/");
        frame.initialConfigFolder = frame.appDataFolder + L"InitialConfig\\";
        frame.templateFolder = frame.userDataFolder + L"Templates\\";
        frame.settingFolder = frame.appDataFolder + L"Config\\";
    }

    int run(const std::wstring& definition) { return updater.run(definition.c_str(), frame, true); }
    int run() { return run(temp.system("definition.xml")); }

    fs::path appData(const std::string& relative = "") const {
        return temp.native("root/PLX/OrvoLumen/OrvoLumen/2016_x64/" + relative);
    }
    fs::path userTemplate() const { return temp.native("root/UserData/2016_x64/Templates/Layer/Standard.xml"); }
    void age(const fs::path& path, std::chrono::hours by) {
        fs::last_write_time(path, fs::last_write_time(path) - by);
    }

    TempFolder temp;
    test::TestFrame frame;
    InspectableUpdater updater;
};

TEST_F(UpdaterRunTest, Run_FailsWithoutDefinitionPath_AndMakesNoFolder) {
    EXPECT_EQ(updater.run(nullptr, frame, true), -1);
    EXPECT_EQ(run(L""), -1);
    EXPECT_FALSE(fs::exists(temp.native("root")));
}

TEST_F(UpdaterRunTest, Run_FailsWhenAppDataIsNotThreeLevelsBelowPLX) {
    for (const char* appData : {"root/PLX/OrvoLumen/OrvoLumen/2016_x64", "root/plx/OrvoLumen/OrvoLumen/2016_x64/",
                                "root/PLX/OrvoLumen/2016_x64/", "root/PLX/A/B/C/2016_x64/"}) {
        useAppData(appData);
        EXPECT_EQ(run(), -1) << appData;
        EXPECT_TRUE(updater.vendorRoot.empty()) << appData;
    }
    frame.appDataFolder = L"";
    EXPECT_EQ(run(), -1);
    EXPECT_FALSE(fs::exists(temp.native("root")));
}

TEST_F(UpdaterRunTest, FirstRun_MakesTheReleaseFolders_AndCopiesTheShippedFiles) {
    EXPECT_EQ(run(), 1);
    for (const char* folder : {"root/PLX/OrvoLumen/OrvoLumen/2016_x64/Config",
                               "root/PLX/OrvoLumen/OrvoLumen/2016_x64/InitialConfig", "root/UserData/2016_x64/WorkData",
                               "root/UserData/2016_x64/Temporary", "root/UserData/2016_x64/BackUp",
                               "root/UserData/2016_x64/Templates/Layer"})
        EXPECT_TRUE(fs::is_directory(temp.native(folder))) << folder;
    EXPECT_EQ(readFile(appData("InitialConfig/Draw_Common.xml")), "<DrawCommon/>");
    EXPECT_EQ(readFile(appData("InitialConfig/EopRegSetting.xml")), "<EopRegSetting/>");
    EXPECT_FALSE(fs::exists(appData("InitialConfig/NotAFile")));
    EXPECT_EQ(readFile(userTemplate()), "<LayerTemplate Name=\"new\"/>");
    EXPECT_FALSE(fs::exists(temp.native("root/UserData/2016_x64/Templates/Layer/readme.txt")));
    EXPECT_FALSE(updater.hasCurrentFolder);
    EXPECT_EQ(updater.vendorRoot, temp.system("root/PLX/"));
}

TEST_F(UpdaterRunTest, SecondRun_FindsNothingToDo) {
    ASSERT_EQ(run(), 1);
    EXPECT_EQ(run(), 0);
    EXPECT_TRUE(updater.hasCurrentFolder);
}

TEST_F(UpdaterRunTest, Run_ReadsTheRunningVersion_OrTakes2012WithoutIt) {
    run();
    EXPECT_EQ(updater.versionText, L"2016.1");
    EXPECT_EQ(updater.major, 2016);
    EXPECT_EQ(updater.minor, 1);

    fs::remove(temp.native("install/ja/version.xml"));
    InspectableUpdater fresh;
    fresh.run(temp.system("definition.xml").c_str(), frame, false);
    EXPECT_EQ(fresh.versionText, L"2012");
    EXPECT_EQ(fresh.major, 2012);
    EXPECT_EQ(fresh.minor, 0);
}

TEST_F(UpdaterRunTest, Run_RecordsEditionsFromTheDefinitionPath) {
    writeFile(temp.native("PatronCivic.xml"), "<Update_Data/>");
    run(temp.system("PatronCivic.xml"));
    EXPECT_TRUE(updater.patronEdition);
    EXPECT_TRUE(updater.civicEdition);
    run(temp.system("definition.xml"));
    EXPECT_FALSE(updater.patronEdition);
    EXPECT_FALSE(updater.civicEdition);
}

TEST_F(UpdaterRunTest, Run_RecordsTheEarlierProductsFolders) {
    for (const char* folder : {"root/PLX/OrvoLumen/OrvoVista", "root/PLX/OrvoLumen/Orvo", "root/PLX/Orvo/Orvo/2012",
                               "root/PLX/OrvoLumen/OrvoPatron", "root/PLX/OrvoLumen/OrvoCivic",
                               "root/PLX/OrvoLumen/OrvoLumenPatron"})
        fs::create_directories(temp.native(folder));
    useAppData("root/PLX/OrvoLumen/OrvoVista/2016_x64/");
    run();
    EXPECT_FALSE(updater.hasLumenFolder);
    EXPECT_TRUE(updater.hasVistaFolder);
    EXPECT_TRUE(updater.hasOrvoFolder);
    EXPECT_TRUE(updater.hasOrvo2012Folder);
    EXPECT_TRUE(updater.hasPatronFolder);
    EXPECT_TRUE(updater.hasCivicFolder);
    EXPECT_TRUE(hasLumenPatronFolder);

    fs::create_directories(temp.native("root/PLX/OrvoLumen/OrvoLumenAtlas"));
    run();
    EXPECT_TRUE(updater.hasLumenFolder);
}

TEST_F(UpdaterRunTest, MissingOrFolderDefinition_StillCopiesTheShippedFiles) {
    EXPECT_EQ(run(temp.system("absent.xml")), 1);
    EXPECT_EQ(run(temp.system("install/")), 0);
    writeFile(temp.native("install/Config/InitialSet/New.xml"), "<New/>");
    EXPECT_EQ(run(temp.system("install")), 1);
}

TEST_F(UpdaterRunTest, InitialSettingsTheUserHas_AreNeverReplaced) {
    writeFile(appData("InitialConfig/Draw_Common.xml"), "<Mine/>");
    age(appData("InitialConfig/Draw_Common.xml"), std::chrono::hours(24 * 365));
    EXPECT_EQ(run(), 1);
    EXPECT_EQ(readFile(appData("InitialConfig/Draw_Common.xml")), "<Mine/>");
}

TEST_F(UpdaterRunTest, LayerTemplateAsNewAsTheShippedOne_StaysUntouched) {
    writeFile(userTemplate(), "<LayerTemplate Name=\"mine\"/>");
    fs::last_write_time(userTemplate(), fs::last_write_time(temp.native("install/Templates/Layer/Standard.xml")));
    run();
    EXPECT_EQ(readFile(userTemplate()), "<LayerTemplate Name=\"mine\"/>");

    fs::last_write_time(userTemplate(), fs::file_time_type::clock::now() + std::chrono::hours(1));
    EXPECT_EQ(run(), 0);
    EXPECT_EQ(readFile(userTemplate()), "<LayerTemplate Name=\"mine\"/>");
}

TEST_F(UpdaterRunTest, OlderLayerTemplate_IsReplaced_AndStaysReadOnly) {
    ASSERT_EQ(run(), 1);
    writeFile(userTemplate(), "<LayerTemplate Name=\"old\"/>");
    age(userTemplate(), std::chrono::hours(48));
    setReadOnly(userTemplate(), true);

    EXPECT_EQ(run(), 1);
    EXPECT_EQ(readFile(userTemplate()), "<LayerTemplate Name=\"new\"/>");
    EXPECT_TRUE(isReadOnly(userTemplate()));
    EXPECT_EQ(fs::last_write_time(userTemplate()), fs::last_write_time(temp.native("install/Templates/Layer/Standard.xml")));
}

TEST_F(UpdaterRunTest, Run_FailsWhenASubFolderCannotBeMade) {
    writeFile(temp.native("root/UserData/2016_x64/Templates"), "a file where a folder belongs");
    EXPECT_EQ(run(), -1);
    EXPECT_EQ(readFile(temp.native("root/UserData/2016_x64/Templates")), "a file where a folder belongs");
}

TEST_F(UpdaterRunTest, Run_FailsForAnAppDataFolderOverThePathLimit) {
    const std::wstring base = temp.system("root/PLX/OrvoLumen/");
    std::string edition(261 - base.size() - 10, 'e');
    useAppData("root/PLX/OrvoLumen/" + edition + "/2016_x64/");
    ASSERT_GT(frame.appDataFolder.size(), 260u);
    EXPECT_EQ(run(), -1);
}

} // namespace
} // namespace tern::update
