#include "cli/usage_error.h"

#include "cli/load_failure.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <iostream>

namespace tern::cli {

namespace {

std::string commandNames(const CLI::App& app) {
    std::string names;
    for (const CLI::App* command : app.get_subcommands({}))
        names += (names.empty() ? "" : ", ") + command->get_name();
    return names;
}

bool isCommand(const CLI::App& app, const std::string& word) {
    const auto commands = app.get_subcommands({});
    return std::any_of(commands.begin(), commands.end(),
                       [&word](const CLI::App* command) { return command->get_name() == word; });
}

} // namespace

int refuseCommandLine(const CLI::App& app, const std::vector<std::string>& arguments, const CLI::ParseError& error) {
    // The program's own options are all flags, so the first word that is no
    // option is where the command should stand.
    const auto word = std::find_if(arguments.begin(), arguments.end(),
                                   [](const std::string& argument) { return argument.rfind('-', 0) != 0; });
    if (word != arguments.end() && !isCommand(app, *word)) {
        std::cerr << app.get_name() << ": \"" << *word << "\" is not a command; the commands are " << commandNames(app)
                  << "\n";
        return usageErrorStatus;
    }
    if (arguments.empty()) {
        std::cerr << app.get_name() << ": no command was given; the commands are " << commandNames(app) << "\n";
        return usageErrorStatus;
    }
    std::string usage = app.get_name();
    for (const CLI::App* command : app.get_subcommands())
        usage += " " + command->get_name();
    std::cerr << app.get_name() << ": " << error.what() << "\nRun '" << usage << " --help' for usage.\n";
    return usageErrorStatus;
}

} // namespace tern::cli
