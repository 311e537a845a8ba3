// CUpdater::run on real folder trees: the vendor check, the folders it makes,
// the shipped files it copies and refreshes, and its result.

#include "platform/file_system.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_frame.h"
#include "update/updater.h"

#include <gtest/gtest.h>

namespace tern::update {
namespace {

namespace fs = std::filesystem;
using platform::FileTime;
using test::isReadOnly;
using test::readFile;
using test::setReadOnly;
using test::TempFolder;
using test::Tree;
using test::treeOf;
using test::writeFile;

struct InspectableUpdater : CUpdater {
    using CUpdater::civicEdition, CUpdater::patronEdition, CUpdater::vendorRoot;
    using CUpdater::versionText, CUpdater::major, CUpdater::minor;
    using CUpdater::hasCurrentFolder, CUpdater::hasLumenFolder, CUpdater::hasVistaFolder, CUpdater::hasOrvoFolder,
        CUpdater::hasOrvo2012Folder, CUpdater::hasPatronFolder, CUpdater::hasCivicFolder;
};

// Last-write times are read and set through the platform functions, which
// keep them to 100 ns on every platform.
FileTime lastWriteOf(const fs::path& path) {
    platform::FileStatus status;
    EXPECT_TRUE(platform::getFileStatus(platform::toSystemPath(path), status)) << path;
    return status.lastWrite;
}

void setStatus(const fs::path& path, FileTime lastWrite, std::uint32_t attributes) {
    ASSERT_TRUE(platform::setFileStatus(platform::toSystemPath(path), {lastWrite, attributes})) << path;
}

class UpdaterRunTest : public ::testing::Test {
protected:
    void SetUp() override {
        writeFile(temp.native("install/ja/version.xml"), "<Versions><Main>2016.1</Main></Versions>");
        writeFile(temp.native("install/Config/InitialSet/Draw_Common.xml"), "<DrawCommon/>");
        writeFile(temp.native("install/Config/InitialSet/EopRegSetting.xml"), "<EopRegSetting/>");
        test::makeFolder(temp.native("install/Config/InitialSet/NotAFile"));
        writeFile(temp.native("install/Templates/Layer/Standard.xml"), "<LayerTemplate Name=\"new\"/>");
        writeFile(temp.native("install/Templates/Layer/readme.txt"), "not a template");
        writeFile(temp.native("definition.xml"), "<Update_Data/>");
        useAppData("root/PLX/OrvoLumen/OrvoLumen/2016_x64/");
    }

    void useAppData(const std::string& relative) {
        frame.useFolders(temp.system("install/"), temp.system(relative), temp.system("root/UserData/2016_x64/"));
    }

    int run(const std::wstring& definition) { return updater.run(definition.c_str(), frame, true); }
    int run() { return run(temp.system("definition.xml")); }

    fs::path appData(const std::string& relative = "") const {
        return temp.native("root/PLX/OrvoLumen/OrvoLumen/2016_x64/" + relative);
    }
    fs::path userTemplate() const { return temp.native("root/UserData/2016_x64/Templates/Layer/Standard.xml"); }

