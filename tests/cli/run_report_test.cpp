// What `tnupdate update` and `tnupdate option` print about a run, checked
// on copies of the sample data: the summary, --verbose, --quiet and --json
// (read back and held against the disk), errors on standard error only, and
// the exit statuses.

#include "tests/cli/sample_copy_test.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <map>
#include <sstream>

namespace tern::cli {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;
using test::readFile;

// The lines of a text, without their line breaks.
std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);)
        lines.push_back(line);
    return lines;
}

// The lines that start with prefix, in order.
std::vector<std::string> linesStartingWith(const std::string& text, const std::string& prefix) {
    std::vector<std::string> found;
    for (const std::string& line : linesOf(text))
        if (line.rfind(prefix, 0) == 0)
            found.push_back(line);
    return found;
}

bool hasErrorLine(const std::string& text) { return !linesStartingWith(text, "error:").empty(); }

class RunReportTest : public SampleCopyTest {
protected:
    test::ProgramStreams run(const std::vector<std::string>& arguments) { return tnupdateApart(arguments); }
    // The sample update: release 2016 starts beside 2015, the user keeps the settings.
    test::ProgramStreams updateSample(const std::string& output = "") {
        std::vector<std::string> arguments{"update",     "--yes",
                                           "--install",  "install",
                                           "--appdata",  newRelease,
                                           "--userdata", "profile/UserData/2016_x64",
                                           "--lumen",    "install/Update.xml"};
        if (!output.empty())
            arguments.insert(arguments.begin() + 1, output);
        return run(arguments);
    }
    // The sample option, or another definition, appended to the 2015 layout.
    test::ProgramStreams appendOption(const std::string& output = "", const std::string& name = "Survey",
                                      const std::string& definition = "install/Options/Survey.xml") {
        std::vector<std::string> arguments{"option", "--folder", oldRelease, "--install", "install", name, definition};
        if (!output.empty())
            arguments.insert(arguments.begin() + 1, output);
        return run(arguments);
    }
    // A path below the temporary folder as the program prints it.
    std::string shown(const std::string& relative) const {
        fs::path path = temp.native(relative);
        return path.make_preferred().string();
    }
    std::string oldLayout() const { return oldRelease + "/Config/Display.xml"; }

    const std::string oldRelease = "profile/PLX/OrvoLumen/OrvoLumen/2015_x64";
    const std::string newRelease = "profile/PLX/OrvoLumen/OrvoLumen/2016_x64";
};

// The sample's Compact layout has no "Standard" toolbar, so one placement of
// the 2016.0 entry finds nowhere to go; the rest of its items land in both
// normal modes.
TEST_F(RunReportTest, Summary_CountsTheLayoutItems_AndNamesTheOneNotApplied) {
    const auto result = updateSample();
    EXPECT_EQ(result.status, 0) << result.errors;
    const std::vector<std::string> lines = linesOf(result.output);
    const std::string notApplied =
        "layout item not applied: Command SID=\"ID_DRAW_ARC\" CommandPanel Name=\"Standard\" "
        "(type Compact, mode Normal): there is no toolbar \"Standard\" (MakePos is not set)";
    ASSERT_GE(lines.size(), 3u) << result.output;
    EXPECT_EQ(lines.back(), "result: 1");
    EXPECT_EQ(lines[lines.size() - 2], notApplied) << result.output;
    const std::string counts = lines[lines.size() - 3];
    EXPECT_NE(counts.find("11 layout items applied"), std::string::npos) << counts;
    EXPECT_NE(counts.find(", 1 layout item not applied"), std::string::npos) << counts;
    EXPECT_FALSE(hasErrorLine(result.output + result.errors)) << result.output << result.errors;
}

TEST_F(RunReportTest, Verbose_PrintsEachLayoutItemInEachTypeAndMode_AndTheFileWritten) {
    const auto result = updateSample("--verbose");
    EXPECT_EQ(result.status, 0) << result.errors;
    const std::string standard = " (type Standard, mode Normal)";
    const std::string compact = " (type Compact, mode Normal)";
    const std::string arc = "Command SID=\"ID_DRAW_ARC\" ";
    const std::string polygon = "Command SID=\"ID_DRAW_POLYGON\" ";
    const std::string applied = "layout item applied: ";
    EXPECT_EQ(linesStartingWith(result.output, "layout item"),
              (std::vector<std::string>{
                  applied + "MakeGroup Tab=\"Home\" Name=\"Shapes\"" + standard,
                  applied + "MakeGroup Tab=\"Home\" Name=\"Shapes\"" + compact,
                  applied + arc + "Ribbon Tab=\"Home\" Group=\"Draw\"" + standard,
                  applied + arc + "Menu Path=\"Draw\"" + standard,
                  applied + arc + "CommandPanel Name=\"Standard\"" + standard,
                  // Compact's Draw group has no Circle to put the Arc after.
                  applied + arc + "Ribbon Tab=\"Home\" Group=\"Draw\"" + compact +
                      ": the target \"ID_DRAW_CIRCLE\" is not there: appended at the end",
                  applied + arc + "Menu Path=\"Draw\"" + compact,
                  "layout item not applied: " + arc + "CommandPanel Name=\"Standard\"" + compact +
                      ": there is no toolbar \"Standard\" (MakePos is not set)",
                  applied + polygon + "Ribbon Tab=\"Home\" Group=\"Shapes\"" + standard,
                  applied + polygon + "Menu Path=\"Draw\"" + standard,
                  applied + polygon + "Ribbon Tab=\"Home\" Group=\"Shapes\"" + compact,
                  applied + polygon + "Menu Path=\"Draw\"" + compact,
              }))
        << result.output;
    const std::string written = "file written: " + shown(newRelease + "/Config/Display.xml");
    EXPECT_EQ(linesStartingWith(result.output, written), std::vector<std::string>{written}) << result.output;
    EXPECT_EQ(linesOf(result.output).back(), "result: 1");
}

