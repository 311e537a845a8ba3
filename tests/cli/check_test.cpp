// `tnupdate check` run as a definition author would, on the sample data and
// on definitions written for the test.

#include "tests/support/run_program.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

namespace tern::cli {
namespace {

namespace fs = std::filesystem;
using test::TempFolder;
using test::writeFile;

class CheckCommandTest : public ::testing::Test {
protected:
    void SetUp() override { fs::copy(TN_EXAMPLES_DIR, temp.path(), fs::copy_options::recursive); }

    test::ProgramResult check(std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), "check");
        return test::runProgram(TNUPDATE_EXE, arguments, temp.path());
    }
    // Writes a definition file and checks it, with the sample command table.
    test::ProgramResult checkWritten(const std::string& text) {
        writeFile(temp.native("Check.xml"), text);
        return check({"--commands", "install/Config/Commands.xml", "Check.xml"});
    }

    TempFolder temp;
};

TEST_F(CheckCommandTest, SampleDefinition_ListsItsEntries_AndFindsNothingDropped) {
    const auto result = check({"--commands", "install/Config/Commands.xml", "install/Update.xml"});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.output, "entry 2016.0: 3 layout items, 2 setting sections\n"
                             "entry 2015.2: 2 layout items, 1 setting sections\n"
                             "entry 2015.0: 3 layout items, 1 setting sections\n"
                             "3 entries, 0 problems\n");
}

TEST_F(CheckCommandTest, OptionDefinition_IsReadByItsRoot_WithBareLayoutsAsEntries) {
    writeFile(temp.native("Option.xml"), "<Option_Data>\n"
                                         "  <Update ver=\"1.0\"><Layout><MakeTab Name=\"Survey\"/></Layout></Update>\n"
                                         "  <Layout><MakeTab Name=\"Extra\"/><MakeTab Name=\"More\"/></Layout>\n"
                                         "</Option_Data>\n");
    const auto result = check({"Option.xml"});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.output, "entry 1.0: 1 layout items, 0 setting sections\n"
                             "entry 0.0: 2 layout items, 0 setting sections\n"
                             "2 entries, 0 problems\n");
}

TEST_F(CheckCommandTest, EverythingTheLoadersDrop_IsListedWithItsLine) {
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
              "entry 2016.0: 2 layout items, 1 setting sections\n"
              "entry 2016.1: 0 layout items, 0 setting sections\n"
              "entry 2016.1: 0 layout items, 0 setting sections\n"
              "line 5: A \"Command\" without a \"SID\" is dropped.\n"
              "line 6: The \"Mode\" value \"3D\" is not one of \"Normal\", \"EM_NORMAL\", \"3dMode\" or \"RedMode\", "
              "so \"Normal\" is used.\n"
              "line 9: A \"Setting\" without a \"Path\" is dropped.\n"
              "line 11: The element \"addnode\" inside \"Setting\" is skipped; names are case-sensitive, so write "
              "\"AddNode\".\n"
              "line 12: The \"XPath\" value \"Grid[\" of an \"IfN\" does not compile to a node selection, so it "
              "selects nothing.\n"
              "line 12: An \"AddNode\" without an \"XPath\" is dropped.\n"
              "line 15: The entry 2016.1 is not older than the entry before it (2016.0); entries go newest first.\n"
              "line 16: The entry 2016.1 is not older than the entry before it (2016.1); entries go newest first.\n"
              "The entry 2016.0 has a \"Command\" with the SID \"ID_UNKNOWN\" that the command table does not know; "
              "it would never be placed.\n"
              "3 entries, 9 problems\n");
}

TEST_F(CheckCommandTest, UnknownCommands_AreReportedOnlyAgainstACommandTable) {
    writeFile(temp.native("Check.xml"), "<Update_Data><Update ver=\"2016.0\"><Layout>"
                                        "<Command SID=\"ID_UNKNOWN\"/></Layout></Update></Update_Data>");
    const auto without = check({"Check.xml"});
    EXPECT_EQ(without.status, 0);
    EXPECT_EQ(without.lastLine(), "1 entries, 0 problems");
    const auto with = check({"--commands", "install/Config/Commands.xml", "Check.xml"});
    EXPECT_EQ(with.status, 1);
    EXPECT_EQ(with.lastLine(), "1 entries, 1 problems");
}

TEST_F(CheckCommandTest, ARejectedFile_IsOneProblem_ListedAfterTheEntriesReadBeforeIt) {
    const std::pair<std::string, std::string> cases[] = {
        {"<Update_Data>\n"
         "  <Update ver=\"2016.0\"/>\n"
         "  <Update ver=\"2015.2\"/>\n"
         "  <Update ver=\"\"/>\n"
         "  <Update ver=\"2015.0\"/>\n"
         "</Update_Data>\n",
         "entry 2016.0: 0 layout items, 0 setting sections\n"
         "entry 2015.2: 0 layout items, 0 setting sections\n"
         "line 4: An \"Update\" with an empty \"ver\" rejects the whole file.\n"
         "2 entries, 1 problems\n"},
        {"<?xml version=\"1.0\"?>\n<Versions><Main>2016.0</Main></Versions>\n",
         "line 2: The root element is \"Versions\", not \"Update_Data\", so the whole file is rejected.\n"
         "0 entries, 1 problems\n"},
        {"<Update_Data><Update ver=\"2016.0\"></Update_Data>",
         "Check.xml is not well-formed XML, so the whole file is rejected.\n0 entries, 1 problems\n"},
    };
    for (const auto& [text, expected] : cases) {
        const auto result = checkWritten(text);
        EXPECT_EQ(result.status, 1) << text;
        EXPECT_EQ(result.output, expected) << text;
    }
}

TEST_F(CheckCommandTest, AMissingFile_IsAProblemWithItsPath) {
    const auto result = check({"Missing.xml"});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.output.rfind("Cannot read Missing.xml: ", 0), 0u) << result.output;
    EXPECT_EQ(result.lastLine(), "0 entries, 1 problems");
}

TEST_F(CheckCommandTest, UsageErrors_ExitWithTwo) {
    EXPECT_EQ(check({}).status, 2);
    EXPECT_EQ(check({"a.xml", "b.xml"}).status, 2);
    const auto badTable = check({"--commands", "Missing.xml", "install/Update.xml"});
    EXPECT_EQ(badTable.status, 2);
    EXPECT_EQ(badTable.output.rfind("tnupdate: cannot load the command table Missing.xml: ", 0), 0u)
        << badTable.output;
}

} // namespace
} // namespace tern::cli
