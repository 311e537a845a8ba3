// The command line of the built tnupdate as a user meets it: unknown
// commands, usage lines, help laid out for the terminal, the exit status of
// a command table that cannot be loaded, and the terms the help explains.

#include "tests/cli/sample_copy_test.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <sstream>

namespace tern::cli {
namespace {

namespace fs = std::filesystem;
using test::readFile;

// Sets an environment variable (or removes it) for the programs run while
// it lives, and puts back what was there.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const std::optional<std::string>& value) : name(name) {
        if (const char* before = std::getenv(name))
            previous = before;
        set(value);
    }
    ~ScopedVariable() { set(previous); }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    void set(const std::optional<std::string>& value) {
#ifdef _WIN32
        _putenv_s(name, value ? value->c_str() : "");
#else
        if (value)
            ::setenv(name, value->c_str(), 1);
        else
            ::unsetenv(name);
#endif
    }

    const char* name;
    std::optional<std::string> previous;
};

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

std::vector<std::string> wordsOf(const std::string& text) {
    std::vector<std::string> words;
    std::istringstream in(text);
    for (std::string word; in >> word;)
        words.push_back(word);
    return words;
}

const char* const commandNames[] = {"update", "option", "check"};

class CommandLineTest : public SampleCopyTest {
protected:
    // The help of a command ("" for the program's own) laid out for a
    // terminal of `columns` columns.
    test::ProgramResult help(const std::string& command, const std::optional<std::string>& columns) {
        const ScopedVariable width("COLUMNS", columns);
        return tnupdate(command.empty() ? std::vector<std::string>{"--help"}
                                        : std::vector<std::string>{command, "--help"});
    }
};

TEST_F(CommandLineTest, UnknownCommand_IsNamedWithTheCommands_AndIsAUsageError) {
    struct Case {
        std::vector<std::string> arguments;
        std::string named;
    } cases[] = {
        {{"frob"}, "frob"},
        {{"Update"}, "Update"},
        {{"frob", "update"}, "frob"},
        {{"--frob", "chek"}, "chek"},
    };
    for (const Case& c : cases) {
        const auto result = tnupdate(c.arguments);
        EXPECT_EQ(result.output,
                  "tnupdate: \"" + c.named + "\" is not a command; the commands are update, option, check\n")
            << c.arguments[0];
        EXPECT_EQ(result.status, 2) << c.arguments[0];
    }
    const auto none = tnupdate({});
    EXPECT_EQ(none.output, "tnupdate: no command was given; the commands are update, option, check\n");
    EXPECT_EQ(none.status, 2);
}

TEST_F(CommandLineTest, UsageLines_NameTheProgram_InTheHelpAndAfterEachUsageError) {
    const auto own = help("", std::nullopt);
    EXPECT_NE(own.output.find("\nUsage: tnupdate [OPTIONS] SUBCOMMAND\n"), std::string::npos) << own.output;
    for (const std::string command : commandNames) {
        const auto commandHelp = help(command, std::nullopt);
        EXPECT_EQ(commandHelp.status, 0);
        const auto lines = linesOf(commandHelp.output);
        const auto usage = std::count_if(lines.begin(), lines.end(),
                                         [](const std::string& line) { return line.rfind("Usage:", 0) == 0; });
        EXPECT_EQ(usage, 1) << commandHelp.output;
        EXPECT_NE(commandHelp.output.find("\nUsage: tnupdate " + command + " [OPTIONS] "), std::string::npos)
            << commandHelp.output;

        const auto wrong = tnupdate({command, "--frob"});
        EXPECT_EQ(wrong.status, 2) << wrong.output;
        EXPECT_EQ(wrong.lastLine(), "Run 'tnupdate " + command + " --help' for usage.") << wrong.output;
    }
}

// Narrower than the help's longest lines: each must be broken at a space,
// none lost, and none wider than the terminal unless it is one word.
TEST_F(CommandLineTest, Help_IsWrappedToTheColumnsGiven_KeepingEveryWord) {
    for (const std::string command : {"", "update", "option", "check"}) {
        const auto wide = help(command, "400");
        for (const std::size_t columns : {40u, 60u, 100u}) {
            SCOPED_TRACE(command + " at " + std::to_string(columns));
            const auto narrow = help(command, std::to_string(columns));
            EXPECT_EQ(narrow.status, 0);
            EXPECT_EQ(wordsOf(narrow.output), wordsOf(wide.output));
            EXPECT_GT(linesOf(narrow.output).size(), linesOf(wide.output).size());
            for (const std::string& line : linesOf(narrow.output))
                EXPECT_TRUE(line.size() <= columns || wordsOf(line).size() == 1) << line;
        }
    }
}

