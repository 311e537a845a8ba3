// `tnupdate option`: runs Appender::run on a layout file and command table
// given as native paths.

#pragma once

namespace CLI {
class App;
}

namespace tern::cli {

// Adds the subcommand to app; when it runs, its exit status goes to status.
void setupOptionCommand(CLI::App& app, int& status);

} // namespace tern::cli
