// tnupdate's help, laid out for the terminal it is read on.
//
// CLI11 lays the help out in two columns (an option or command, then what it
// means) but leaves every text one long line. This formatter keeps CLI11's
// layout and breaks the texts at spaces so that no line is wider than the
// given width: a command's description, its usage line (continued under the
// program's name), each option's and command's text (continued under its own
// column), and the footer. A footer line written
// "NAME\tTEXT" is laid out as a two-column entry, like an option.

#pragma once

#include <CLI/CLI.hpp>

#include <cstddef>
#include <string>

namespace tern::cli {

// The width the help is laid out for: COLUMNS when it is set to a number
// (a user's choice, as for other programs), else the terminal's width, 80
// when the output is not a terminal.
std::size_t helpWidth();

// Breaks text into lines of at most width characters at spaces, each line
// of text on its own; a word longer than width stands alone on its line.
// The lines a line of text is continued on start with `indent` spaces.
std::string wrapText(const std::string& text, std::size_t width, std::size_t indent = 0);

class HelpFormatter : public CLI::Formatter {
public:
    // width below 40 is taken as 40: narrower, the second column would hold
    // a word or two per line.
    explicit HelpFormatter(std::size_t width);

    std::string make_description(const CLI::App* app) const override;
    std::string make_usage(const CLI::App* app, std::string name) const override;
    std::string make_subcommand(const CLI::App* command) const override;
    std::string make_footer(const CLI::App* app) const override;
    std::string make_option_desc(const CLI::Option* option) const override;

private:
    // name in the first column, text wrapped in the second.
    std::string twoColumns(const std::string& name, const std::string& text) const;
    std::size_t secondColumnWidth() const { return width - get_column_width(); }

    std::size_t width;
};

} // namespace tern::cli
