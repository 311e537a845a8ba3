// `tnupdate check` run as a definition author, an editor or a script would,
// on the sample data and on files written for the test.

#include "tests/cli/sample_copy_test.h"

#include <gtest/gtest.h>

namespace tern::cli {
namespace {

using test::readFile;
using test::writeFile;

const std::string sampleLayout = "profile/PLX/OrvoLumen/OrvoLumen/2015_x64/Config/Display.xml";
const std::string sampleCommands = "install/Config/Commands.xml";

class CheckCommandTest : public SampleCopyTest {
protected:
    test::ProgramStreams check(std::vector<std::string> arguments, const std::string& input = {}) {
        arguments.insert(arguments.begin(), "check");
        return tnupdateApart(arguments, input);
    }
    // Writes a file and checks it, with the sample command table.
    test::ProgramStreams checkWritten(const std::string& text, const std::string& name = "Check.xml") {
        writeFile(temp.native(name), text);
        return check({"--commands", sampleCommands, name});
    }
    // A copy of a sample file with one text replaced, written as `name`.
    void writeChanged(const std::string& sample, const std::string& from, const std::string& to,
                      const std::string& name) {
        std::string text = readFile(temp.native(sample));
        const auto at = text.find(from);
        ASSERT_NE(at, std::string::npos) << from;
        writeFile(temp.native(name), text.replace(at, from.size(), to));
    }
};

TEST_F(CheckCommandTest, SampleDefinition_ListsItsEntries_AndFindsNothingWrong) {
    const auto result = check({"--commands", sampleCommands, "install/Update.xml"});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.output, "install/Update.xml: entry 2016.0: 3 layout items, 2 setting sections\n"
                             "install/Update.xml: entry 2015.2: 2 layout items, 1 setting section\n"
                             "install/Update.xml: entry 2015.0: 3 layout items, 1 setting section\n"
                             "3 entries, 0 problems\n");
    EXPECT_EQ(result.errors, "");
}

TEST_F(CheckCommandTest, OptionDefinition_IsReadByItsRoot_WithBareLayoutsAsEntries) {
    writeFile(temp.native("Option.xml"), "<Option_Data>\n"
                                         "  <Update ver=\"1.0\"><Layout><MakeTab Name=\"Survey\"/></Layout></Update>\n"
                                         "  <Layout><MakeTab Name=\"Extra\"/><MakeTab Name=\"More\"/></Layout>\n"
                                         "</Option_Data>\n");
    const auto result = check({"Option.xml"});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.output, "Option.xml: entry 1.0: 1 layout item, 0 setting sections\n"
                             "Option.xml: entry 0.0: 2 layout items, 0 setting sections\n"
                             "2 entries, 0 problems\n");
}

TEST_F(CheckCommandTest, EverythingTheLoadersDrop_IsListedAtItsLine_InTheOrderOfTheFile) {
    const auto result = checkWritten("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                     "<Update_Data>\n"
                                     "  <Update ver=\"2016.0\">\n"
                                     "    <Layout>\n"
                                     "      <Command><Menu Path=\"Draw\"/></Command>\n"
                                     "      <Command SID=\"ID_DRAW_ARC\"><Menu Path=\"Draw\" Mode=\"3D\"/></Command>\n"
                                     "      <Command SID=\"ID_UNKNOWN\"><Menu Path=\"Draw\"/></Command>\n"
                                     "    </Layout>\n"
                                     "    <Setting><AddNode XPath=\".\"/></Setting>\n"
                                     "    <Setting Path=\"Config\\A.xml\">\n"
                                     "      <addnode XPath=\".\"/>\n"
                                     "      <IfN XPath=\"Grid[\"><AddNode/></IfN>\n"
                                     "    </Setting>\n"
                                     "  </Update>\n"
                                     "  <Update ver=\"2016.1\"/>\n"
                                     "  <Update ver=\"2016.1\"/>\n"
                                     "</Update_Data>\n");
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.output,
              "Check.xml: entry 2016.0: 2 layout items, 1 setting section\n"
              "Check.xml: entry 2016.1: 0 layout items, 0 setting sections\n"
              "Check.xml: entry 2016.1: 0 layout items, 0 setting sections\n"
              "Check.xml:5: A \"Command\" without a \"SID\" is dropped.\n"
              "Check.xml:6: The \"Mode\" value \"3D\" is not one of \"Normal\", \"EM_NORMAL\", \"3dMode\" or "
              "\"RedMode\", so \"Normal\" is used.\n"
              "Check.xml:7: The SID \"ID_UNKNOWN\" is not in the command table, so this \"Command\" is never "
              "placed.\n"
              "Check.xml:9: A \"Setting\" without a \"Path\" is dropped.\n"
              "Check.xml:11: The element \"addnode\" inside \"Setting\" is skipped; names are case-sensitive, so "
              "write \"AddNode\".\n"
              "Check.xml:12: The \"XPath\" value \"Grid[\" of an \"IfN\" does not compile to a node selection, so "
              "it selects nothing.\n"
              "Check.xml:12: An \"AddNode\" without an \"XPath\" is dropped.\n"
              "Check.xml:15: The entry 2016.1 is not older than the entry before it (2016.0); entries go newest "
              "first.\n"
              "Check.xml:16: The entry 2016.1 is not older than the entry before it (2016.1); entries go newest "
              "first.\n"
              "3 entries, 9 problems\n");
}

