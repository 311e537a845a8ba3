// The update flow on real folder trees: what it asks, in what order, and
// what lands in the running release's folders for each outcome of the
// folder analysis.
//
// Every previous release folder of the trees below holds a layout with one
// toolbar command, a settings file and work data that name where they came
// from; the running release is 2016.1, and the definition's entries 2016.1,
// 2016.0 and 2015.0 each add a toolbar command. A summary line tells the
// whole outcome at once: the questions with their answers, the toolbar of the
// layout written into the running release, where its settings, work data
// and layer template came from ("-" for none), and its version stamp.

#include "components/utility/command_table.h"
#include "host/user_questions.h"
#include "platform/text.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_frame.h"
#include "update/updater.h"

#include <gtest/gtest.h>

#include <regex>

namespace tern::update {
namespace {

namespace fs = std::filesystem;
using test::readFile;
using test::writeFile;

// Answers from a script, recording each question: "4000 yes", "4001 no",
// "patron yes", "dialog 1" (OK with product 1) or "dialog cancel".
class ScriptedQuestions : public core::IUserQuestions {
public:
    explicit ScriptedQuestions(std::vector<std::string> script) : script(std::move(script)) {
        core::setUserQuestions(this);
    }
    ~ScriptedQuestions() override { core::setUserQuestions(nullptr); }

    bool askYesNo(core::Question question, const std::wstring& text) override {
        texts.push_back(platform::toUtf8(text));
        const std::string name =
            question == core::Question::inheritPatronSettings ? "patron" : std::to_string(static_cast<int>(question));
        const bool yes = take() == "yes";
        record(name + (yes ? " yes" : " no"));
        return yes;
    }

    int chooseInheritedProduct(std::int32_t& selection) override {
        EXPECT_EQ(selection, 0) << "the dialog opens on the running product";
        const std::string answer = take();
        record("dialog " + answer);
        if (answer == "cancel")
            return 2;
        selection = answer == "1" ? 1 : 0;
        return 1;
    }

    std::string asked;
    std::vector<std::string> texts;

private:
    std::string take() {
        if (next == script.size()) {
            ADD_FAILURE() << "a question more than the script answers";
            return "yes";
        }
        return script[next++];
    }
    void record(const std::string& question) { asked += (asked.empty() ? "" : ", ") + question; }

    std::vector<std::string> script;
    std::size_t next = 0;
};

struct FlowUpdater : CUpdater {
    using CUpdater::excute;
    using CUpdater::hasCurrentFolder, CUpdater::hasLumenFolder, CUpdater::lumenLine, CUpdater::major,
        CUpdater::minor, CUpdater::vendorRoot;
};

const char* const display = R"(<Display><LayoutType Name="Standard"><LayoutMode Name="Normal">
<ToolBar Title="Standard" Position="Top"><Command SID="ID_DRAW_LINE" Caption="Line"/></ToolBar>
</LayoutMode></LayoutType></Display>)";

std::string addsToToolbar(const std::string& sid) {
    return "<Layout><Command SID=\"" + sid + "\"><CommandPanel Name=\"Standard\" Pos=\"Last\"/></Command></Layout>";
}

class UpdateFlowTest : public ::testing::Test {
protected:
    void SetUp() override {
        // The shipped version file differs in its bytes from the stamps the
        // trees below hold, so that a stamp shows whether it was copied.
        writeFile(temp.native("install/ja/version.xml"), "<?xml version=\"1.0\"?><Versions><Main>2016.1</Main></Versions>");
        writeFile(temp.native("install/Config/Commands.xml"), R"(<Commands>
  <Command SID="ID_DRAW_LINE" Id="200" Caption="Line"/><Command SID="ID_DRAW_ARC" Id="201" Caption="Arc"/>
  <Command SID="ID_FILE_NEW" Id="100" Caption="New"/><Command SID="ID_FILE_OPEN" Id="101" Caption="Open"/>
</Commands>)");
        std::wstring problem;
        ASSERT_TRUE(commands.load(temp.system("install/Config/Commands.xml"), problem));
        frame.commandTable = &commands;
        writeDefinition("Update.xml");
        useFolders("OrvoLumen/OrvoLumen");
    }

