// `tnupdate update`: runs CUpdater::run on folders given as native paths.

#pragma once

namespace CLI {
class App;
}

namespace tern::cli {

// Adds the subcommand to app; when it runs, its exit status goes to status.
void setupUpdateCommand(CLI::App& app, int& status);

} // namespace tern::cli
