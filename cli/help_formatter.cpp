#include "cli/help_formatter.h"

#include "platform/command_line.h"

#include <algorithm>
#include <cstdlib>
#include <sstream>

namespace tern::cli {

std::size_t helpWidth() {
    const char* columns = std::getenv("COLUMNS");
    if (columns && *columns >= '0' && *columns <= '9') {
        char* end = nullptr;
        const unsigned long width = std::strtoul(columns, &end, 10);
        if (*end == '\0' && width > 0)
            return width;
    }
    return platform::terminalWidth();
}

std::string wrapText(const std::string& text, std::size_t width, std::size_t indent) {
    std::string wrapped;
    std::istringstream lines(text);
    std::string line;
    bool firstLine = true;
    while (std::getline(lines, line)) {
        if (!firstLine)
            wrapped += '\n';
        firstLine = false;
        std::istringstream words(line);
        std::string word;
        std::size_t used = 0;
        bool lineStarted = false;
        while (words >> word) {
            if (lineStarted && used + 1 + word.size() > width) {
                wrapped += '\n' + std::string(indent, ' ');
                used = indent;
            } else if (lineStarted) {
                wrapped += ' ';
                ++used;
            }
            wrapped += word;
            used += word.size();
            lineStarted = true;
        }
    }
    return wrapped;
}

HelpFormatter::HelpFormatter(std::size_t width) : width(width < 40 ? 40 : width) {
    // CLI11's first column is 30 wide; on a narrow terminal it gives the
    // texts more room.
    column_width(std::min<std::size_t>(30, this->width * 3 / 8));
}

std::string HelpFormatter::make_description(const CLI::App* app) const {
    const std::string description = CLI::Formatter::make_description(app);
    return description.empty() ? description : wrapText(description, width) + "\n";
}

std::string HelpFormatter::make_usage(const CLI::App* app, std::string name) const {
    const std::string label = get_label("Usage") + ": ";
    return wrapText(CLI::Formatter::make_usage(app, std::move(name)), width, label.size()) + "\n";
}

std::string HelpFormatter::make_subcommand(const CLI::App* command) const {
    return twoColumns(command->get_display_name(true), command->get_description());
}

std::string HelpFormatter::make_footer(const CLI::App* app) const {
    std::istringstream lines(app->get_footer());
    std::string footer;
    std::string line;
    while (std::getline(lines, line)) {
        const auto tab = line.find('\t');
        footer += tab == std::string::npos ? wrapText(line, width) + "\n"
                                           : twoColumns(line.substr(0, tab), line.substr(tab + 1));
    }
    return footer;
}

std::string HelpFormatter::make_option_desc(const CLI::Option* option) const {
    return wrapText(option->get_description(), secondColumnWidth());
}

std::string HelpFormatter::twoColumns(const std::string& name, const std::string& text) const {
    std::ostringstream out;
    CLI::detail::format_help(out, name, wrapText(text, secondColumnWidth()), get_column_width());
    return out.str();
}

} // namespace tern::cli