    TempFolder temp;
    test::TestFrame frame;
    InspectableUpdater updater;
};

TEST_F(UpdaterRunTest, Run_YieldsMinusOne_AndMakesNoFolder_WithoutDefinitionOrWithAnAppDataFolderOutsidePLX) {
    EXPECT_EQ(updater.run(nullptr, frame, true), -1);
    EXPECT_EQ(run(L""), -1);
    // The folder must lie three levels below one named exactly "PLX", and end in a backslash.
    for (const char* appData : {"root/PLX/OrvoLumen/OrvoLumen/2016_x64", "root/plx/OrvoLumen/OrvoLumen/2016_x64/",
                                "root/PLX/OrvoLumen/2016_x64/", "root/PLX/A/B/C/2016_x64/"}) {
        useAppData(appData);
        EXPECT_EQ(run(), -1) << appData;
    }
    frame.appDataFolder.clear();
    EXPECT_EQ(run(), -1);
    EXPECT_FALSE(fs::exists(temp.native("root")));
}

TEST_F(UpdaterRunTest, Run_YieldsMinusOne_ForAnAppDataFolderOverThePathLimit_OrASubFolderThatCannotBeMade) {
    const std::string edition(261 - temp.system("root/PLX/OrvoLumen/").size() - 10, 'e');
    useAppData("root/PLX/OrvoLumen/" + edition + "/2016_x64/");
    ASSERT_EQ(frame.appDataFolder.size(), 261u);
    EXPECT_EQ(run(), -1);

    useAppData("root/PLX/OrvoLumen/OrvoLumen/2016_x64/");
    writeFile(temp.native("root/UserData/2016_x64/Templates"), "a file where a folder belongs");
    EXPECT_EQ(run(), -1);
    EXPECT_EQ(readFile(temp.native("root/UserData/2016_x64/Templates")), "a file where a folder belongs");
}

// A path over the limit cannot be reached, whatever the platform could do:
// a fixed sub-folder there fails the run, a shipped file there is skipped.
TEST_F(UpdaterRunTest, PathsOverTheLimit_FailTheRunForASubFolder_AndSkipAShippedFile) {
    const std::string userData(255 - temp.system("root/").size() - 1, 'u');
    frame.userDataFolder = temp.system("root/" + userData + "/");
    ASSERT_EQ(frame.userDataFolder.size(), 255u); // "Templates\Layer" would end at 270
    EXPECT_EQ(run(), -1);
    EXPECT_FALSE(fs::exists(temp.native("root/" + userData + "/WorkData")));

    useAppData("root/PLX/OrvoLumen/OrvoLumen/2016_x64/");
    const std::string initialConfig(244 - temp.system("root/").size() - 1, 'i');
    frame.initialConfigFolder = temp.system("root/" + initialConfig + "/");
    test::makeFolder(temp.native("root/" + initialConfig));
    ASSERT_EQ(frame.initialConfigFolder.size(), 244u); // "Draw_Common.xml" ends at 259, "EopRegSetting.xml" at 261
    EXPECT_EQ(run(), 1);
    EXPECT_EQ(treeOf(temp.native("root/" + initialConfig)), (Tree{"Draw_Common.xml=<DrawCommon/>"}));
}

TEST_F(UpdaterRunTest, FirstRun_MakesTheReleaseFolders_AndCopiesTheShippedFiles_SecondRunHasNothingToDo) {
    EXPECT_EQ(run(), 1);
    EXPECT_FALSE(updater.hasCurrentFolder);
    EXPECT_EQ(updater.vendorRoot, temp.system("root/PLX/"));
    EXPECT_EQ(treeOf(appData()), (Tree{"Config/", "InitialConfig/", "InitialConfig/Draw_Common.xml=<DrawCommon/>",
                                       "InitialConfig/EopRegSetting.xml=<EopRegSetting/>"}));
    EXPECT_EQ(treeOf(temp.native("root/UserData/2016_x64")),
              (Tree{"BackUp/", "Templates/", "Templates/Layer/",
                    "Templates/Layer/Standard.xml=<LayerTemplate Name=\"new\"/>", "Temporary/", "WorkData/"}));

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

// One earlier product's folder at a time: exactly its own flag is set.
TEST_F(UpdaterRunTest, Run_RecordsEachEarlierProductsFolder_UnderItsOwnFlag) {
    const std::pair<const char*, const char*> cases[] = {
        {"OrvoLumen/OrvoLumen", "Lumen"},        {"OrvoLumen/OrvoLumenAtlas", "Lumen"},
        {"OrvoLumen/OrvoVista", "Vista"},        {"OrvoLumen/Orvo", "Orvo"},
        {"Orvo/Orvo/2012", "Orvo2012"},          {"OrvoLumen/OrvoPatron", "Patron"},
        {"OrvoLumen/OrvoCivic", "Civic"},        {"OrvoLumen/OrvoLumenPatron", "LumenPatron"},
        {"OrvoLumen/OrvoLumenPatronX", ""},      {"Orvo/Orvo/2013", ""},
    };
    useAppData("root/PLX/Other/Other/2016_x64/");
    for (const auto& [folder, flag] : cases) {
        SCOPED_TRACE(folder);
        fs::remove_all(temp.native("root"));
        test::makeFolder(temp.native(std::string("root/PLX/") + folder));
        run();
        const std::pair<const char*, bool> flags[] = {
            {"Lumen", updater.hasLumenFolder},    {"Vista", updater.hasVistaFolder},
            {"Orvo", updater.hasOrvoFolder},      {"Orvo2012", updater.hasOrvo2012Folder},
            {"Patron", updater.hasPatronFolder},  {"Civic", updater.hasCivicFolder},
            {"LumenPatron", hasLumenPatronFolder}};
        std::string set;
        for (const auto& [name, value] : flags)
            if (value)
                set += name;
        EXPECT_EQ(set, flag);
    }
}

TEST_F(UpdaterRunTest, MissingOrFolderDefinition_StillCopiesTheShippedFiles) {
    EXPECT_EQ(run(temp.system("absent.xml")), 1);
    EXPECT_EQ(run(temp.system("install/")), 0);
    writeFile(temp.native("install/Config/InitialSet/New.xml"), "<New/>");
    EXPECT_EQ(run(temp.system("install")), 1);
}

TEST_F(UpdaterRunTest, InitialSettingsTheUserHas_AreNeverReplaced) {
    writeFile(appData("InitialConfig/Draw_Common.xml"), "<Mine/>");
    // 2001-09-09, long before the shipped file was written.
    setStatus(appData("InitialConfig/Draw_Common.xml"), 126444736000000000, platform::attrNormal);
    EXPECT_EQ(run(), 1);
    EXPECT_EQ(readFile(appData("InitialConfig/Draw_Common.xml")), "<Mine/>");
}

TEST_F(UpdaterRunTest, LayerTemplate_IsReplacedOnlyWhenOlderThanTheShippedOne_AndStaysReadOnly) {
    ASSERT_EQ(run(), 1);
    const FileTime shipped = lastWriteOf(temp.native("install/Templates/Layer/Standard.xml"));
    constexpr FileTime hour = 36000000000;
    const std::pair<FileTime, bool> cases[] = {{shipped, false}, {shipped + hour, false}, {shipped - 48 * hour, true}};
    for (const auto& [time, replaced] : cases) {
        SCOPED_TRACE(replaced ? "older" : time == shipped ? "as new" : "newer");
        setReadOnly(userTemplate(), false);
        writeFile(userTemplate(), "<LayerTemplate Name=\"mine\"/>");
        setStatus(userTemplate(), time, platform::attrReadOnly);

        EXPECT_EQ(run(), replaced ? 1 : 0);
        EXPECT_EQ(readFile(userTemplate()),
                  replaced ? "<LayerTemplate Name=\"new\"/>" : "<LayerTemplate Name=\"mine\"/>");
        EXPECT_EQ(lastWriteOf(userTemplate()), replaced ? shipped : time);
        EXPECT_TRUE(isReadOnly(userTemplate()));
    }
}

} // namespace
} // namespace tern::update