    void writeDefinition(const std::string& path) {
        writeFile(temp.native(path), "<Update_Data><Update ver=\"2016.1\">" + addsToToolbar("ID_DRAW_ARC") +
                                         "</Update><Update ver=\"2016.0\">" + addsToToolbar("ID_FILE_NEW") +
                                         "</Update><Update ver=\"2015.0\">" + addsToToolbar("ID_FILE_OPEN") +
                                         "</Update></Update_Data>");
    }

    // The running release's folders below an edition folder of the vendor
    // folder ("OrvoLumen/OrvoPatron"), and the user-data folder of the
    // same edition.
    void useFolders(const std::string& edition) {
        appData = "root/PLX/" + edition + "/2016_x64/";
        userData = "root/UserData/" + editionName(edition) + "/2016_x64/";
        frame.useFolders(temp.system("install/"), temp.system(appData), temp.system(userData));
    }
    static std::string editionName(const std::string& edition) { return edition.substr(edition.find('/') + 1); }

    // A release's application-data folder as an earlier start left it.
    void releaseFolder(const std::string& folder, const std::string& from, const std::string& version = "2015.0") {
        writeFile(temp.native(folder + "version.xml"), "<Versions><Main>" + version + "</Main></Versions>");
        writeFile(temp.native(folder + "Config/Display.xml"), display);
        writeFile(temp.native(folder + "Config/Marker.xml"), "<Marker From=\"" + from + "\"/>");
    }
    // A release's user-data folder.
    void userFolder(const std::string& folder, const std::string& from) {
        writeFile(temp.native(folder + "WorkData/Site.xml"), "<Site From=\"" + from + "\"/>");
        writeFile(temp.native(folder + "Templates/Layer/Mine.xml"), "<LayerTemplate From=\"" + from + "\"/>");
    }
    // Release 2015 of an edition, both folders.
    void previousRelease(const std::string& edition) {
        releaseFolder("root/PLX/" + edition + "/2015_x64/", editionName(edition));
        userFolder("root/UserData/" + editionName(edition) + "/2015_x64/", editionName(edition));
    }
    void previousPatronRelease() {
        releaseFolder("root/PLX/OrvoLumen/OrvoLumenPatron/2015_x64/", "OrvoLumenPatron");
    }
    // The running release's own folders from an earlier start.
    void ownFolders(const std::string& version) {
        releaseFolder(appData, "own", version);
        userFolder(userData, "own");
    }

    int run(const std::string& definition = "Update.xml") {
        return updater.run(temp.system(definition).c_str(), frame, lumen);
    }

    // The flow called directly, with the state run leaves before it: for
    // folders that run itself would not let the flow see (run makes the
    // fixed sub-folders first) and for what the flow refuses itself.
    bool excute(const std::string& definition = "Update.xml") {
        EXPECT_TRUE(updater.setup(temp.system(definition).c_str()));
        updater.major = 2016;
        updater.minor = 1;
        updater.vendorRoot = temp.system("root/PLX/");
        updater.lumenLine = lumen;
        updater.hasLumenFolder = fs::exists(temp.native("root/PLX/OrvoLumen/OrvoLumen"));
        updater.hasCurrentFolder = fs::exists(temp.native(appData));
        hasLumenPatronFolder = fs::exists(temp.native("root/PLX/OrvoLumen/OrvoLumenPatron"));
        return updater.excute(frame);
    }

