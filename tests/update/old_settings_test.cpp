// CUpdater::deleteOldSetting and forceDeleteLayerTemplates on real release
// folders: what each clears, what it keeps, and that neither reaches through
// a link or out of the folders the host names.

#include "tests/support/temp_folder.h"
#include "tests/support/test_frame.h"
#include "tests/support/working_folder.h"
#include "update/updater.h"

#include <gtest/gtest.h>

namespace tern::update {
namespace {

namespace fs = std::filesystem;
using test::makeFolder;
using test::setReadOnly;
using test::TempFolder;
using test::Tree;
using test::treeOf;
using test::writeFile;

struct CleaningUpdater : CUpdater {
    using CUpdater::deleteOldSetting;
    using CUpdater::forceDeleteLayerTemplates;
};

class OldSettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        frame.appDataFolder = temp.system("app/");
        frame.userDataFolder = temp.system("user/");
        frame.templateFolder = temp.system("user/Templates/");
    }

    void writeReadOnly(const std::string& relative, const std::string& bytes) {
        writeFile(temp.native(relative), bytes);
        setReadOnly(temp.native(relative), true);
    }

    TempFolder temp;
    TempFolder outside;
    test::TestFrame frame;
    CleaningUpdater updater;
};

TEST_F(OldSettingsTest, DeleteOldSetting_DeletesTheFilesOfItsThreeFolders_KeepingSubFoldersAndReadOnlyFiles) {
    writeFile(temp.native("app/Config/Display.xml"), "<Display/>");
    writeReadOnly("app/Config/Draw_Common.xml", "<DrawCommon/>");
    writeFile(temp.native("app/Config/Saved/Display.xml"), "<Display/>");
    writeFile(temp.native("app/InitialConfig/Draw_Common.xml"), "<DrawCommon/>");
    writeFile(temp.native("app/version.xml"), "<Versions/>");
    writeFile(temp.native("user/WorkData/Site-A.xml"), "<Site/>");
    writeFile(temp.native("user/WorkData/Sites/Site-B.xml"), "<Site/>");
    writeFile(temp.native("user/Templates/Layer/Standard.xml"), "<LayerTemplate/>");

    updater.deleteOldSetting(frame);
    EXPECT_EQ(treeOf(temp.path()),
              (Tree{"app/", "app/Config/", "app/Config/Draw_Common.xml=<DrawCommon/> (read-only)", "app/Config/Saved/",
                    "app/Config/Saved/Display.xml=<Display/>", "app/InitialConfig/", "app/version.xml=<Versions/>",
                    "user/", "user/Templates/", "user/Templates/Layer/",
                    "user/Templates/Layer/Standard.xml=<LayerTemplate/>", "user/WorkData/", "user/WorkData/Sites/",
                    "user/WorkData/Sites/Site-B.xml=<Site/>"}));
}

TEST_F(OldSettingsTest, DeleteOldSetting_EmptiesTheOtherFolders_WhenOneIsMissing) {
    writeFile(temp.native("app/Config/Display.xml"), "<Display/>");
    writeFile(temp.native("user/WorkData/Site-A.xml"), "<Site/>");

    updater.deleteOldSetting(frame);
    EXPECT_EQ(treeOf(temp.path()), (Tree{"app/", "app/Config/", "user/", "user/WorkData/"}));
}

TEST_F(OldSettingsTest, ForceDeleteLayerTemplates_EmptiesTheUsersLayerFolder_ReadOnlyTemplatesIncluded) {
    writeReadOnly("user/Templates/Layer/Standard.xml", "<LayerTemplate/>");
    writeFile(temp.native("user/Templates/Layer/Survey.xml"), "<LayerTemplate/>");
    writeFile(temp.native("user/Templates/Layer/Old/Deeper/Roads.xml"), "<LayerTemplate/>");
    // Further down, the read-only override does not reach: the file and its folder stay.
    writeReadOnly("user/Templates/Layer/Locked/Rivers.xml", "<LayerTemplate/>");
    writeFile(temp.native("user/Templates/Sheet.xml"), "<Sheet/>");
    // Templates kept below the application-data folder are no layer templates of the user's.
    writeFile(temp.native("app/Templates/Layer/Standard.xml"), "<LayerTemplate/>");

    updater.forceDeleteLayerTemplates(frame);
    EXPECT_EQ(treeOf(temp.path()),
              (Tree{"app/", "app/Templates/", "app/Templates/Layer/",
                    "app/Templates/Layer/Standard.xml=<LayerTemplate/>", "user/", "user/Templates/",
                    "user/Templates/Layer/", "user/Templates/Layer/Locked/",
                    "user/Templates/Layer/Locked/Rivers.xml=<LayerTemplate/> (read-only)",
                    "user/Templates/Sheet.xml=<Sheet/>"}));
}

TEST_F(OldSettingsTest, CleanUp_NeverFollowsALinkOutOfTheFolder) {
    writeFile(outside.native("Shared/canary.xml"), "<Canary/>");
    writeFile(outside.native("note.xml"), "<Note/>");
    const Tree outsideTree{"Shared/", "Shared/canary.xml=<Canary/>", "note.xml=<Note/>"};
    makeFolder(temp.native("app/Config"));
    makeFolder(temp.native("user/Templates/Layer/Sub"));
    for (const char* folder : {"app/Config/", "user/Templates/Layer/", "user/Templates/Layer/Sub/"}) {
        fs::create_directory_symlink(outside.native("Shared"), temp.native(folder) / "ToShared");
        fs::create_symlink(outside.native("note.xml"), temp.native(folder) / "note.xml");
    }

    updater.deleteOldSetting(frame);
    updater.forceDeleteLayerTemplates(frame);
    // The link to a folder counts as a sub-folder where sub-folders stay;
    // every other link goes as an entry of its own.
    EXPECT_EQ(treeOf(temp.path()),
              (Tree{"app/", "app/Config/", "app/Config/ToShared@", "user/", "user/Templates/",
                    "user/Templates/Layer/"}));
    EXPECT_EQ(treeOf(outside.path()), outsideTree);
}

TEST_F(OldSettingsTest, CleanUp_DeletesNothing_WhenTheHostNamesNoFolder) {
    // Without the host's folders, the names alone would reach the working folder.
    const Tree work{"Config/", "Config/Display.xml=<Display/>", "InitialConfig/", "InitialConfig/a.xml=<A/>", "Layer/",
                    "Layer/Standard.xml=<LayerTemplate/>", "WorkData/", "WorkData/Site-A.xml=<Site/>"};
    writeFile(temp.native("work/Config/Display.xml"), "<Display/>");
    writeFile(temp.native("work/InitialConfig/a.xml"), "<A/>");
    writeFile(temp.native("work/Layer/Standard.xml"), "<LayerTemplate/>");
    writeFile(temp.native("work/WorkData/Site-A.xml"), "<Site/>");
    ASSERT_EQ(treeOf(temp.native("work")), work);
    frame.appDataFolder.clear();
    frame.userDataFolder.clear();
    frame.templateFolder.clear();

    {
        const test::WorkingFolder inWork(temp.native("work"));
        updater.deleteOldSetting(frame);
        updater.forceDeleteLayerTemplates(frame);
    }
    EXPECT_EQ(treeOf(temp.native("work")), work);
}

} // namespace
} // namespace tern::update
