#include "cli/definition_problems.h"

#include "components/utility/command_table.h"
#include "platform/com_apartment.h"
#include "platform/text.h"
#include "update/load_report.h"
#include "update/update_data.h"

#include <ostream>
#include <utility>

namespace tern::cli {

namespace xml = utility::xml;

namespace {

// The loaders' reports as problems, and the SIDs of the commands they keep
// checked against the command table when there is one.
//
// A SID is looked up when the next command is read, or at the end: its
// look-up is readied when it is read (CCommandTable::prefetch), so that
// the table's memory is not waited for command by command. Its problem
// goes where it would have gone, among those reported since.
class ProblemCollector : public update::LoadListener {
public:
    ProblemCollector(const utility::CCommandTable* commands, std::vector<Problem>& problems)
        : commands(commands), problems(problems) {}

    void dropped(const xml::Node& node, const std::wstring& message) override {
        problems.push_back({node.line(), message});
    }

    void commandRead(const xml::Element& element, const std::wstring& sid) override {
        if (!commands)
            return;
        commands->prefetch(sid);
        checkWaitingSid();
        waiting.sid = sid; // into the room the last SID had
        waiting.element = element;
        waiting.problemsBefore = problems.size();
    }

    // Checks the SID still waiting, if any; once the loaders are done.
    void checkWaitingSid() {
        if (!waiting.element)
            return;
        const xml::Element element = std::move(waiting.element); // none waits any more
        if (!commands->IsCommand(waiting.sid))
            problems.insert(problems.begin() + static_cast<std::ptrdiff_t>(waiting.problemsBefore),
                            {element.line(), L"The SID \"" + waiting.sid +
                                                 L"\" is not in the command table, so this \"Command\" is never "
                                                 L"placed."});
    }

private:
    const utility::CCommandTable* commands;
    std::vector<Problem>& problems;
    struct {
        std::wstring sid;
        xml::Element element; // empty when no SID waits
        std::size_t problemsBefore = 0;
    } waiting;
};

} // namespace

const DefinitionKind updateDefinition{L"Update_Data", update::BareLayouts::skip};
const DefinitionKind optionDefinition{L"Option_Data", update::BareLayouts::load};

std::string located(const std::string& shownPath, const Problem& problem) {
    const std::string where = problem.line > 0 ? shownPath + ":" + std::to_string(problem.line) : shownPath;
    return where + ": " + platform::toUtf8(problem.message);
}

bool openXmlFile(const std::wstring& path, xml::Document& document, xml::Element& root,
                 std::vector<Problem>& problems) {
    std::wstring why;
    int line = 0;
    try {
        if (xml::loadForReading(document, path, &why, &line) && xml::getRootElement(root, document))
            return true;
    } catch (const xml::DomError& error) {
        why = L"it cannot be read (" + platform::fromUtf8(error.what()) + L")";
    }
    problems.push_back({line, L"The whole file is rejected: " + why + L"."});
    return false;
}

void readDefinition(const xml::Element& root, const DefinitionKind& kind, const utility::CCommandTable* commands,
                    const std::function<void(const update::UpdateData&)>& look, std::vector<Problem>& problems) {
    const std::size_t before = problems.size();
    ProblemCollector collector(commands, problems);
    const update::ScopedLoadListener listening(collector);
    // The loaders say why they reject a file; a DOM failure is the one
    // rejection they have no words for.
    const auto take = [&](std::unique_ptr<update::UpdateData> entry) { look(*entry); };
    const bool loaded = update::loadDefinition(root, kind.rootName, kind.bareLayouts, take);
    collector.checkWaitingSid();
    if (!loaded && problems.size() == before)
        problems.push_back({0, L"The file could not be read, so the whole file is rejected."});
}

void warnDefinitionProblems(const std::wstring& path, const std::string& shownPath, const DefinitionKind& kind,
                            std::ostream& out) {
    if (path.empty())
        return;
    std::vector<Problem> problems;
    {
        const platform::ComApartment apartment;
        xml::Document document;
        xml::Element root;
        if (!apartment.ok())
            problems.push_back({0, L"The file could not be read: COM cannot be opened."});
        else if (openXmlFile(path, document, root, problems))
            readDefinition(
                root, kind, nullptr, [](const update::UpdateData&) {}, problems);
    }
    for (const Problem& problem : problems)
        out << "warning: " << located(shownPath, problem) << "\n";
}

} // namespace tern::cli
