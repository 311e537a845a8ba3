#include "cli/check_command.h"

#include "cli/definition_problems.h"
#include "cli/folder_frame.h"
#include "cli/kept_to_the_end.h"
#include "cli/load_failure.h"
#include "cli/paths.h"
#include "cli/standard_input_file.h"
#include "components/layout/layout_manager.h"
#include "components/utility/command_table.h"
#include "components/utility/xml.h"
#include "platform/com_apartment.h"
#include "platform/text.h"
#include "update/update_data.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <iostream>
#include <memory>

namespace tern::cli {

namespace {

namespace xml = utility::xml;

struct CheckOptions {
    std::string commands;
    std::vector<std::string> files;
};

// What one file holds and what is wrong with it.
struct FileReport {
    std::vector<std::string> contents; // one line per entry, or what the file is
    std::vector<Problem> problems;
    std::size_t entries = 0;
};

// "1 entry", "2 entries".
std::string counted(std::size_t count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

std::string describe(const update::UpdateData& entry) {
    return "entry " + platform::toUtf8(entry.version) + ": " +
           counted(entry.layout.items.size(), "layout item", "layout items") + ", " +
           counted(entry.settings.size(), "setting section", "setting sections");
}

// A problem the layout model or the command table gives as a text:
// "PATH, line N: message" or "PATH: message".
Problem problemOf(const std::wstring& path, const std::wstring& text) {
    Problem problem;
    std::size_t at = text.compare(0, path.size(), path) == 0 ? path.size() : 0;
    const std::wstring linePrefix = L", line ";
    if (text.compare(at, linePrefix.size(), linePrefix) == 0) {
        at += linePrefix.size();
        for (; at < text.size() && text[at] >= L'0' && text[at] <= L'9'; ++at)
            problem.line = problem.line * 10 + (text[at] - L'0');
    }
    if (text.compare(at, 2, L": ") == 0)
        at += 2;
    problem.message = text.substr(at);
    // Those texts go on after the path; here the message starts the sentence.
    if (!problem.message.empty())
        problem.message[0] = platform::toUpperCase(problem.message[0]);
    return problem;
}

void checkDefinition(const xml::Element& root, const DefinitionKind& kind, const utility::CCommandTable* commands,
                     FileReport& report) {
    const auto look = [&report](const update::UpdateData& entry) {
        report.contents.push_back(describe(entry));
        ++report.entries;
    };
    readDefinition(root, kind, commands, look, report.problems);
}

void checkLayoutFile(const std::wstring& path, const utility::CCommandTable& commands, FileReport& report) {
    layout::LayoutManager layouts;
    const FolderFrame frame(Folders{}, commands, layouts);
    if (!layouts.loadXmlFile(path, frame)) {
        report.problems.push_back(problemOf(path, layouts.getLoadProblem()));
        return;
    }
    std::vector<std::wstring> types;
    report.contents.push_back("layout file: " + counted(static_cast<std::size_t>(layouts.getTypeNames(types)),
                                                        "layout type", "layout types"));
}

void checkCommandTable(const std::wstring& path, FileReport& report) {
    utility::CCommandTable table;
    std::wstring problem;
    if (table.load(path, problem))
        report.contents.emplace_back("command table");
    else
        report.problems.push_back(problemOf(path, problem));
}

// Reads the file with what its root element calls for.
void checkFile(const std::wstring& path, const utility::CCommandTable& commands, bool commandsGiven,
               FileReport& report) {
    const platform::ComApartment apartment;
    if (!apartment.ok()) {
        report.problems.push_back({0, L"The file cannot be read: COM cannot be opened."});
        return;
    }
    xml::Document document;
    xml::Element root;
    if (!openXmlFile(path, document, root, report.problems))
        return;
    const std::wstring rootName = root.name();
    if (rootName == updateDefinition.rootName)
        checkDefinition(root, updateDefinition, commandsGiven ? &commands : nullptr, report);
    else if (rootName == optionDefinition.rootName)
        checkDefinition(root, optionDefinition, commandsGiven ? &commands : nullptr, report);
    else if (rootName == L"Display")
        checkLayoutFile(path, commands, report);
    else if (rootName == L"Commands")
        checkCommandTable(path, report);
    else
        report.problems.push_back(
            {root.line(), L"The root element is \"" + rootName +
                              L"\"; expected \"Update_Data\" (an update definition), \"Option_Data\" (an option's "
                              L"definition), \"Display\" (a layout file) or \"Commands\" (a command table)."});
}

// Checks the file the user named (the standard input for "-").
FileReport checkArgument(const std::string& argument, const utility::CCommandTable& commands, bool commandsGiven) {
    FileReport report;
    if (argument != "-") {
        checkFile(fileArgument(argument), commands, commandsGiven, report);
    } else {
        const StandardInputFile input;
        if (input.path().empty())
            report.problems.push_back({0, L"The whole file is rejected: " + input.problem() + L"."});
        else
            checkFile(input.path(), commands, commandsGiven, report);
    }
    // Editors list problems in the order of the file's lines.
    std::stable_sort(report.problems.begin(), report.problems.end(),
                     [](const Problem& a, const Problem& b) { return a.line < b.line; });
    return report;
}

int runCheck(const CheckOptions& options) {
    utility::CCommandTable& commands = keptToTheEnd<utility::CCommandTable>();
    const bool commandsGiven = !options.commands.empty();
    if (commandsGiven && !loadCommandTable(commands, fileArgument(options.commands)))
        return usageErrorStatus;

    std::size_t entries = 0;
    std::size_t problems = 0;
    for (const std::string& argument : options.files) {
        const FileReport report = checkArgument(argument, commands, commandsGiven);
        const std::string shown = argument == "-" ? "<stdin>" : argument;
        for (const std::string& line : report.contents)
            std::cout << shown << ": " << line << "\n";
        for (const Problem& problem : report.problems)
            std::cout << located(shown, problem) << "\n";
        entries += report.entries;
        problems += report.problems.size();
    }
    const std::string files = options.files.size() > 1 ? counted(options.files.size(), "file", "files") + ", " : "";
    std::cout << files << counted(entries, "entry", "entries") << ", " << counted(problems, "problem", "problems")
              << "\n";
    return problems == 0 ? 0 : 1;
}

} // namespace

void setupCheckCommand(CLI::App& app, int& status) {
    auto options = std::make_shared<CheckOptions>();
    CLI::App* command = app.add_subcommand(
        "check", "Read update- and option-definition files as the library does, and layout files (Display.xml) "
                 "and command tables (Commands.xml) as the application does, and list what each holds and "
                 "everything wrong with it, one problem a line as FILE:LINE: message.\n"
                 "Example: tnupdate check --commands inst/Config/Commands.xml inst/Update.xml "
                 "inst/Options/Survey.xml");
    command->add_option("--commands", options->commands,
                        "a command table (a Commands.xml file): also report each \"Command\" whose SID it does not "
                        "know, which would never be placed, and resolve a layout file's commands through it");
    command
        ->add_option("FILE", options->files,
                     "the files to check, each recognised by its root element (Update_Data, Option_Data, Display "
                     "or Commands); - reads the standard input")
        ->required();
    command->footer(std::string("Exit status: 0 when no file has a problem, 1 when one has, ") + usageErrorHelp + ".");
    command->callback([options, &status] { status = runCheck(*options); });
}

} // namespace tern::cli
