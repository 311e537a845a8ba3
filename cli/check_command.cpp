#include "cli/check_command.h"

#include "cli/load_failure.h"
#include "cli/paths.h"
#include "components/utility/command_table.h"
#include "components/utility/xml.h"
#include "platform/com_apartment.h"
#include "platform/file_system.h"
#include "platform/text.h"
#include "update/definition_file.h"
#include "update/layout/command.h"
#include "update/load_report.h"
#include "update/owned_pointers.h"
#include "update/update_data.h"

#include <CLI/CLI.hpp>

#include <iostream>
#include <memory>

namespace tern::cli {

namespace {

namespace xml = utility::xml;

struct CheckOptions {
    std::string commands;
    std::string definition;
};

// The loaders' reports and the command's own findings, as printed lines.
class ProblemList : public update::LoadListener {
public:
    void dropped(const xml::Node& node, const std::wstring& message) override { add(node.line(), message); }

    void add(int line, const std::wstring& message) {
        const std::string text = platform::toUtf8(message);
        lines.push_back(line > 0 ? "line " + std::to_string(line) + ": " + text : text);
    }

    std::vector<std::string> lines;
};

// The loaded entries, destroyed with this object.
struct Entries {
    Entries() = default;
    Entries(const Entries&) = delete;
    Entries& operator=(const Entries&) = delete;
    ~Entries() { update::deleteAll(list); }
    std::vector<update::UpdateData*> list; // owned
};

// Reads the file's entries with the loader its root element picks: the file
// is parsed once, and a file that cannot be read or is not well-formed is
// added as the problem.
void loadEntries(const std::wstring& path, const std::string& shownPath, Entries& entries, ProblemList& problems) {
    const platform::ComApartment apartment;
    xml::Document document;
    xml::Element root;
    if (!apartment.ok() || !xml::load(document, path, false) || !xml::getRootElement(root, document)) {
        std::string bytes;
        std::error_code why;
        if (!platform::readFile(path, bytes, &why))
            problems.add(0, platform::fromUtf8("Cannot read " + shownPath + ": " + why.message() + "."));
        else
            problems.add(0, platform::fromUtf8(shownPath + " is not well-formed XML, so the whole file is rejected."));
        return;
    }
    const update::ScopedLoadListener listening(problems);
    const bool option = root.name() == L"Option_Data";
    const bool loaded = update::loadDefinition(entries.list, root, option ? L"Option_Data" : L"Update_Data",
                                               option ? update::BareLayouts::load : update::BareLayouts::skip);
    if (!loaded && problems.lines.empty())
        problems.add(0, L"The file could not be read, so the whole file is rejected.");
}

// Commands the table does not know are never placed: say so per entry.
void checkCommands(const update::UpdateData& entry, const utility::CCommandTable& commands, ProblemList& problems) {
    for (const update::layout::ILayoutItem* item : entry.layout.items) {
        const auto* command = dynamic_cast<const update::layout::Command*>(item);
        if (command && !commands.IsCommand(command->sid))
            problems.add(0, L"The entry " + entry.version + L" has a \"Command\" with the SID \"" + command->sid +
                                L"\" that the command table does not know; it would never be placed.");
    }
}

std::string describe(const update::UpdateData& entry) {
    return "entry " + platform::toUtf8(entry.version) + ": " + std::to_string(entry.layout.items.size()) +
           " layout items, " + std::to_string(entry.settings.size()) + " setting sections";
}

int runCheck(const CheckOptions& options) {
    utility::CCommandTable commands;
    if (!options.commands.empty() && !loadCommandTable(commands, fileArgument(options.commands)))
        return usageErrorStatus;

    ProblemList problems;
    Entries entries;
    loadEntries(fileArgument(options.definition), options.definition, entries, problems);
    if (!options.commands.empty())
        for (const update::UpdateData* entry : entries.list)
            checkCommands(*entry, commands, problems);

    for (const update::UpdateData* entry : entries.list)
        std::cout << describe(*entry) << "\n";
    for (const std::string& line : problems.lines)
        std::cout << line << "\n";
    std::cout << entries.list.size() << " entries, " << problems.lines.size() << " problems\n";
    return problems.lines.empty() ? 0 : 1;
}

} // namespace

void setupCheckCommand(CLI::App& app, int& status) {
    auto options = std::make_shared<CheckOptions>();
    CLI::App* command = app.add_subcommand(
        "check", "Read an update- or option-definition file as the library does and list its entries and "
                 "everything the library would drop or reject.\n"
                 "Example: tnupdate check --commands inst/Config/Commands.xml inst/Update.xml");
    command->add_option("--commands", options->commands,
                        "a command table (a Commands.xml file): also report commands it does not know, which "
                        "would never be placed");
    command
        ->add_option("DEFINITION", options->definition,
                     "the definition file; its root (Update_Data or Option_Data) picks how it is read")
        ->required();
    command->footer(std::string("Exit status: 0 when nothing is dropped, 1 when the library would reject the file "
                                "or drop anything, ") +
                    usageErrorHelp + ".");
    command->callback([options, &status] { status = runCheck(*options); });
}

} // namespace tern::cli
