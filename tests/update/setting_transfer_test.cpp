// CUpdater::transferSetting on real folder trees: what it copies from a
// previous release, which releases' settings it converts, and how each
// conversion leaves the running release's files.

#include "platform/file_system.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_frame.h"
#include "tests/update/run_recorder.h"
#include "update/updater.h"

#include <gtest/gtest.h>

#include <thread>

namespace tern::update {
namespace {

namespace fs = std::filesystem;
using test::readFile;
using test::Tree;
using test::treeOf;
using test::writeFile;

struct TransferringUpdater : CUpdater {
    using CUpdater::transferSetting;
};

constexpr platform::FileTime longAgo = 126444736000000000; // 2001-09-09

const std::string installedColors = "<ColorSetting Version=\"3\"><Color No=\"0\" Value=\"16777215\"/>"
                                    "<Color No=\"1\" Value=\"255\"/><Color No=\"2\" Value=\"0\"/></ColorSetting>";
const std::string whiteDisplay = "<UserDisplay BackColor=\"16777215\"/>";
const std::string blackDisplay = "<UserDisplay BackColor=\"0\"/>";

class SettingTransferTest : public ::testing::Test {
protected:
    void SetUp() override {
        frame.useFolders(temp.system("install/"), temp.system(currentApp), temp.system(currentUser));
        frame.useSettingFiles();
        writeFile(temp.native("install/Config/InitialSet/System_Color.xml"), installedColors);
        startOver();
    }

    // Empties this release's folders, as before a first run.
    void startOver() {
        fs::remove_all(temp.native(currentApp));
        fs::remove_all(temp.native(currentUser));
        for (const char* folder : {"Config", "InitialConfig"})
            test::makeFolder(current(folder));
        for (const char* folder : {"WorkData", "Templates"})
            test::makeFolder(temp.native(currentUser + folder));
    }

    // The previous release's version file; an empty version writes none.
    void previousVersion(const std::string& version) {
        fs::remove(previous("version.xml"));
        if (!version.empty())
            writeFile(previous("version.xml"), "<Versions><Main>" + version + "</Main></Versions>");
    }

    // A previous settings file, written long ago, as the copy keeps it.
    void previousSetting(const std::string& name, const std::string& bytes) {
        writeFile(previous("Config/" + name), bytes);
        ASSERT_TRUE(platform::setFileStatus(platform::toSystemPath(previous("Config/" + name)),
                                            {longAgo, platform::attrNormal}));
    }

    // Runs the transfer on a thread of its own, where COM is not open: each
    // settings file must be opened in an apartment of its own.
    bool transfer(const std::wstring& previousUser, bool copyTemplates = true) {
        bool result = false;
        std::thread([&] {
            result =
                updater.transferSetting(temp.system(previousApp).c_str(), previousUser.c_str(), frame, copyTemplates);
        }).join();
        return result;
    }
    bool transfer() { return transfer(temp.system(previousUser)); }

    fs::path current(const std::string& relative) const { return temp.native(currentApp + relative); }
    fs::path previous(const std::string& relative) const { return temp.native(previousApp + relative); }
    std::string setting(const std::string& name) const { return readFile(current("Config/" + name)); }

    // This release's setting holds `after`; an empty `after` means it is the
    // previous one's copy, `before`, and was not rewritten.
    void expectSetting(const std::string& name, const std::string& before, const std::string& after) const {
        EXPECT_EQ(setting(name), after.empty() ? before : after) << before;
        if (after.empty()) {
            EXPECT_EQ(lastWriteOf(current("Config/" + name)), longAgo) << before;
        }
    }

    static platform::FileTime lastWriteOf(const fs::path& path) {
        platform::FileStatus status;
        EXPECT_TRUE(platform::getFileStatus(platform::toSystemPath(path), status)) << path;
        return status.lastWrite;
    }