    // The From value of a file, or "-".
    std::string origin(const std::string& file) const {
        static const std::regex from(R"re(From="([^"]*)")re");
        const std::string text = readFile(temp.native(file));
        std::smatch found;
        return std::regex_search(text, found, from) ? found[1].str() : "-";
    }
    // The toolbar commands of the running release's layout, or "-".
    std::string toolbar() const {
        static const std::regex sid(R"re(SID="ID_([A-Z_]+)")re");
        const std::string text = readFile(temp.native(appData + "Config/Display.xml"));
        std::string found;
        for (std::sregex_iterator it(text.begin(), text.end(), sid), end; it != end; ++it)
            found += (found.empty() ? "" : " ") + (*it)[1].str();
        return found.empty() ? "-" : found;
    }
    std::string summary(const ScriptedQuestions& questions) const {
        const std::string stamp = readFile(temp.native(appData + "version.xml"));
        return "asked [" + questions.asked + "] layout [" + toolbar() + "] config " +
               origin(appData + "Config/Marker.xml") + ", work " + origin(userData + "WorkData/Site.xml") +
               ", template " + origin(userData + "Templates/Layer/Mine.xml") + ", stamp " +
               (stamp.empty() ? "-" : stamp == readFile(temp.native("install/ja/version.xml")) ? "new" : "old");
    }

    test::TempFolder temp;
    utility::CCommandTable commands;
    test::TestFrame frame;
    FlowUpdater updater;
    std::string appData, userData;
    bool lumen = true;
};

// The layout carried forward gets the entries after the previous release's
// 2015.0, oldest first; settings, work data and templates come along.
const char* const inheritedLumen2015 =
    "layout [DRAW_LINE FILE_NEW DRAW_ARC] config OrvoLumen, work OrvoLumen, template OrvoLumen, stamp new";
const char* const startedClean = "layout [-] config -, work -, template -, stamp new";

TEST_F(UpdateFlowTest, NewRelease_InheritsThePreviousOne_WhenTheUserSaysYes_AndStartsCleanOnNo) {
    previousRelease("OrvoLumen/OrvoLumen");
    {
        ScriptedQuestions questions({"yes"});
        EXPECT_EQ(run(), 1);
        EXPECT_EQ(summary(questions), std::string("asked [4000 yes] ") + inheritedLumen2015);
        EXPECT_EQ(questions.texts, std::vector<std::string>{"以前の設定を引き継ぎますか？"});
    }
    fs::remove_all(temp.native(appData));
    fs::remove_all(temp.native(userData));
    ScriptedQuestions questions({"no"});
    EXPECT_EQ(run(), 1);
    EXPECT_EQ(summary(questions), std::string("asked [4000 no] ") + startedClean);
}

TEST_F(UpdateFlowTest, PreviousUserFolderOfOnlyTemplates_AsksWhetherToUseThem) {
    releaseFolder("root/PLX/OrvoLumen/OrvoLumen/2015_x64/", "OrvoLumen");
    writeFile(temp.native("root/UserData/OrvoLumen/2015_x64/Templates/Layer/Mine.xml"),
              "<LayerTemplate From=\"OrvoLumen\"/>");
    ScriptedQuestions questions({"yes"});
    EXPECT_EQ(run(), 1);
    EXPECT_EQ(summary(questions), "asked [4001 yes] layout [DRAW_LINE FILE_NEW DRAW_ARC] config OrvoLumen, work -, "
                                  "template OrvoLumen, stamp new");
    EXPECT_EQ(questions.texts,
              std::vector<std::string>{"レイヤテンプレートが存在します。\nレイヤテンプレートを使用しますか？"});
}

TEST_F(UpdateFlowTest, NoEarlierReleaseAnywhere_ClearsWithoutAsking_AndStamps) {
    ScriptedQuestions questions({});
    EXPECT_EQ(run(), 1);
    EXPECT_EQ(summary(questions), std::string("asked [] ") + startedClean);
}

// The running release's own folder, from an earlier start.
TEST_F(UpdateFlowTest, OwnFolderUpToDate_AsksNothing_AndIsNotStamped_UnlessTheOtherProductLeftARelease) {
    ownFolders("2016.1");
    previousRelease("OrvoLumen/OrvoLumen");
    {
        ScriptedQuestions questions({});
        EXPECT_EQ(run(), 0);
        EXPECT_EQ(summary(questions), "asked [] layout [DRAW_LINE] config own, work own, template own, stamp old");
    }
    previousPatronRelease();
    ScriptedQuestions questions({});
    EXPECT_EQ(run(), 1);
    EXPECT_EQ(summary(questions), "asked [] layout [DRAW_LINE] config own, work own, template own, stamp new");
}

TEST_F(UpdateFlowTest, OwnFolderOlder_BringsItsOwnLayoutUp_OrClearsItsSettings) {
    ownFolders("2016.0");
    previousRelease("OrvoLumen/OrvoLumen");
    writeFile(temp.native(appData + "Config/Sub/Kept.xml"), "<Kept/>");
    writeFile(temp.native(appData + "Config/ReadOnly.xml"), "<Kept/>");
    test::setReadOnly(temp.native(appData + "Config/ReadOnly.xml"), true);
    {
        ScriptedQuestions questions({"yes"});
        EXPECT_EQ(run(), 1);
        EXPECT_EQ(summary(questions),
                  "asked [4000 yes] layout [DRAW_LINE DRAW_ARC] config own, work own, template own, stamp new");
    }
    writeFile(temp.native(appData + "version.xml"), "<Versions><Main>2016.0</Main></Versions>");
    ScriptedQuestions questions({"no"});
    EXPECT_EQ(run(), 1);
    EXPECT_EQ(summary(questions), "asked [4000 no] layout [-] config -, work -, template own, stamp new");
    EXPECT_EQ(readFile(temp.native(appData + "Config/Sub/Kept.xml")), "<Kept/>");
    EXPECT_EQ(readFile(temp.native(appData + "Config/ReadOnly.xml")), "<Kept/>");
}

// Without a readable version the own folder is refreshed in the current
// product line, and only stamped in the older ones.
TEST_F(UpdateFlowTest, OwnFolderWithoutVersion_IsRefreshedInTheCurrentLine_AndOnlyStampedOtherwise) {
    for (const bool currentLine : {true, false}) {
        SCOPED_TRACE(currentLine ? "current line" : "older line");
        useFolders(currentLine ? "OrvoLumen/OrvoLumen" : "OrvoLumen/Orvo");
        lumen = currentLine;
        ownFolders("2016.0");
        fs::remove(temp.native(appData + "version.xml"));
        ScriptedQuestions questions(currentLine ? std::vector<std::string>{"yes"} : std::vector<std::string>{});
        EXPECT_EQ(run(), 1);
        EXPECT_EQ(summary(questions), currentLine ? "asked [4000 yes] layout [DRAW_LINE DRAW_ARC] config own, "
                                                    "work own, template own, stamp new"
                                                  : "asked [] layout [DRAW_LINE] config own, work own, "
                                                    "template own, stamp new");
    }
}

// The own folder is older and its user-data folder holds nothing but
// templates: whether to inherit, then whether to keep the templates.
TEST_F(UpdateFlowTest, OwnTemplatesOnly_AskWhetherToInheritAndWhetherToKeepThem) {
    struct Case {
        bool previous;
        std::vector<std::string> answers;
        std::string expected;
    } cases[] = {
        {true, {"yes", "yes"},
         "asked [4000 yes, 4001 yes] layout [DRAW_LINE FILE_NEW DRAW_ARC] config OrvoLumen, work OrvoLumen, "
         "template own, stamp new"},
        {true, {"yes", "no"}, std::string("asked [4000 yes, 4001 no] ") + inheritedLumen2015},
        {true, {"no", "yes"},
         "asked [4000 no, 4001 yes] layout [DRAW_LINE DRAW_ARC] config -, work -, template own, stamp new"},
        {true, {"no", "no"}, "asked [4000 no, 4001 no] layout [DRAW_LINE] config -, work -, template -, stamp new"},
        {false, {"yes"}, "asked [4001 yes] layout [DRAW_LINE DRAW_ARC] config -, work -, template own, stamp new"},
        {false, {"no"}, "asked [4001 no] layout [DRAW_LINE] config -, work -, template -, stamp new"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        fs::remove_all(temp.native("root"));
        if (c.previous)
            previousRelease("OrvoLumen/OrvoLumen");
        test::makeFolder(temp.native("root/PLX/OrvoLumen/OrvoLumen"));
        releaseFolder(appData, "own", "2016.0");
        fs::remove(temp.native(appData + "Config/Marker.xml"));
        writeFile(temp.native(userData + "Templates/Layer/Mine.xml"), "<LayerTemplate From=\"own\"/>");
        ScriptedQuestions questions(c.answers);
        EXPECT_TRUE(excute());
        EXPECT_EQ(summary(questions), c.expected);
    }
}

// Release 2015 of the running product and of OrvoLumenPatron: the dialog
// chooses; product 1 takes the other product's settings folder but the
// running product's user data.
TEST_F(UpdateFlowTest, TwoProductsReleases_TheDialogChoosesWhichToInherit) {
    const std::pair<const char*, std::string> cases[] = {
        {"0", std::string("asked [dialog 0] ") + inheritedLumen2015},
        {"1", "asked [dialog 1] layout [DRAW_LINE FILE_NEW DRAW_ARC] config OrvoLumenPatron, work OrvoLumen, "
              "template OrvoLumen, stamp new"},
        {"cancel", std::string("asked [dialog cancel] ") + startedClean},
    };
    for (const auto& [answer, expected] : cases) {
        SCOPED_TRACE(answer);
        fs::remove_all(temp.native("root"));
        previousRelease("OrvoLumen/OrvoLumen");
        previousPatronRelease();
        ScriptedQuestions questions({answer});
        EXPECT_EQ(run(), 1);
        EXPECT_EQ(summary(questions), expected);
    }
}

TEST_F(UpdateFlowTest, OnlyTheOtherProductsRelease_IsOfferedByItsOwnQuestion) {
    for (const char* answer : {"yes", "no"}) {
        SCOPED_TRACE(answer);
        fs::remove_all(temp.native("root"));
        previousPatronRelease();
        ScriptedQuestions questions({answer});
        EXPECT_EQ(run(), 1);
        EXPECT_EQ(summary(questions),
                  std::string(answer) == "yes"
                      ? "asked [patron yes] layout [DRAW_LINE FILE_NEW DRAW_ARC] config OrvoLumenPatron, work -, "
                        "template -, stamp new"
                      : std::string("asked [patron no] ") + startedClean);
        EXPECT_EQ(questions.texts,
                  std::vector<std::string>{"OrvoLumenPatronの設定が存在します。\n設定を引き継ぎますか？"});
    }
}

TEST_F(UpdateFlowTest, TooFewEntriesOrAnAppDataPathOverTheLimit_AskNothing_AndTouchNothing) {
    previousRelease("OrvoLumen/OrvoLumen");
    writeFile(temp.native("One.xml"), "<Update_Data><Update ver=\"2016.1\">" + addsToToolbar("ID_DRAW_ARC") +
                                          "</Update></Update_Data>");
    const test::Tree before = test::treeOf(temp.path());
    ScriptedQuestions questions({});
    EXPECT_FALSE(excute("One.xml"));

    const std::string edition(261 - temp.system("root/PLX/OrvoLumen/").size() - 10, 'e');
    useFolders("OrvoLumen/" + edition);
    ASSERT_EQ(frame.appDataFolder.size(), 261u);
    EXPECT_FALSE(excute());
    EXPECT_EQ(questions.asked, "");
    EXPECT_EQ(test::treeOf(temp.path()), before);
}

// The installed version file is read-only too, as an installer may leave
// it: the copy brings that attribute along, and the stamp clears it again.
TEST_F(UpdateFlowTest, ReadOnlyVersionFile_IsReplaced_AndLeftWritable) {
    ownFolders("2016.0");
    test::setReadOnly(temp.native(appData + "version.xml"), true);
    test::setReadOnly(temp.native("install/ja/version.xml"), true);
    ScriptedQuestions questions({"yes"});
    EXPECT_EQ(run(), 1);
    EXPECT_EQ(readFile(temp.native(appData + "version.xml")), readFile(temp.native("install/ja/version.xml")));
    EXPECT_FALSE(test::isReadOnly(temp.native(appData + "version.xml")));
}

// Each row of the analysis is decided by the edition the definition's path
// names, or by the product line, and searches where that edition keeps its
// releases.
struct EditionRow {
    std::string name, definition, edition;
    bool lumenLine;
    std::string previousApp, previousUser; // below root/, empty for none
    std::string expected;
};

class UpdateFlowEditionTest : public UpdateFlowTest, public ::testing::WithParamInterface<EditionRow> {};

TEST_P(UpdateFlowEditionTest, InheritsFromWhereTheEditionKeepsItsReleases) {
    const EditionRow& row = GetParam();
    if (row.definition != "Update.xml")
        writeDefinition(row.definition);
    useFolders(row.edition);
    lumen = row.lumenLine;
    if (!row.previousApp.empty())
        releaseFolder("root/" + row.previousApp, "app");
    if (!row.previousUser.empty())
        userFolder("root/" + row.previousUser, "user");
    ScriptedQuestions questions({"yes"});
    EXPECT_EQ(run(row.definition), 1);
    EXPECT_EQ(summary(questions), row.expected);
}

const char* const inheritedApp = "asked [4000 yes] layout [DRAW_LINE FILE_NEW DRAW_ARC] config app, ";

INSTANTIATE_TEST_SUITE_P(
    Rows, UpdateFlowEditionTest,
    ::testing::Values(
        // Patron keeps no user-data folders of its own: its work data comes from the application-data folder.
        EditionRow{"Patron", "Patron/Update.xml", "OrvoLumen/OrvoPatron", false, "PLX/OrvoLumen/OrvoPatron/2015_x64/",
                   "UserData/OrvoPatron/2015_x64/", std::string(inheritedApp) + "work -, template -, stamp new"},
        EditionRow{"Civic", "Civic/Update.xml", "OrvoLumen/OrvoCivic", false, "PLX/OrvoLumen/OrvoCivic/2015_x64/",
                   "UserData/OrvoCivic/2015_x64/", std::string(inheritedApp) + "work user, template user, stamp new"},
        // Without the edition's application-data folder there is nothing to inherit.
        EditionRow{"CivicWithoutItsFolder", "Civic/Update.xml", "OrvoLumen/OrvoCivic", false, "",
                   "UserData/OrvoCivic/2015_x64/", std::string("asked [] ") + startedClean},
        EditionRow{"Vista", "Update.xml", "OrvoLumen/OrvoVista", true, "PLX/OrvoLumen/OrvoVista/2015_x64/",
                   "UserData/OrvoVista/2015_x64/", std::string(inheritedApp) + "work user, template user, stamp new"},
        EditionRow{"Orvo", "Update.xml", "OrvoLumen/Orvo", false, "PLX/OrvoLumen/Orvo/2015_x64/",
                   "UserData/Orvo/2015_x64/", std::string(inheritedApp) + "work user, template user, stamp new"},
        // The 2012 release of the oldest line has a fixed folder that holds everything.
        EditionRow{"Orvo2012", "Update.xml", "OrvoLumen/OrvoNext", false, "PLX/Orvo/Orvo/2012/",
                   "PLX/Orvo/Orvo/2012/", std::string(inheritedApp) + "work user, template user, stamp new"}),
    [](const ::testing::TestParamInfo<EditionRow>& info) { return info.param.name; });

} // namespace
} // namespace tern::update