TEST_F(RunReportTest, Quiet_PrintsTheResultLineAlone) {
    const auto result = updateSample("--quiet");
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.output, "result: 1\n");
    EXPECT_TRUE(fs::exists(temp.native(newRelease + "/Config/Display.xml")));

    const auto option = appendOption("--quiet");
    EXPECT_EQ(option.status, 0);
    EXPECT_EQ(option.output, "result: 1\n");
}

// Every event is held against the disk: copies exist with their source's
// content, written files differ from what the folder held before, and the
// counts are the events'.
TEST_F(RunReportTest, Json_IsOneDocument_WhoseEventsAndCountsMatchTheDisk) {
    const test::Tree before = test::treeOf(temp.path());
    const auto result = updateSample("--json");
    EXPECT_EQ(result.status, 0) << result.errors;
    const json document = json::parse(result.output);
    EXPECT_EQ(document.at("result"), 1);

    std::map<std::string, int> counted;
    std::size_t written = 0;
    for (const json& event : document.at("events")) {
        const std::string kind = event.at("event");
        ++counted[kind];
        if (kind == "fileCopied") {
            const fs::path path = event.at("path").get<std::string>();
            EXPECT_EQ(readFile(path), readFile(event.at("source").get<std::string>())) << path;
        } else if (kind == "fileWritten") {
            const fs::path path = event.at("path").get<std::string>();
            ASSERT_TRUE(fs::exists(path)) << path;
            std::string relative = fs::relative(path, temp.path()).generic_string();
            const std::string entry = relative + "=" + readFile(path);
            EXPECT_EQ(std::find(before.begin(), before.end(), entry), before.end()) << "unchanged: " << relative;
            ++written;
        } else if (kind == "layoutItemApplied" || kind == "layoutItemNotApplied") {
            EXPECT_FALSE(event.at("subject").get<std::string>().empty());
            EXPECT_EQ(event.at("place").get<std::string>().rfind("type ", 0), 0u) << event;
        }
    }
    EXPECT_GE(written, 1u) << "the new release's layout file";
    EXPECT_EQ(counted["layoutItemApplied"], 11);
    EXPECT_EQ(counted["layoutItemNotApplied"], 1);
    std::map<std::string, int> counts;
    for (const auto& [kind, count] : document.at("counts").items())
        counts[kind] = count.get<int>();
    EXPECT_EQ(counts, counted);
}

TEST_F(RunReportTest, Json_OfASecondOptionRun_SaysEachLayoutTypeHasTheOptionAlready) {
    ASSERT_EQ(appendOption().status, 0);
    const auto second = appendOption("--json");
    EXPECT_EQ(second.status, 0) << second.errors;
    const json document = json::parse(second.output);
    EXPECT_EQ(document.at("result"), 0);
    std::vector<std::string> skipped;
    for (const json& event : document.at("events"))
        if (event.at("event") == "layoutItemNotApplied")
            skipped.push_back(event.at("subject").get<std::string>() + " (" + event.at("place").get<std::string>() +
                              "): " + event.at("reason").get<std::string>());
    const std::string reason = ": the layout type already has option \"Survey\" at version 1.1";
    // Oldest entry first, once per layout type, not once per mode.
    EXPECT_EQ(skipped, (std::vector<std::string>{"Update ver=\"1.0\" (type Standard)" + reason,
                                                 "Update ver=\"1.0\" (type Compact)" + reason,
                                                 "Update ver=\"1.1\" (type Standard)" + reason,
                                                 "Update ver=\"1.1\" (type Compact)" + reason}));
    // The version each type already carries is not recorded anew, and no file is written.
    EXPECT_EQ(document.at("counts").value("layoutItemApplied", 0), 0);
    EXPECT_EQ(document.at("counts").value("fileWritten", 0), 0);
}

