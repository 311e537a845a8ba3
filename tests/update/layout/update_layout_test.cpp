// CUpdater::updateLayout on real release folders: which entries apply, what is
// copied, edited and written into this release's folder, and that the source
// release's own files never change.

#include "platform/text.h"
#include "tests/support/working_folder.h"
#include "tests/update/layout/layout_fixture.h"
#include "update/updater.h"

#include <gtest/gtest.h>

namespace tern::update {
namespace {

namespace fs = std::filesystem;
using layout::LayoutTable;
using test::readFile;
using test::setReadOnly;
using test::Tree;
using test::treeOf;
using test::writeFile;

struct LayoutUpdater : CUpdater {
    using CUpdater::tables;
    using CUpdater::updateLayout;
};

const char* const previousFolder = "PLX/OrvoLumen/OrvoLumen/2015_x64/";
const char* const currentFolder = "PLX/OrvoLumen/OrvoLumen/2016_x64/";

// Entries newest first. 2015.2 makes the group "Shapes" that 2016.0 fills,
// and both edit Draw_Common.xml; 2015.0 edits a file of its own.
const char* const definition = R"(<Update_Data>
  <Update ver="2016.0">
    <Layout>
      <Command SID="ID_DRAW_ARC">
        <Ribbon Tab="Home" Group="Draw"/><Ribbon Mode="3dMode" Tab="Home" Group="Draw"/>
      </Command>
      <Command SID="ID_DRAW_SPLINE"><Ribbon Tab="Home" Group="Shapes"/></Command>
    </Layout>
    <Setting Path="Config\Draw_Common.xml"><IfN XPath="Ortho"><AddNode XPath=".">  <Ortho/>
</AddNode></IfN></Setting>
  </Update>
  <Update ver="2015.2">
    <Layout><MakeGroup Tab="Home" Name="Shapes"/></Layout>
    <Setting Path="Config\Draw_Common.xml"><IfN XPath="Grid"><AddNode XPath=".">  <Grid/>
</AddNode></IfN></Setting>
  </Update>
  <Update ver="2015.0">
    <Layout><Command SID="ID_FILE_SAVE"><Menu Path="File"/></Command></Layout>
    <Setting Path="Config\EopRegSetting.xml"><IfN XPath="AutoSave"><AddNode XPath=".">  <AutoSave/>
</AddNode></IfN></Setting>
  </Update>
</Update_Data>
)";

// A normal mode's ribbon group "Draw" and menu, as the layout file writes
// them; `group` is the group's extra controls, `groups` the tab's extra groups.
std::string normalMode(const std::string& group = "", const std::string& groups = "") {
    return R"(    <LayoutMode Name="Normal">
      <Ribbon>
        <Tab Id="1" Caption="Home">
          <Group Id="2" Caption="Draw">
            <Control SID="ID_DRAW_LINE" Caption="Line"/>
)" + group + R"(          </Group>
)" + groups + R"(        </Tab>
      </Ribbon>
      <Menu>
        <Popup Caption="File">
          <Command SID="ID_FILE_OPEN" Caption="Open"/>
        </Popup>
      </Menu>
    </LayoutMode>
)";
}

// Two layout types: "Standard" with a normal and a 3D mode, "Compact" with a
// normal mode only.
std::string display(const std::string& normal, const std::string& standard3dGroup = "") {
    return R"(<?xml version="1.0" encoding="UTF-8"?>
<Display>
  <LayoutType Name="Standard">
)" + normal + R"(    <LayoutMode Name="3D">
      <Ribbon>
        <Tab Id="1" Caption="Home">
          <Group Id="2" Caption="Draw">
            <Control SID="ID_DRAW_LINE" Caption="Line"/>
)" + standard3dGroup +
           R"(          </Group>
        </Tab>
      </Ribbon>
      <Menu/>
    </LayoutMode>
  </LayoutType>
  <LayoutType Name="Compact">
)" + normal + R"(  </LayoutType>
</Display>
)";
}

const std::string arc = "            <Control SID=\"ID_DRAW_ARC\" Caption=\"Arc\"/>\n";
// The layout once entry 2016.0 alone has been applied: the arc in every
// "Draw" group; no "Shapes" group for the spline, since 2015.2 did not run.
const std::string layoutOf2016Only = display(normalMode(arc), arc);

const std::string drawCommon = "<DrawCommon>\n  <Snap Enabled=\"true\"/>\n</DrawCommon>\n";
const std::string eopRegSetting = "<EopRegSetting>\n</EopRegSetting>\n";

class UpdateLayoutTest : public test::LayoutFixture {
protected:
    void SetUp() override {
        LayoutFixture::SetUp();
        writeFile(folder.native("install/Update.xml"), definition);
        ASSERT_TRUE(updater.setup(folder.system("install/Update.xml").c_str()));
        frame.appDataFolder = folder.system(currentFolder);
        test::makeFolder(folder.native(currentFolder) / "Config");
    }