// Each case is one problem in an otherwise sound definition: the whole
// output is its entry, its one line, and the singular counts.
TEST_F(CheckCommandTest, EachKindOfProblem_IsOneLine_AtTheLineOfItsElement) {
    const std::pair<std::string, std::string> cases[] = {
        {"<Update_Data>\n  <Update ver=\"V2\"/>\n</Update_Data>\n",
         "Check.xml: entry V2: 0 layout items, 0 setting sections\n"
         "Check.xml:2: The \"ver\" value \"V2\" is not a version number such as \"2016.0\", so it is read as 0.0.\n"},
        {"<Update_Data>\n  <Update ver=\"2016.x\"/>\n</Update_Data>\n",
         "Check.xml: entry 2016.x: 0 layout items, 0 setting sections\n"
         "Check.xml:2: The \"ver\" value \"2016.x\" is not a version number such as \"2016.0\", so it is read as "
         "2016.0.\n"},
        {"<Update_Data>\n  <Update ver=\"1\">\n    <Layout>\n      <Command SID=\"ID_DRAW_ARC\"/>\n"
         "    </Layout>\n  </Update>\n</Update_Data>\n",
         "Check.xml: entry 1: 1 layout item, 0 setting sections\n"
         "Check.xml:4: A \"Command\" with no \"Ribbon\", \"Menu\" or \"CommandPanel\" places nothing.\n"},
        {"<Update_Data>\n  <Update ver=\"1\">\n    <Layout>\n      <Command SID=\"ID_DRAW_ARC\">\n"
         "        <Menu Path=\"Draw\" pos=\"First\"/>\n      </Command>\n    </Layout>\n  </Update>\n</Update_Data>\n",
         "Check.xml: entry 1: 1 layout item, 0 setting sections\n"
         "Check.xml:5: \"pos\" is not an attribute of \"Menu\"; did you mean \"Pos\"?\n"},
        {"<Update_Data>\n  <Update ver=\"1\">\n    <Layout>\n      <MakeTab Name=\"Survey\" Colour=\"Red\"/>\n"
         "    </Layout>\n  </Update>\n</Update_Data>\n",
         "Check.xml: entry 1: 1 layout item, 0 setting sections\n"
         "Check.xml:4: \"Colour\" is not an attribute of \"MakeTab\", which takes \"Mode\", \"Name\", \"Pos\" or "
         "\"Target\".\n"},
        {"<Update_Data>\n  <Update ver=\"1\">\n    <Setting path=\"Config\\A.xml\" Path=\"Config\\A.xml\"/>\n"
         "  </Update>\n</Update_Data>\n",
         "Check.xml: entry 1: 0 layout items, 1 setting section\n"
         "Check.xml:3: \"path\" is not an attribute of \"Setting\"; did you mean \"Path\"?\n"},
        {"<Update_Data>\n  <Update ver=\"1\">\n    <Layout>\n"
         "      <Command SID=\"ID_NOT_THERE\"><Menu Path=\"Draw\"/></Command>\n    </Layout>\n  </Update>\n"
         "</Update_Data>\n",
         "Check.xml: entry 1: 1 layout item, 0 setting sections\n"
         "Check.xml:4: The SID \"ID_NOT_THERE\" is not in the command table, so this \"Command\" is never placed.\n"},
    };
    for (const auto& [text, expected] : cases) {
        const auto result = checkWritten(text);
        EXPECT_EQ(result.status, 1) << text;
        EXPECT_EQ(result.output, expected + "1 entry, 1 problem\n") << text;
    }
}

