// tnupdate: a host of the update library of its own, for running the
// library's entries on real folders from a shell.

#include "cli/check_command.h"
#include "cli/help_formatter.h"
#include "cli/option_command.h"
#include "cli/update_command.h"
#include "cli/usage_error.h"
#include "platform/com_apartment.h"
#include "platform/command_line.h"

#include <CLI/CLI.hpp>

#include <memory>
#include <string>

int main(int argc, char** argv) {
    // COM stays open for the whole run, as on the application's user-interface
    // thread that the library runs on. Every XML file is still read and
    // written in an apartment of its own, which then nests in this one.
    const tern::platform::ComApartment apartment;
    CLI::App app{"Brings a user's per-release folders forward, as the drafting application does "
                 "when a new release starts, and runs its other library entries.",
                 "tnupdate"};
    // Set before the commands are added: each takes its parent's formatter.
    app.formatter(std::make_shared<tern::cli::HelpFormatter>(tern::cli::helpWidth()));
    app.set_help_flag("-h,--help", "print this help and exit");
    app.require_subcommand(1);
    // The library's version, and the source revision it was built from when known.
    const std::string revision = TNUPDATE_REVISION;
    app.set_version_flag(
        "--version", std::string("tnupdate ") + TNUPDATE_VERSION + (revision.empty() ? "" : "\nbuilt from " + revision),
        "print the library's version and the source revision it was "
        "built from");
    int status = 0;
    tern::cli::setupUpdateCommand(app, status);
    tern::cli::setupOptionCommand(app, status);
    tern::cli::setupCheckCommand(app, status);
    // After the commands: each would take it as its own footer.
    app.footer("Run 'tnupdate COMMAND --help' for a command's options, the terms it uses and its exit status.");

    const auto arguments = tern::platform::utf8Arguments(argc, argv);
    const std::vector<std::string> afterName(arguments.begin() + (arguments.empty() ? 0 : 1), arguments.end());
    try {
        // CLI11 takes the arguments last first.
        app.parse(std::vector<std::string>(afterName.rbegin(), afterName.rend()));
    } catch (const CLI::Success& help) {
        return app.exit(help);
    } catch (const CLI::ParseError& error) {
        return tern::cli::refuseCommandLine(app, afterName, error);
    }
    return status;
}
