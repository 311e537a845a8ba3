// `tnupdate check`: reads an update- or option-definition file with the
// library's own loaders and says what they keep and what they drop.
//
// It prints one line per entry (version, layout items, setting sections),
// one line per problem ("line N: ..." where the line is known) and, last,
// "N entries, M problems". Exit status: 0 when the file loads with nothing
// dropped, 1 when the library would reject the file or drop anything, 2 for
// a usage error (including a command table that cannot be loaded).

#pragma once

namespace CLI {
class App;
}

namespace tern::cli {

// Adds the subcommand to app; when it runs, its exit status goes to status.
void setupCheckCommand(CLI::App& app, int& status);

} // namespace tern::cli