// All on one line, so that only the order of the reports tells whether a
// command's unknown SID is listed with that command.
TEST_F(CheckCommandTest, UnknownCommands_AreReportedOnlyAgainstACommandTable_EachWithItsCommand) {
    writeFile(temp.native("Check.xml"), "<Update_Data><Update ver=\"2016.0\"><Layout>"
                                        "<Command SID=\"ID_UNKNOWN\"><Menu Path=\"Draw\"/></Command>"
                                        "<Command SID=\"ID_DRAW_ARC\"><Menu Path=\"Draw\" Pos=\"Up\"/></Command>"
                                        "<Command SID=\"ID_ALSO_UNKNOWN\"><Menu Path=\"Draw\" Mode=\"3D\"/></Command>"
                                        "</Layout></Update></Update_Data>");
    const std::string pos = "Check.xml:1: The \"Pos\" value \"Up\" is not one of \"First\", \"Last\", \"EP_LAST\", "
                            "\"Before\" or \"After\", so \"Last\" is used.\n";
    const std::string mode = "Check.xml:1: The \"Mode\" value \"3D\" is not one of \"Normal\", \"EM_NORMAL\", "
                             "\"3dMode\" or \"RedMode\", so \"Normal\" is used.\n";
    const auto without = check({"Check.xml"});
    EXPECT_EQ(without.status, 1);
    EXPECT_EQ(without.output,
              "Check.xml: entry 2016.0: 3 layout items, 0 setting sections\n" + pos + mode + "1 entry, 2 problems\n");
    const auto with = check({"--commands", sampleCommands, "Check.xml"});
    EXPECT_EQ(with.status, 1);
    EXPECT_EQ(with.output, "Check.xml: entry 2016.0: 3 layout items, 0 setting sections\n"
                           "Check.xml:1: The SID \"ID_UNKNOWN\" is not in the command table, so this \"Command\" is "
                           "never placed.\n" +
                               pos + mode +
                               "Check.xml:1: The SID \"ID_ALSO_UNKNOWN\" is not in the command table, so this "
                               "\"Command\" is never placed.\n"
                               "1 entry, 4 problems\n");
}

TEST_F(CheckCommandTest, ARejectedFile_IsOneProblem_ListedAfterTheEntriesReadBeforeIt) {
    const std::pair<std::string, std::string> cases[] = {
        {"<Update_Data>\n"
         "  <Update ver=\"2016.0\"/>\n"
         "  <Update ver=\"2015.2\"/>\n"
         "  <Update ver=\"\"/>\n"
         "  <Update ver=\"2015.0\"/>\n"
         "</Update_Data>\n",
         "Check.xml: entry 2016.0: 0 layout items, 0 setting sections\n"
         "Check.xml: entry 2015.2: 0 layout items, 0 setting sections\n"
         "Check.xml:4: An \"Update\" with an empty \"ver\" rejects the whole file.\n"
         "2 entries, 1 problem\n"},
        {"<?xml version=\"1.0\"?>\n<Versions><Main>2016.0</Main></Versions>\n",
         "Check.xml:2: The root element is \"Versions\"; expected \"Update_Data\" (an update definition), "
         "\"Option_Data\" (an option's definition), \"Display\" (a layout file) or \"Commands\" (a command "
         "table).\n"
         "0 entries, 1 problem\n"},
    };
    for (const auto& [text, expected] : cases) {
        const auto result = checkWritten(text);
        EXPECT_EQ(result.status, 1) << text;
        EXPECT_EQ(result.output, expected) << text;
    }
}

// The parser's own words differ between platforms; the place and the
// verdict do not.
TEST_F(CheckCommandTest, AFileThatIsNotWellFormed_IsRejected_AtTheParsersLine) {
    const std::pair<std::string, std::string> cases[] = {
        {"<Update_Data>\n  <Update ver=\"2016.0\">\n    <Layout>\n  </Update>\n</Update_Data>\n", "Check.xml:4: "},
        {"<?xml version=\"1.0\"?>\n<Update_Data>\n  <Update ver=\"2016.0\"/>\n  <Update ver=\"2015.0\"/>\n",
         "Check.xml:4: "},
        {"<Update_Data>\n\n\n  <Update ver=\"2016.0\" ver=\"2015.0\"/>\n</Update_Data>\n", "Check.xml:4: "},
    };
    for (const auto& [text, place] : cases) {
        const auto result = checkWritten(text);
        EXPECT_EQ(result.status, 1) << text;
        const auto firstLineEnd = result.output.find('\n') + 1;
        EXPECT_EQ(result.output.rfind(place + "The whole file is rejected: it is not well-formed XML", 0), 0u)
            << result.output;
        EXPECT_EQ(result.output.substr(firstLineEnd), "0 entries, 1 problem\n") << result.output;
    }
}