    const std::string previousApp = "PLX/OrvoLumen/OrvoLumen/2012_x64/";
    const std::string previousUser = "UserData/2012_x64/";
    const std::string currentApp = "PLX/OrvoLumen/OrvoLumen/2016_x64/";
    const std::string currentUser = "UserData/2016_x64/";
    test::TempFolder temp;
    test::TestFrame frame;
    TransferringUpdater updater;
};

// --- What is copied ------------------------------------------------------

TEST_F(SettingTransferTest, ConfigFiles_AreCopiedWhereTheReleaseLacksThem_ButNotTheLayoutFileNorFolders) {
    previousVersion("2015.0");
    writeFile(previous("Config/Display.xml"), "<Layout/>");
    writeFile(previous("Config/Draw_Common.xml"), "<DrawCommon/>");
    writeFile(previous("Config/EopRegSetting.xml"), "<EopRegSetting Old=\"1\"/>");
    writeFile(previous("Config/Sub/Inner.xml"), "<Inner/>");
    writeFile(current("Config/EopRegSetting.xml"), "<EopRegSetting Mine=\"1\"/>");
    EXPECT_TRUE(transfer());
    EXPECT_EQ(treeOf(current("Config")),
              (Tree{"Draw_Common.xml=<DrawCommon/>", "EopRegSetting.xml=<EopRegSetting Mine=\"1\"/>"}));

    // Only the exact name is the layout file.
    startOver();
    fs::remove(previous("Config/Display.xml"));
    writeFile(previous("Config/display.xml"), "<Layout/>");
    EXPECT_TRUE(transfer());
    EXPECT_EQ(setting("display.xml"), "<Layout/>");
}

TEST_F(SettingTransferTest, WorkDataAndTemplates_ComeFromTheUserFolder_OrThePreviousFolderWithoutOne) {
    previousVersion("2015.0");
    for (const std::string& from : {previousUser, previousApp}) {
        writeFile(temp.native(from + "WorkData/Site.xml"), from);
        writeFile(temp.native(from + "Templates/Layer/Standard.xml"), from);
    }
    const struct {
        std::wstring previousUser;
        bool copyTemplates;
        std::string from;
        Tree templates;
    } cases[] = {
        {temp.system(previousUser), true, previousUser, {"Layer/", "Layer/Standard.xml=" + previousUser}},
        {L"", true, previousApp, {"Layer/", "Layer/Standard.xml=" + previousApp}},
        {temp.system(previousUser), false, previousUser, {}},
    };
    for (const auto& c : cases) {
        startOver();
        writeFile(temp.native(currentUser + "WorkData/Mine.xml"), "mine");
        EXPECT_TRUE(transfer(c.previousUser, c.copyTemplates));
        EXPECT_EQ(treeOf(temp.native(currentUser + "WorkData")), (Tree{"Mine.xml=mine", "Site.xml=" + c.from}));
        EXPECT_EQ(treeOf(temp.native(currentUser + "Templates")), c.templates);
    }
}

TEST_F(SettingTransferTest, NoPreviousFolder_OrOneThatIsTheReleasesOwn_YieldsFalse_AndCopiesNothing) {
    previousVersion("2012.5");
    previousSetting("Draw_Common.xml", "<DrawCommon Color=\"0\"/>");
    writeFile(temp.native(previousUser + "WorkData/Site.xml"), "site");
    EXPECT_FALSE(updater.transferSetting(nullptr, L"", frame, true));
    EXPECT_FALSE(updater.transferSetting(L"", temp.system(previousUser).c_str(), frame, true));
    EXPECT_FALSE(updater.transferSetting(frame.appDataFolder.c_str(), temp.system(previousUser).c_str(), frame));
    EXPECT_FALSE(updater.transferSetting(temp.system(previousApp).c_str(), frame.userDataFolder.c_str(), frame));
    EXPECT_EQ(treeOf(temp.native(currentApp)), (Tree{"Config/", "InitialConfig/"}));
    EXPECT_EQ(treeOf(temp.native(currentUser)), (Tree{"Templates/", "WorkData/"}));
}

// --- Which releases are converted -----------------------------------------

TEST_F(SettingTransferTest, OnlySettingsOfReleasesUpTo2012_9_AreConverted) {
    previousSetting("Draw_Common.xml", "<DrawCommon Color=\"0\"/>");
    previousSetting("User_Display.xml", whiteDisplay);
    const std::pair<std::string, bool> cases[] = {
        {"2013.0", false}, {"2012.10", false}, {"2011.10", false},
        {"2012.9", true},  {"2010.0", true},   {"", true}, // no version file: the folder's name, 2012, counts
    };
    for (const auto& [version, converted] : cases) {
        startOver();
        previousVersion(version);
        EXPECT_TRUE(transfer()) << version;
        EXPECT_EQ(setting("Draw_Common.xml"),
                  converted ? "<DrawCommon Color=\"16777215\"/>" : "<DrawCommon Color=\"0\"/>")
            << version;
    }
}

// --- The conversions --------------------------------------------------------

TEST_F(SettingTransferTest, EopRegSettings_AreExchangedWhenMoreAreBlackThanWhite_AndOtherwiseNotRewritten) {
    previousVersion("2012.5");
    previousSetting("User_Display.xml", blackDisplay);
    const std::pair<std::string, std::string> cases[] = {
        {"<EopReg Color=\"0\"><Mark LineColor=\"0\" BackColor=\"16777215\"/></EopReg>",
         "<EopReg Color=\"16777215\"><Mark LineColor=\"16777215\" BackColor=\"0\"/></EopReg>"},
        {"<EopReg Color=\"0\"><Mark BackColor=\"16777215\"/></EopReg>", ""},
        {"<EopReg Color=\"16777215\"/>", ""},
        {"<EopReg/>", ""},
    };
    for (const auto& [before, after] : cases) {
        startOver();
        previousSetting("EopRegSetting.xml", before);
        EXPECT_TRUE(transfer());
        expectSetting("EopRegSetting.xml", before, after);
    }
}

TEST_F(SettingTransferTest, OutdatedColorTable_IsRebuiltFromTheInstalledOne_WithTheUsersColors_AndWrittenWhenSwapped) {
    previousVersion("2012.5");
    previousSetting("User_Display.xml", blackDisplay);
    previousSetting("System_Color.xml",
                    "<ColorSetting Version=\"2\"><Color No=\"0\" Value=\"0\"/>"
                    "<Color No=\"1\" Value=\"65280\" User=\"1\"/><Color No=\"3\" Value=\"8\" User=\"true\"/>"
                    "<Color No=\"5\" Value=\"16777215\" User=\"1\"/></ColorSetting>");
    EXPECT_TRUE(transfer());
    EXPECT_EQ(readFile(current("InitialConfig/System_Color.xml")), installedColors);
    EXPECT_EQ(setting("System_Color.xml"), "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                           "<ColorSetting Version=\"3\">\n"
                                           "  <Color No=\"0\" Value=\"0\"/>\n"
                                           "  <Color No=\"1\" Value=\"65280\" User=\"1\"/>\n"
                                           "  <Color No=\"2\" Value=\"16777215\"/>\n"
                                           "  <Color No=\"5\" Value=\"0\" User=\"1\"/>\n"
                                           "</ColorSetting>\n");

    // An installed table that is not exchanged leaves the user's as it was.
    startOver();
    writeFile(temp.native("install/Config/InitialSet/System_Color.xml"),
              "<ColorSetting Version=\"3\"><Color No=\"0\" Value=\"0\"/></ColorSetting>");
    EXPECT_TRUE(transfer());
    expectSetting("System_Color.xml", readFile(previous("Config/System_Color.xml")), "");
}

TEST_F(SettingTransferTest, InitialColorTable_IsReplacedWhenOutdated_EvenReadOnly_AndKeptWhenCurrent) {
    previousVersion("2012.5");
    previousSetting("System_Color.xml", "<ColorSetting Version=\"1\"/>");
    writeFile(current("InitialConfig/System_Color.xml"), "<ColorSetting Version=\"2\"/>");
    test::setReadOnly(current("InitialConfig/System_Color.xml"), true);
    EXPECT_TRUE(transfer());
    EXPECT_EQ(readFile(current("InitialConfig/System_Color.xml")), installedColors);
    std::uint32_t installed = 0, replaced = 0;
    ASSERT_TRUE(platform::getAttributes(temp.system("install/Config/InitialSet/System_Color.xml"), installed));
    ASSERT_TRUE(platform::getAttributes(platform::toSystemPath(current("InitialConfig/System_Color.xml")), replaced));
    EXPECT_EQ(replaced, installed);

    startOver();
    const std::string current3 = "<ColorSetting Version=\"3\"><Color No=\"0\" Value=\"0\"/></ColorSetting>";
    writeFile(current("InitialConfig/System_Color.xml"), current3);
    EXPECT_TRUE(transfer());
    EXPECT_EQ(readFile(current("InitialConfig/System_Color.xml")), current3);
}

TEST_F(SettingTransferTest, CurrentColorTable_IsWrittenOnlyWhenSwapped_AndReplacedByTheInitialOneWhenItDoesNotLoad) {
    previousVersion("2012.5");
    writeFile(current("InitialConfig/System_Color.xml"),
              "<ColorSetting Version=\"3\"><Color No=\"0\" Value=\"16777215\" User=\"1\"/></ColorSetting>");
    const std::string written = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<ColorSetting Version=\"3\">\n"
                                "  <Color No=\"0\" Value=\"0\"/>\n</ColorSetting>\n";
    const std::pair<std::string, std::string> cases[] = {
        {"<ColorSetting Version=\"3\"><Color No=\"0\" Value=\"16777215\"/></ColorSetting>", written},
        {"<ColorSetting Version=\"4\"><Color No=\"0\" Value=\"0\"/></ColorSetting>", ""},
        // Unreadable, the table is taken from the initial copy, exchanged.
        {"<ColorSetting Version=\"3\"><Color No=\"0\"/></ColorSetting>",
         "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<ColorSetting Version=\"3\">\n"
         "  <Color No=\"0\" Value=\"0\" User=\"1\"/>\n</ColorSetting>\n"},
    };
    for (const auto& [before, after] : cases) {
        previousSetting("System_Color.xml", before);
        fs::remove(current("Config/System_Color.xml"));
        EXPECT_TRUE(transfer());
        expectSetting("System_Color.xml", before, after);
    }
}

TEST_F(SettingTransferTest, DrawingSettings_AreExchangedOnAWhiteDisplay_PastFilesThatDoNotLoadOrCannotBeWritten) {
    previousVersion("2012.5");
    const char* names[] = {
        "Draw_Common.xml",       "Draw_Dimension.xml",   "Draw_String.xml",          "Draw_PullLine.xml",
        "Draw_Polygon.xml",      "Draw_Raster.xml",      "Draw_ImagineElements.xml", "Draw_WriteInRed.xml",
        "Convert_Csv.xml",       "Convert_Sima.xml",     "Convert_Sxf.xml",          "Control_BasePoint.xml",
        "System_PaperFrame.xml", "System_LineWidth.xml", "System_Hatching.xml",
    };
    for (const char* name : names)
        previousSetting(name, "<S Color=\"0\"/>");
    previousSetting("User_Display.xml", "<UserDisplay BackColor=\"16777215\" GridColor=\"0\"/>");
    previousSetting("Draw_PullLine.xml", "<S Color=\"0\">");
    previousSetting("Draw_Raster.xml", "<S Color=\"128\"/>");
    previousSetting("System_Color.xml", "<ColorSetting Version=\"3\"/>");
    test::setReadOnly(previous("Config/Convert_Sxf.xml"), true);
    frame.lineWidthSetting.clear(); // the host has no such file: skipped
    const Tree previousTree = treeOf(temp.native(previousApp));

    EXPECT_TRUE(transfer());
    const std::string exchanged = "=<S Color=\"16777215\"/>";
    EXPECT_EQ(
        treeOf(current("Config")),
        (Tree{"Control_BasePoint.xml" + exchanged, "Convert_Csv.xml" + exchanged, "Convert_Sima.xml" + exchanged,
              "Convert_Sxf.xml=<S Color=\"0\"/> (read-only)", "Draw_Common.xml" + exchanged,
              "Draw_Dimension.xml" + exchanged, "Draw_ImagineElements.xml" + exchanged, "Draw_Polygon.xml" + exchanged,
              "Draw_PullLine.xml=<S Color=\"0\">", "Draw_Raster.xml=<S Color=\"128\"/>", "Draw_String.xml" + exchanged,
              "Draw_WriteInRed.xml" + exchanged, "System_Color.xml=<ColorSetting Version=\"3\"/>",
              "System_Hatching.xml" + exchanged, "System_LineWidth.xml=<S Color=\"0\"/>",
              "System_PaperFrame.xml" + exchanged,
              "User_Display.xml=<UserDisplay BackColor=\"0\" GridColor=\"16777215\"/>"}));
    EXPECT_EQ(lastWriteOf(current("Config/Draw_Raster.xml")), longAgo);
    EXPECT_EQ(treeOf(temp.native(previousApp)), previousTree);
}

TEST_F(SettingTransferTest, DrawingSettings_StayAsTheyWere_UnlessTheDisplayIsExactlyWhite) {
    previousVersion("2012.5");
    previousSetting("Draw_Common.xml", "<S Color=\"0\"/>");
    previousSetting("EopRegSetting.xml", "<EopReg Color=\"0\"/>");
    for (const std::string display :
         {"<UserDisplay BackColor=\"16777214\"/>", "<UserDisplay BackColor=\"0\"/>", "<UserDisplay/>", ""}) {
        SCOPED_TRACE(display);
        startOver();
        fs::remove(previous("Config/User_Display.xml"));
        if (!display.empty())
            previousSetting("User_Display.xml", display);
        EXPECT_TRUE(transfer());
        expectSetting("Draw_Common.xml", "<S Color=\"0\"/>", "");
        EXPECT_EQ(setting("EopRegSetting.xml"), "<EopReg Color=\"16777215\"/>");
    }
}

// The run report hears each file the transfer copies and each settings file
// the conversion writes, or could not write and keeps.
TEST_F(SettingTransferTest, Report_TellsEachFileCopied_AndEachConvertedFileWrittenOrKept) {
    previousVersion("2012.5");
    previousSetting("User_Display.xml", whiteDisplay);
    previousSetting("Draw_Common.xml", "<S Color=\"0\"/>");
    previousSetting("Convert_Sxf.xml", "<S Color=\"0\"/>");
    test::setReadOnly(previous("Config/Convert_Sxf.xml"), true);
    test::RunRecorder recorder(temp);
    EXPECT_TRUE(transfer());
    const std::string from = previousApp + "Config/";
    const std::string to = currentApp + "Config/";
    // The colour table is missing: rebuilt from the installed one, whose
    // white first colour makes it exchanged and written.
    EXPECT_EQ(recorder.take(),
              (std::vector<std::string>{
                  "fileCopied " + to + "Convert_Sxf.xml <- " + from + "Convert_Sxf.xml",
                  "fileCopied " + to + "Draw_Common.xml <- " + from + "Draw_Common.xml",
                  "fileCopied " + to + "User_Display.xml <- " + from + "User_Display.xml",
                  "fileWritten " + currentApp +
                      "InitialConfig/System_Color.xml <- install/Config/InitialSet/System_Color.xml",
                  "fileWritten " + to + "System_Color.xml",
                  "fileWritten " + to + "Draw_Common.xml",
                  "fileNotWritten " + to +
                      "Convert_Sxf.xml (it could not be saved (read-only, or the write failed): the old file is kept)",
                  "fileWritten " + to + "User_Display.xml",
              }));
    EXPECT_EQ(setting("Convert_Sxf.xml"), "<S Color=\"0\"/>");
}

} // namespace
} // namespace tern::update
