// The help's layout at a given width, on a command line of its own.

#include "cli/help_formatter.h"

#include <gtest/gtest.h>

namespace tern::cli {
namespace {

TEST(WrapText, BreaksAtSpacesWithinTheWidth_KeepingLineBreaksAndLongWords) {
    struct Case {
        std::string text;
        std::size_t width;
        std::string wrapped;
    } cases[] = {
        {"one two three four", 9, "one two\nthree\nfour"},
        {"one two three four", 7, "one two\nthree\nfour"},
        {"one two three four", 6, "one\ntwo\nthree\nfour"},
        {"a  b   c", 80, "a b c"},
        {"first line\nsecond line", 80, "first line\nsecond line"},
        {"paragraph\n\nafter a blank line", 80, "paragraph\n\nafter a blank line"},
        {"a .../PLX/OrvoLumen/OrvoLumen/2016_x64 b", 10, "a\n.../PLX/OrvoLumen/OrvoLumen/2016_x64\nb"},
        {"", 10, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(wrapText(c.text, c.width), c.wrapped) << c.text << " at " << c.width;
}

TEST(WrapText, ContinuesEachLineOfTextIndented) {
    EXPECT_EQ(wrapText("Usage: tool [OPTIONS] NAME DEFINITION\nnext line here", 22, 7),
              "Usage: tool [OPTIONS]\n       NAME DEFINITION\nnext line here");
}

// At 40 columns the first column is 15 wide: each text continues under its
// own column, and a name too wide for the first column puts its text on
// the next line.
TEST(HelpFormatter, LaysTheHelpOutInTwoColumns_WrappedToTheWidth) {
    CLI::App app{"Copies the files a release needs and says which ones it copied.", "tool"};
    app.formatter(std::make_shared<HelpFormatter>(40));
    app.set_help_flag("--help", "print this help");
    std::string folder;
    app.add_option("--folder", folder, "the folder whose files are copied, with every subfolder");
    app.add_flag("--quiet", "say nothing but the result");
    app.footer("Terms:\nrelease\tone installed version of the program, in a folder of its own\n\nExit status: 0 when "
               "every file was copied, 1 otherwise.");
    EXPECT_EQ(app.help(), "Copies the files a release needs and\n"
                          "says which ones it copied.\n"
                          "Usage: tool [OPTIONS]\n"
                          "\n"
                          "Options:\n"
                          "  --help       print this help\n"
                          "  --folder TEXT\n"
                          "               the folder whose files\n"
                          "               are copied, with every\n"
                          "               subfolder\n"
                          "  --quiet      say nothing but the\n"
                          "               result\n"
                          "\n"
                          "Terms:\n"
                          "  release      one installed version of\n"
                          "               the program, in a folder\n"
                          "               of its own\n"
                          "\n"
                          "Exit status: 0 when every file was\n"
                          "copied, 1 otherwise.\n");
}

TEST(HelpFormatter, NarrowerThan40Columns_IsLaidOutFor40) {
    CLI::App narrow{"A description long enough to need more than one line at forty columns.", "tool"};
    narrow.formatter(std::make_shared<HelpFormatter>(12));
    CLI::App forty{"A description long enough to need more than one line at forty columns.", "tool"};
    forty.formatter(std::make_shared<HelpFormatter>(40));
    EXPECT_EQ(narrow.help(), forty.help());
    EXPECT_EQ(forty.help().rfind("A description long enough to need more\n", 0), 0u) << forty.help();
}

} // namespace
} // namespace tern::cli
