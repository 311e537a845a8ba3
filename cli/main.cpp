// tnupdate: a host of the update library of its own, for running the
// library's entries on real folders from a shell.

#include "cli/check_command.h"
#include "cli/option_command.h"
#include "cli/update_command.h"
#include "platform/com_apartment.h"
#include "platform/command_line.h"

#include <CLI/CLI.hpp>

#include <iostream>
#include <string>

int main(int argc, char** argv) {
    // COM stays open for the whole run, as on the application's user-interface
    // thread that the library runs on. Every XML file is still read and
    // written in an apartment of its own, which then nests in this one.
    const tern::platform::ComApartment apartment;
    CLI::App app{"Brings a user's per-release folders forward, as the drafting application does "
                 "when a new release starts, and runs its other library entries.",
                 "tnupdate"};
    app.require_subcommand(1);
    // The library's version, and the source revision when the build was told it.
    const std::string revision = TNUPDATE_REVISION;
    app.set_version_flag("--version", std::string("tnupdate ") + TNUPDATE_VERSION +
                                          (revision.empty() ? "" : "\nbuilt from " + revision));
    int status = 0;
    tern::cli::setupUpdateCommand(app, status);
    tern::cli::setupOptionCommand(app, status);
    tern::cli::setupCheckCommand(app, status);

    const auto arguments = tern::platform::utf8Arguments(argc, argv);
    try {
        app.parse(std::vector<std::string>(arguments.rbegin(), arguments.rend() - 1));
    } catch (const CLI::Success& help) {
        return app.exit(help);
    } catch (const CLI::ParseError& error) {
        std::cerr << "tnupdate: " << error.what() << "\n" << "Run 'tnupdate --help' for usage.\n";
        return 2;
    }
    return status;
}