class ReadOnlyLayoutTest : public RunReportTest {
protected:
    void SetUp() override {
        RunReportTest::SetUp();
        test::setReadOnly(temp.native(oldLayout()), true);
        original = readFile(temp.native(oldLayout()));
    }
    void expectKept() {
        EXPECT_EQ(readFile(temp.native(oldLayout())), original);
        EXPECT_TRUE(test::isReadOnly(temp.native(oldLayout())));
    }
    std::string original;
};

TEST_F(ReadOnlyLayoutTest, IsAnErrorOnStandardError_NamingTheFile_AndTheExitStatusIs1) {
    const auto result = appendOption();
    EXPECT_EQ(result.status, 1);
    const std::vector<std::string> errors = linesOf(result.errors);
    ASSERT_EQ(errors.size(), 1u) << result.errors;
    const std::string start = "error: file not written: " + shown(oldLayout()) + ": ";
    EXPECT_EQ(errors[0].rfind(start, 0), 0u) << errors[0];
    EXPECT_GT(errors[0].size(), start.size()) << "a reason follows the path";
    EXPECT_FALSE(hasErrorLine(result.output)) << result.output;
    EXPECT_EQ(linesOf(result.output).back(), "result: 0");
    expectKept();
}

TEST_F(ReadOnlyLayoutTest, InJson_IsAnEventOfTheDocument_AndNotALineOnStandardError) {
    const auto result = appendOption("--json");
    EXPECT_EQ(result.status, 1);
    EXPECT_FALSE(hasErrorLine(result.errors)) << result.errors;
    const json document = json::parse(result.output);
    EXPECT_EQ(document.at("result"), 0);
    std::vector<json> notWritten;
    for (const json& event : document.at("events"))
        if (event.at("event") == "fileNotWritten")
            notWritten.push_back(event);
    ASSERT_EQ(notWritten.size(), 1u) << document.dump(2);
    EXPECT_EQ(notWritten[0].at("path"), shown(oldLayout()));
    EXPECT_FALSE(notWritten[0].at("reason").get<std::string>().empty());
    EXPECT_EQ(document.at("counts").at("fileNotWritten"), 1);
    expectKept();
}

// A command placed under a menu the layout does not have is named, in each
// layout type, with the reason; the rest of the definition still lands.
TEST_F(RunReportTest, UnplaceableCommand_IsNamedWithItsReason_InTheSummary) {
    test::writeFile(temp.native("Lost.xml"), R"(<Option_Data><Layout>
  <Command SID="ID_SURVEY_POINT"><Menu Path="Nowhere"/><Ribbon Tab="Home" Group="Draw"/></Command>
  <Command SID="ID_NOT_A_COMMAND"><Menu Path="Draw"/></Command>
</Layout></Option_Data>)");
    const auto result = appendOption("", "Lost", "Lost.xml");
    EXPECT_EQ(result.status, 0) << result.errors;
    const std::string menu = "layout item not applied: Command SID=\"ID_SURVEY_POINT\" Menu Path=\"Nowhere\" ";
    const std::string unknown = "layout item not applied: Command SID=\"ID_NOT_A_COMMAND\" Menu Path=\"Draw\" ";
    const std::string nowhere = ": there is no menu \"Nowhere\" (MakePos is not set)";
    const std::string notKnown = ": the command table does not know \"ID_NOT_A_COMMAND\"";
    EXPECT_EQ(result.output, "1 file written, 4 layout items applied, 4 layout items not applied\n" + menu +
                                 "(type Standard, mode Normal)" + nowhere + "\n" + unknown +
                                 "(type Standard, mode Normal)" + notKnown + "\n" + menu +
                                 "(type Compact, mode Normal)" + nowhere + "\n" + unknown +
                                 "(type Compact, mode Normal)" + notKnown + "\nresult: 1\n");
    EXPECT_NE(readFile(temp.native(oldLayout())).find("<AppendOption Name=\"Lost\" Major=\"0\" Minor=\"0\"/>"),
              std::string::npos);
}

