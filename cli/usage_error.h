// What tnupdate says when its command line cannot be carried out as given.
//
// One line on the standard error says what was wrong: an unknown command is
// named with the list of commands; anything else is CLI11's own message,
// followed by where the usage of the command at fault is explained
// ("Run 'tnupdate update --help' for usage.").

#pragma once

#include <string>
#include <vector>

namespace CLI {
class App;
class ParseError;
} // namespace CLI

namespace tern::cli {

// Reports error, met parsing arguments (the arguments after the program's
// name) against app, and returns the usage-error exit status.
int refuseCommandLine(const CLI::App& app, const std::vector<std::string>& arguments, const CLI::ParseError& error);

} // namespace tern::cli
