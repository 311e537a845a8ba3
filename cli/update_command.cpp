#include "cli/update_command.h"

#include "cli/command_line_questions.h"
#include "cli/definition_problems.h"
#include "cli/folder_frame.h"
#include "cli/kept_to_the_end.h"
#include "cli/installed.h"
#include "cli/load_failure.h"
#include "cli/paths.h"
#include "cli/reported_run.h"
#include "cli/shown_path.h"
#include "components/utility/command_table.h"
#include "platform/command_line.h"
#include "update/path_limit.h"
#include "update/updater.h"

#include <CLI/CLI.hpp>

#include <iostream>
#include <memory>

namespace tern::cli {

namespace {

struct UpdateOptions {
    std::string install;
    std::string appData;
    std::string userData;
    bool lumen = false;
    std::string definition;
    std::string commands;
    std::string answers;
    bool yesToAll = false;
    ReportOptions report;
};

using InstalledQuestions = Installed<core::IUserQuestions, core::setUserQuestions>;

CommandLineQuestions::Source answerSource(const UpdateOptions& options) {
    if (options.yesToAll)
        return CommandLineQuestions::Source::yesToAll;
    if (!options.answers.empty())
        return CommandLineQuestions::Source::answerList;
    return platform::standardInputIsTerminal() ? CommandLineQuestions::Source::terminal
                                               : CommandLineQuestions::Source::nobody;
}

// The host's command table: --commands, else the installation's own when it
// has one. Only a table that exists and cannot be loaded stops the run.
bool loadCommands(utility::CCommandTable& commands, const UpdateOptions& options, const Folders& folders) {
    const std::wstring file =
        options.commands.empty() ? folders.install + L"Config\\Commands.xml" : fileArgument(options.commands);
    if (options.commands.empty() && !update::isExistingFile(file)) {
        std::cerr << "warning: no command table (" << shownPath(file)
                  << " does not exist): layout items place no command\n";
        return true;
    }
    return loadCommandTable(commands, file);
}

int runUpdate(const UpdateOptions& options) {
    const Folders folders{folderArgument(options.install), folderArgument(options.appData),
                          folderArgument(options.userData)};
    const std::wstring definition = fileArgument(options.definition);
    warnDefinitionProblems(definition, options.definition, updateDefinition, std::cerr);
    utility::CCommandTable& commands = keptToTheEnd<utility::CCommandTable>();
    if (!loadCommands(commands, options, folders))
        return usageErrorStatus;
    const FolderFrame frame(folders, commands);
    const ReportStyle style = options.report.style();
    std::string badWord;
    CommandLineQuestions questions(answerSource(options), splitAnswers(options.answers, badWord), answerEcho(style),
                                   std::cerr);
    const InstalledQuestions installed(questions);
    return runReported(style, [&] {
        update::CUpdater updater;
        return updater.run(definition.c_str(), frame, options.lumen);
    });
}

} // namespace

void setupUpdateCommand(CLI::App& app, int& status) {
    auto options = std::make_shared<UpdateOptions>();
    CLI::App* command = app.add_subcommand(
        "update", "Bring a user's folders forward to the installed release, as the application does when a "
                  "release starts for the first time.\n"
                  "Example: tnupdate update --install inst --appdata prof/PLX/OrvoLumen/OrvoLumen/2016_x64 "
                  "--userdata prof/UserData/2016_x64 --lumen inst/Update.xml");
    command->add_option("--install", options->install,
                        "the installation folder: ja/version.xml gives the running release, Config/InitialSet/ "
                        "and Templates/Layer/ hold the shipped files")
        ->required();
    command->add_option("--appdata", options->appData,
                        "this release's application-data folder, three levels below a folder named PLX, "
                        "e.g. .../PLX/OrvoLumen/OrvoLumen/2016_x64")
        ->required();
    command->add_option("--userdata", options->userData,
                        "this release's user-data folder; its parent holds the other releases' user-data folders")
        ->required();
    command->add_flag("--lumen", options->lumen,
                      "the user runs the current product line (inherit from OrvoLumen and OrvoVista folders)");
    command->add_option("DEFINITION", options->definition,
                        "the update-definition file (root Update_Data); a path containing Patron or Civic names "
                        "that edition")
        ->required();
    command->add_option("--commands", options->commands,
                        "the host's command table (a Commands.xml file); default INSTALL/Config/Commands.xml when "
                        "it exists");
    auto* answers =
        command
            ->add_option("--answers", options->answers,
                         "answers to the questions, in the order they come, comma-separated: yes or no for a "
                         "question, 0 or 1 (OK with that product) or no (Cancel) for the dialog; "
                         "e.g. --answers yes,no")
            ->check([](const std::string& list) {
                std::string badWord;
                return splitAnswers(list, badWord).empty() ? "\"" + badWord + "\" is not an answer (yes, no, 0, 1)"
                                                           : std::string();
            });
    command->add_flag("--yes", options->yesToAll, "answer yes to every question, and OK with the first product to "
                                                  "the dialog")
        ->excludes(answers);
    addReportOptions(*command, options->report);
    command->footer("Terms:\n"
                    "--lumen\tthe current product line, OrvoLumen: earlier releases are looked for under "
                    "PLX/OrvoLumen/OrvoLumen/\n"
                    "edition\ta DEFINITION path containing Patron or Civic names that edition, whose "
                    "earlier releases are looked for under PLX/OrvoLumen/OrvoPatron/ or OrvoCivic/\n"
                    "OrvoVista\tthe older product line: with --lumen, an --appdata folder below "
                    "PLX/OrvoLumen/OrvoVista/ takes over that line's earlier releases\n"
                    "\n" +
                    command->get_footer());
    command->callback([options, &status] { status = runUpdate(*options); });
}

} // namespace tern::cli
