// `tnupdate check`: reads files as the library and the application read
// them and says what they keep and what is wrong, for editors and scripts.
//
// Each file is recognised by its root element: an update definition
// ("Update_Data") or an option's definition ("Option_Data") is read with
// the library's loaders, a layout file ("Display") with the layout model,
// and a command table ("Commands") as the host loads it. "-" reads the
// standard input. Per file it prints one line per entry kept (or what the
// file holds), then its problems as "FILE:LINE: message" ("FILE: message"
// when no line is known); last, the counts ("3 entries, 1 problem"). Exit
// status: 0 when no file has a problem, 1 when one has, 2 for a usage error
// (including a command table that cannot be loaded).

#pragma once

namespace CLI {
class App;
}

namespace tern::cli {

// Adds the subcommand to app; when it runs, its exit status goes to status.
void setupCheckCommand(CLI::App& app, int& status);

} // namespace tern::cli