    // A release folder of that version with the two-type layout file and
    // both setting files.
    void writeRelease(const std::string& release, const std::string& version) {
        writeFile(folder.native(release + "version.xml"), "<Versions><Main>" + version + "</Main></Versions>");
        writeFile(folder.native(release + "Config/Display.xml"), display(normalMode()));
        writeFile(folder.native(release + "Config/Draw_Common.xml"), drawCommon);
        writeFile(folder.native(release + "Config/EopRegSetting.xml"), eopRegSetting);
    }

    // Runs updateLayout from a source folder other than the current one and
    // checks that the source's files, contents and attributes stayed as they were.
    bool updateFrom(const std::string& source) {
        const Tree before = treeOf(folder.native(source));
        const bool result = updater.updateLayout(folder.system(source).c_str(), frame);
        EXPECT_EQ(treeOf(folder.native(source)), before) << "the source folder changed";
        return result;
    }

    Tree current() const { return treeOf(folder.native(currentFolder)); }

    // The tables as "type/mode:modeNo".
    std::vector<std::string> tableNames() const {
        std::vector<std::string> names;
        for (const LayoutTable* table : updater.tables)
            names.push_back(platform::toUtf8(table->typeName + L"/" + table->modeName + L":") +
                            std::to_string(table->modeNo));
        return names;
    }

    LayoutUpdater updater;
};

// --- Which entries apply ---

TEST_F(UpdateLayoutTest, UpdateLayout_AppliesOnlyTheEntriesNewerThanTheSource_AndWritesIntoTheCurrentFolderAlone) {
    writeRelease(previousFolder, "2015.2");

    EXPECT_TRUE(updateFrom(previousFolder));
    // Only 2016.0 ran: its setting file is copied and edited here; the file
    // of 2015.0 is neither copied nor edited.
    EXPECT_EQ(current(), (Tree{"Config/", "Config/Display.xml=" + layoutOf2016Only,
                               "Config/Draw_Common.xml=<DrawCommon>\n  <Snap Enabled=\"true\"/>\n  <Ortho/>\n"
                               "</DrawCommon>\n"}));
    // A type without a 3D mode has one table fewer.
    EXPECT_EQ(tableNames(), (std::vector<std::string>{"Standard/Normal:1", "Standard/3D:2", "Compact/Normal:1"}));
}

TEST_F(UpdateLayoutTest, UpdateLayout_AppliesTheOlderEntryFirst_AndBothEditSetsOfOneSettingFile_HigherIndexFirst) {
    writeRelease(previousFolder, "2015.0");

    EXPECT_TRUE(updateFrom(previousFolder));
    // 2015.2 made "Shapes" before 2016.0 put the spline into it.
    const std::string shapes = R"(          <Group Id="3" Caption="Shapes">
            <Control SID="ID_DRAW_SPLINE" Caption="Spline"/>
          </Group>
)";
    EXPECT_EQ(current(), (Tree{"Config/", "Config/Display.xml=" + display(normalMode(arc, shapes), arc),
                               "Config/Draw_Common.xml=<DrawCommon>\n  <Snap Enabled=\"true\"/>\n  <Grid/>\n"
                               "  <Ortho/>\n</DrawCommon>\n"}));
}

TEST_F(UpdateLayoutTest, UpdateLayout_ChangesNothing_WhenNoEntryIsNewerThanTheSourceOrNoneStandsForIt) {
    // 2016.0 and 2015.3 are as new as the newest entry or newer than the one
    // below it; 2014.0 is older than every entry.
    for (const char* version : {"2016.0", "2015.3", "2014.0"}) {
        SCOPED_TRACE(version);
        writeRelease(previousFolder, version);
        EXPECT_FALSE(updateFrom(previousFolder));
        EXPECT_EQ(current(), Tree{"Config/"});
        EXPECT_TRUE(updater.tables.empty());
    }
}

// --- Setting files ---

TEST_F(UpdateLayoutTest, UpdateLayout_EditsTheCurrentFoldersOwnSettingFile_WithoutReplacingIt) {
    writeRelease(previousFolder, "2015.2");
    const std::string own = "<DrawCommon>\n  <Snap Enabled=\"false\"/>\n</DrawCommon>\n";
    writeFile(folder.native(currentFolder) / "Config/Draw_Common.xml", own);

    EXPECT_TRUE(updateFrom(previousFolder));
    EXPECT_EQ(readFile(folder.native(currentFolder) / "Config/Draw_Common.xml"),
              "<DrawCommon>\n  <Snap Enabled=\"false\"/>\n  <Ortho/>\n</DrawCommon>\n");
}

TEST_F(UpdateLayoutTest, UpdateLayout_StillEditsTheSettingFiles_ButWritesNoLayout_WhenNoItemChangesIt) {
    writeFile(folder.native("install/Update.xml"), R"(<Update_Data>
  <Update ver="2016.0">
    <Layout><Command SID="ID_UNKNOWN"><Ribbon Tab="Home" Group="Draw"/></Command></Layout>
    <Setting Path="Config\Draw_Common.xml"><AddNode XPath=".">  <Ortho/>
</AddNode></Setting>
  </Update>
  <Update ver="2015.2"/>
</Update_Data>
)");
    ASSERT_TRUE(updater.setup(folder.system("install/Update.xml").c_str()));
    writeRelease(previousFolder, "2015.2");

    EXPECT_FALSE(updateFrom(previousFolder));
    EXPECT_EQ(current(), (Tree{"Config/", "Config/Draw_Common.xml=<DrawCommon>\n  <Snap Enabled=\"true\"/>\n"
                                          "  <Ortho/>\n</DrawCommon>\n"}));
}