TEST_F(CheckCommandTest, AMissingFile_IsAProblemNamingIt_WithoutALine) {
    const auto result = check({"Missing.xml"});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.output.rfind("Missing.xml: The whole file is rejected: it cannot be read: ", 0), 0u)
        << result.output;
    EXPECT_EQ((test::ProgramResult{0, result.output}.lastLine()), "0 entries, 1 problem");
}

TEST_F(CheckCommandTest, SeveralFiles_AreEachListedUnderTheirOwnName_AndCountedTogether) {
    writeFile(temp.native("Bad.xml"), "<Update_Data>\n  <Update ver=\"2016.0\" Ver=\"1\"/>\n</Update_Data>\n");
    const auto result = check({"--commands", sampleCommands, "install/Options/Survey.xml", "Bad.xml"});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.output, "install/Options/Survey.xml: entry 1.1: 1 layout item, 0 setting sections\n"
                             "install/Options/Survey.xml: entry 1.0: 5 layout items, 0 setting sections\n"
                             "Bad.xml: entry 2016.0: 0 layout items, 0 setting sections\n"
                             "Bad.xml:2: \"Ver\" is not an attribute of \"Update\"; did you mean \"ver\"?\n"
                             "2 files, 3 entries, 1 problem\n");
    const auto good = check({"--commands", sampleCommands, "install/Update.xml", "install/Options/Survey.xml"});
    EXPECT_EQ(good.status, 0);
    EXPECT_EQ((test::ProgramResult{0, good.output}.lastLine()), "2 files, 5 entries, 0 problems");
}

TEST_F(CheckCommandTest, ADash_ReadsTheStandardInput) {
    const auto result = check({"-"}, "<Update_Data>\n  <Update ver=\"2016.0\">\n    <Layout foo=\"1\"/>\n"
                                     "  </Update>\n</Update_Data>\n");
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.output, "<stdin>: entry 2016.0: 0 layout items, 0 setting sections\n"
                             "<stdin>:3: \"foo\" is not an attribute of \"Layout\", which takes none.\n"
                             "1 entry, 1 problem\n");
    const auto sample = check({"-"}, readFile(temp.native("install/Update.xml")));
    EXPECT_EQ(sample.status, 0);
    EXPECT_EQ((test::ProgramResult{0, sample.output}.lastLine()), "3 entries, 0 problems");
}

// A sample file of each kind checks clean; the same with one planted fault
// gives the problem its reader finds, at its line.
TEST_F(CheckCommandTest, LayoutFilesAndCommandTables_AreRecognisedByTheirRoot_AndReadAsTheApplicationReadsThem) {
    struct Case {
        std::string sample;
        std::string contents;
        std::string from, to;
        std::string problem;
    };
    const Case cases[] = {
        {sampleLayout, "layout file: 2 layout types", "<LayoutType Name=\"Standard\">", "<LayoutType>",
         "Broken.xml:3: \"LayoutType\" needs a non-empty \"Name\"."},
        {sampleCommands, "command table", "SID=\"ID_FILE_SAVE\"", "SID=\"ID_FILE_OPEN\"",
         "Broken.xml:4: The SID \"ID_FILE_OPEN\" is listed twice."},
    };
    for (const Case& c : cases) {
        const auto good = check({"--commands", sampleCommands, c.sample});
        EXPECT_EQ(good.status, 0) << c.sample;
        EXPECT_EQ(good.output, c.sample + ": " + c.contents + "\n0 entries, 0 problems\n");

        writeChanged(c.sample, c.from, c.to, "Broken.xml");
        const auto broken = check({"Broken.xml"});
        EXPECT_EQ(broken.status, 1) << c.sample;
        EXPECT_EQ(broken.output, c.problem + "\n0 entries, 1 problem\n");
    }
}

TEST_F(CheckCommandTest, UsageErrors_ExitWithTwo) {
    EXPECT_EQ(check({}).status, 2);
    const auto badTable = check({"--commands", "Missing.xml", "install/Update.xml"});
    EXPECT_EQ(badTable.status, 2);
    EXPECT_EQ(badTable.output, "");
    EXPECT_NE(badTable.errors.find("cannot load the command table "), std::string::npos) << badTable.errors;
    EXPECT_NE(badTable.errors.find("Missing.xml: "), std::string::npos) << badTable.errors;
}

} // namespace
} // namespace tern::cli