// The tests' output goes to a file, as a pipe's would: no terminal to ask.
TEST_F(CommandLineTest, Help_IsWrappedTo80Columns_WhenTheOutputIsNoTerminal) {
    for (const std::string command : {"", "update", "option", "check"}) {
        const auto result = help(command, std::nullopt);
        const auto lines = linesOf(result.output);
        const std::size_t longest =
            std::max_element(lines.begin(), lines.end(), [](const std::string& a, const std::string& b) {
                return a.size() < b.size();
            })->size();
        EXPECT_LE(longest, 80u) << result.output;
        EXPECT_GT(longest, 70u) << result.output;
        for (const char* notAWidth : {"", "wide", "-40", "0", "60x"})
            EXPECT_EQ(help(command, std::string(notAWidth)).output, result.output) << notAWidth;
    }
}

// A table that is missing, or is no command table, stops every command
// alike, before it touches anything.
TEST_F(CommandLineTest, CommandTableThatCannotBeLoaded_GivesTheSameStatusInEveryCommand_AndTouchesNothing) {
    const std::string broken = "<Commands><Command SID=\"ID_A\"";
    test::writeFile(temp.native("install/Broken.xml"), broken);
    const std::string release = "profile/PLX/OrvoLumen/OrvoLumen/2016_x64";
    const std::string layout = "profile/PLX/OrvoLumen/OrvoLumen/2015_x64/Config/Display.xml";
    const std::string layoutBefore = readFile(temp.native(layout));
    for (const std::string table : {"install/Missing.xml", "install/Broken.xml"}) {
        const std::vector<std::vector<std::string>> commands{
            {"update", "--install", "install", "--appdata", release, "--userdata", "profile/UserData/2016_x64",
             "--lumen", "--yes", "--commands", table, "install/Update.xml"},
            {"option", "--folder", "profile/PLX/OrvoLumen/OrvoLumen/2015_x64", "--commands", table, "Survey",
             "install/Options/Survey.xml"},
            {"check", "--commands", table, "install/Update.xml"}};
        for (const auto& arguments : commands) {
            SCOPED_TRACE(arguments[0] + " with " + table);
            const auto result = tnupdate(arguments);
            std::string said = result.output;
            std::replace(said.begin(), said.end(), '\\', '/');
            EXPECT_EQ(result.status, 2);
            EXPECT_EQ(said.rfind("error: cannot load the command table " + table + ": ", 0), 0u) << said;
            EXPECT_EQ(linesOf(said).size(), 1u) << said;
        }
    }
    EXPECT_FALSE(fs::exists(temp.native(release)));
    EXPECT_EQ(readFile(temp.native(layout)), layoutBefore);

    // The installation's own table, taken without --commands, is held to the same.
    test::writeFile(temp.native("install/Config/Commands.xml"), broken);
    const auto implied = tnupdate({"update", "--install", "install", "--appdata", release, "--userdata",
                                   "profile/UserData/2016_x64", "--yes", "install/Update.xml"});
    EXPECT_EQ(implied.status, 2) << implied.output;
    EXPECT_FALSE(fs::exists(temp.native(release)));
}

TEST_F(CommandLineTest, Help_ExplainsEachTermInOneLine_AndEachCommandItsExitStatus) {
    const auto update = linesOf(help("update", "300").output);
    const auto terms = std::find(update.begin(), update.end(), "Terms:");
    ASSERT_NE(terms, update.end());
    const std::pair<const char*, const char*> explained[] = {
        {"--lumen", "the current product line"},
        {"edition", "a DEFINITION path containing Patron or Civic names that edition"},
        {"OrvoVista", "the older product line"}};
    for (const auto& [term, meaning] : explained) {
        const auto line = std::find_if(terms, update.end(), [term = std::string("  ") + term](const std::string& l) {
            return l.rfind(term + " ", 0) == 0;
        });
        ASSERT_NE(line, update.end()) << term;
        EXPECT_NE(line->find(meaning), std::string::npos) << *line;
        // The next line is another term or the blank line after them, never a continuation.
        ASSERT_NE(line + 1, update.end());
        EXPECT_TRUE((line + 1)->empty() || (line + 1)->find_first_not_of(' ') == 2) << *(line + 1);
    }
    for (const std::string command : commandNames) {
        const auto lines = linesOf(help(command, "300").output);
        const auto status = std::find_if(lines.begin(), lines.end(),
                                         [](const std::string& l) { return l.rfind("Exit status: 0 ", 0) == 0; });
        ASSERT_NE(status, lines.end()) << command;
        EXPECT_NE(status->find(", 2 for a usage error or a command table that cannot be loaded"), std::string::npos)
            << *status;
    }
}

} // namespace
} // namespace tern::cli