TEST_F(UpdateLayoutTest, UpdateLayout_CopiesAndEditsNothing_WhenTheSourceHasNoLayoutFile) {
    writeRelease(previousFolder, "2015.0");
    fs::remove(folder.native(previousFolder) / "Config/Display.xml");

    EXPECT_FALSE(updateFrom(previousFolder));
    EXPECT_EQ(current(), Tree{"Config/"});
}

// --- The current folder as the source ---

TEST_F(UpdateLayoutTest, UpdateLayout_EditsInPlace_WhenTheSourceIsTheCurrentFolderInOtherLetterCase) {
    writeRelease(currentFolder, "2015.2");
    const fs::path otherCase = folder.native("PLX/OrvoLumen/OrvoLumen/2016_X64");
    // Where names differ by letter case, a link makes the other name reach
    // the same folder, as Windows does.
    if (!fs::exists(otherCase))
        fs::create_directory_symlink(folder.native(currentFolder), otherCase);

    EXPECT_TRUE(updater.updateLayout(folder.system("PLX/OrvoLumen/OrvoLumen/2016_X64/").c_str(), frame));
    EXPECT_EQ(current(), (Tree{"Config/", "Config/Display.xml=" + layoutOf2016Only,
                               "Config/Draw_Common.xml=<DrawCommon>\n  <Snap Enabled=\"true\"/>\n  <Ortho/>\n"
                               "</DrawCommon>\n",
                               "Config/EopRegSetting.xml=" + eopRegSetting,
                               "version.xml=<Versions><Main>2015.2</Main></Versions>"}));
}

TEST_F(UpdateLayoutTest, UpdateLayout_CopiesNothing_BetweenTwoFoldersNamedApartOnlyByLetterCase) {
    if (fs::exists(folder.native("PLX/OrvoLumen/OrvoLumen/2016_X64")))
        GTEST_SKIP() << "this file system sees one folder under both names";
    const std::string source = "PLX/OrvoLumen/OrvoLumen/2016_X64/";
    writeRelease(source, "2015.2");

    // The folders count as one, as they would on Windows: the setting file
    // is not copied, so there is none to edit, and the layout is written.
    EXPECT_TRUE(updateFrom(source));
    EXPECT_EQ(current(), (Tree{"Config/", "Config/Display.xml=" + layoutOf2016Only}));
}

// --- Failures and the working tables ---

TEST_F(UpdateLayoutTest, UpdateLayout_KeepsTheOldLayoutFile_WhenItCannotBeReplaced) {
    writeRelease(previousFolder, "2015.2");
    const fs::path layoutFile = folder.native(currentFolder) / "Config/Display.xml";
    writeFile(layoutFile, "<Display/>");
    setReadOnly(layoutFile, true);

    EXPECT_FALSE(updateFrom(previousFolder));
    // The setting edits ran before the layout was written.
    EXPECT_EQ(current(), (Tree{"Config/", "Config/Display.xml=<Display/> (read-only)",
                               "Config/Draw_Common.xml=<DrawCommon>\n  <Snap Enabled=\"true\"/>\n  <Ortho/>\n"
                               "</DrawCommon>\n"}));
}

TEST_F(UpdateLayoutTest, UpdateLayout_Fails_WithoutASourceOrACurrentFolder_WritingNothingAnywhere) {
    writeRelease(previousFolder, "2015.2");
    EXPECT_FALSE(updater.updateLayout(nullptr, frame));
    EXPECT_FALSE(updater.updateLayout(L"", frame));
    EXPECT_EQ(current(), Tree{"Config/"});

    // Without a current folder, every path would be relative to the working folder.
    test::makeFolder(folder.native("work/Config"));
    frame.appDataFolder.clear();
    {
        const test::WorkingFolder inWork(folder.native("work"));
        EXPECT_FALSE(updateFrom(previousFolder));
    }
    EXPECT_EQ(treeOf(folder.native("work")), Tree{"Config/"});
}

TEST_F(UpdateLayoutTest, UpdateLayout_EditsOnlyItsOwnTables_WhichLastUntilTheNextSetup) {
    writeRelease(previousFolder, "2015.2");
    ASSERT_TRUE(updateFrom(previousFolder));
    // The first call's tables outlive its layout model: a second call must
    // neither edit nor commit them.
    ASSERT_TRUE(updateFrom(previousFolder));
    EXPECT_EQ(readFile(folder.native(currentFolder) / "Config/Display.xml"), layoutOf2016Only);
    EXPECT_EQ(updater.tables.size(), 6u);

    ASSERT_TRUE(updater.setup(folder.system("install/Update.xml").c_str()));
    EXPECT_TRUE(updater.tables.empty());
}

} // namespace
} // namespace tern::update
