#include "cli/option_command.h"

#include "cli/definition_problems.h"
#include "cli/folder_frame.h"
#include "cli/kept_to_the_end.h"
#include "cli/load_failure.h"
#include "cli/paths.h"
#include "cli/reported_run.h"
#include "components/layout/layout_manager.h"
#include "components/utility/command_table.h"
#include "option/appender.h"
#include "platform/text.h"

#include <CLI/CLI.hpp>

#include <memory>

namespace tern::cli {

namespace {

struct OptionOptions {
    std::string folder;
    std::string commands;
    std::string install;
    std::string name;
    std::string definition;
    ReportOptions report;
};

int runOption(const OptionOptions& options) {
    warnDefinitionProblems(fileArgument(options.definition), options.definition, optionDefinition, std::cerr);
    Folders folders;
    folders.appData = folderArgument(options.folder);
    std::wstring commandsFile;
    if (!options.install.empty()) {
        folders.install = folderArgument(options.install);
        commandsFile = folders.install + L"Config\\Commands.xml";
    } else {
        commandsFile = fileArgument(options.commands);
    }

    // The command table and the layout model are the application's, which
    // outlive the append; here they live to the end of the process
    // (kept_to_the_end.h).
    utility::CCommandTable& commands = keptToTheEnd<utility::CCommandTable>();
    if (!loadCommandTable(commands, commandsFile))
        return usageErrorStatus;
    layout::LayoutManager& layouts = keptToTheEnd<layout::LayoutManager>();
    FolderFrame frame(folders, commands, layouts);
    const std::wstring layoutFile = folders.appData + L"Config\\Display.xml";
    if (!layouts.loadXmlFile(layoutFile, frame))
        return refuseUnloadable(layoutFile, layouts.getLoadProblem());

    const std::wstring name = platform::fromUtf8(options.name);
    const std::wstring definition = fileArgument(options.definition);
    return runReported(options.report.style(), [&] {
        option::Appender appender;
        return appender.run(name.c_str(), definition.c_str(), folders.appData.c_str(), frame.getLayoutManager(),
                            commands);
    });
}

} // namespace

void setupOptionCommand(CLI::App& app, int& status) {
    auto options = std::make_shared<OptionOptions>();
    CLI::App* command = app.add_subcommand(
        "option", "Append an add-on option's commands, tabs, groups and popups to a user's layout, once per "
                  "option version, as the application does when the option is installed.\n"
                  "Example: tnupdate option --folder prof/PLX/OrvoLumen/OrvoLumen/2016_x64 --install inst "
                  "Survey inst/Options/Survey.xml");
    command->add_option("--folder", options->folder,
                        "the application-data folder whose Config/Display.xml is the layout to append to "
                        "(it is rewritten there)")
        ->required();
    auto* commands = command->add_option("--commands", options->commands,
                                         "the command table (a Commands.xml file) that knows the option's commands");
    auto* install = command->add_option("--install", options->install,
                                        "the installation folder: stands for --commands INSTALL/Config/Commands.xml");
    commands->excludes(install);
    install->excludes(commands);
    command->add_option("NAME", options->name, "the option's name, under which its version is recorded")
        ->required();
    command->add_option("DEFINITION", options->definition, "the option-definition file (root Option_Data)")
        ->required();
    addReportOptions(*command, options->report);
    command->callback([options, &status] {
        if (options->commands.empty() && options->install.empty())
            throw CLI::RequiredError("--commands or --install");
        status = runOption(*options);
    });
}

} // namespace tern::cli