// Each kind of item says why it changed nothing: what it would make is
// there already, its container is missing, or its caption is current.
TEST_F(RunReportTest, Verbose_GivesEachItemKindsReason_ForEachTableOfItsMode) {
    test::writeFile(temp.native("Items.xml"), R"(<Option_Data><Layout>
  <MakeTab Name="Home"/>
  <MakeTab Name="Extra" Pos="Before" Target="Missing"/>
  <MakeGroup Tab="Home" Name="Draw"/>
  <MakePopupMenu Path="Nowhere" Name="Sub"/>
  <MakePopupMenu Path="" Name="Draw"/>
  <Command SID="ID_DRAW_LINE" ChangeText="true"/>
  <Command SID="ID_SURVEY_POINT">
    <CommandPanel Name="Survey"/><Ribbon Tab="Nope" Group="G"/><Ribbon Tab="Home" Group="G" MakePos="true"/>
  </Command>
  <Command SID="ID_SURVEY_AREA"><Menu Path="Draw/Line"/></Command>
  <Command SID="ID_FILE_OPEN"><CommandPanel Name="Standard"/></Command>
</Layout></Option_Data>)");
    const auto result = appendOption("--verbose", "Items", "Items.xml");
    EXPECT_EQ(result.status, 0) << result.errors;
    std::vector<std::string> standard;
    for (const std::string& line : linesOf(result.output))
        if (line.find("(type Standard") != std::string::npos)
            standard.push_back(line);
    const std::string normal = " (type Standard, mode Normal): ";
    const std::string notApplied = "layout item not applied: ";
    const std::string point = "Command SID=\"ID_SURVEY_POINT\" ";
    const std::string caption = "Command SID=\"ID_DRAW_LINE\" ChangeText=\"true\"";
    EXPECT_EQ(standard,
              (std::vector<std::string>{
                  notApplied + "MakeTab Name=\"Home\"" + normal + "the tab already exists",
                  "layout item applied: MakeTab Name=\"Extra\"" + normal +
                      "the target \"Missing\" is not there: appended at the end",
                  notApplied + "MakeGroup Tab=\"Home\" Name=\"Draw\"" + normal + "the group already exists",
                  notApplied + "MakePopupMenu Path=\"Nowhere\" Name=\"Sub\"" + normal + "there is no menu \"Nowhere\"",
                  notApplied + "MakePopupMenu Path=\"\" Name=\"Draw\"" + normal + "the popup already exists",
                  notApplied + caption + normal + "every caption shown already reads as the command table's",
                  notApplied + point + "CommandPanel Name=\"Survey\"" + normal +
                      "there is no toolbar \"Survey\" (MakePos is not set)",
                  notApplied + point + "Ribbon Tab=\"Nope\" Group=\"G\"" + normal +
                      "there is no tab \"Nope\" (MakePos is not set)",
                  "layout item applied: " + point + "Ribbon Tab=\"Home\" Group=\"G\" (type Standard, mode Normal)",
                  notApplied + "Command SID=\"ID_SURVEY_AREA\" Menu Path=\"Draw/Line\"" + normal +
                      "\"Draw/Line\" is a command, not a menu",
                  notApplied + "Command SID=\"ID_FILE_OPEN\" CommandPanel Name=\"Standard\"" + normal +
                      "it is already on the toolbar",
                  // The caption is refreshed in every mode, whatever the placements' modes.
                  notApplied + caption +
                      " (type Standard, mode 3D): every caption shown already reads as the "
                      "command table's",
                  "layout item applied: AppendOption Name=\"Items\" Major=\"0\" Minor=\"0\" (type Standard)",
              }))
        << result.output;
}

TEST_F(RunReportTest, OutputOptions_AreExclusive_AsAUsageError) {
    const std::string before = readFile(temp.native(oldLayout()));
    const auto result = run({"option", "--quiet", "--json", "--folder", oldRelease, "--install", "install", "Survey",
                             "install/Options/Survey.xml"});
    EXPECT_EQ(result.status, 2) << result.output << result.errors;
    EXPECT_EQ(readFile(temp.native(oldLayout())), before);
}

TEST_F(RunReportTest, Help_NamesTheOutputOptions_AndTheExitStatuses) {
    for (const char* command : {"update", "option"}) {
        const auto result = run({command, "--help"});
        EXPECT_EQ(result.status, 0);
        for (const char* text : {"--verbose", "--quiet", "--json", "Exit status: 0", "2 for a usage error"})
            EXPECT_NE(result.output.find(text), std::string::npos) << command << ": " << text;
    }
}

// The library's own reason for refusing the folders, on standard error; the
// result line stays on standard output.
TEST_F(RunReportTest, Refusal_IsAnErrorLineWithTheLibrarysReason_AndTheExitStatusIs1) {
    const auto result = run({"update", "--yes", "--install", "install", "--appdata", "profile/2016_x64", "--userdata",
                             "user", "install/Update.xml"});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.output, "1 refusal\nresult: -1\n");
    const std::vector<std::string> errors = linesStartingWith(result.errors, "error: refused: ");
    ASSERT_EQ(errors.size(), 1u) << result.errors;
    EXPECT_NE(errors[0].find("not three levels below a folder named \"PLX\""), std::string::npos) << errors[0];
    EXPECT_EQ(errors[0].find(shown("profile/2016_x64")), errors[0].rfind(shown("profile/2016_x64"))) << "the path once";
    EXPECT_FALSE(fs::exists(temp.native("profile/2016_x64")));
}

} // namespace
} // namespace tern::cli
