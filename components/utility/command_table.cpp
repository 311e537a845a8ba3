#include "components/utility/command_table.h"

#include "components/utility/decimal_text.h"
#include "components/utility/xml.h"
#include "platform/com_apartment.h"
#include "platform/text.h"

#include <unordered_set>
#include <utility>

namespace tern::utility {

namespace {

// Where a problem is: the file, and the line when the DOM knows it.
std::wstring placeOf(const std::wstring& path, const xml::Node& node) {
    const int line = node.line();
    return line > 0 ? path + L", line " + std::to_wstring(line) : path;
}

// Reads the "Command" children of the root, indexing their SIDs; false with
// the first problem.
bool readCommands(const std::wstring& path, const xml::Element& root, std::vector<SCommand>& commands,
                  std::unordered_map<std::wstring, std::size_t>& bySid, std::wstring& problem) {
    std::unordered_set<int> ids;
    for (xml::Node child = root.firstChild(); child; child = child.nextSibling()) {
        if (!child.isElement())
            continue;
        if (!xml::checkNodeName(child, L"Command")) {
            problem = placeOf(path, child) + L": \"" + child.name() +
                      L"\" is not allowed in \"Commands\"; only \"Command\" is.";
            return false;
        }
        const xml::Element element = child.asElement();
        SCommand command;
        if (!xml::readAttributeText(command.sid, element, L"SID") || command.sid.empty()) {
            problem = placeOf(path, child) + L": a \"Command\" has no \"SID\".";
            return false;
        }
        std::wstring idText;
        xml::readAttributeText(idText, element, L"Id");
        if (!parseDecimal(idText, command.id) || command.id <= 0) {
            problem = placeOf(path, child) + L": the \"Id\" \"" + idText + L"\" of command \"" + command.sid +
                      L"\" is not a positive whole number.";
            return false;
        }
        xml::readAttributeText(command.caption, element, L"Caption");
        if (!bySid.emplace(command.sid, commands.size()).second) {
            problem = placeOf(path, child) + L": the SID \"" + command.sid + L"\" is listed twice.";
            return false;
        }
        if (!ids.insert(command.id).second) {
            problem = placeOf(path, child) + L": the Id " + idText + L" of command \"" + command.sid +
                      L"\" is already used by another command.";
            return false;
        }
        commands.push_back(std::move(command));
    }
    return true;
}

} // namespace

bool CCommandTable::load(const std::wstring& path, std::wstring& problem) {
    const platform::ComApartment apartment;
    if (!apartment.ok()) {
        problem = path + L": COM cannot be opened to read the file.";
        return false;
    }
    std::vector<SCommand> read;
    std::unordered_map<std::wstring, std::size_t> index;
    try {
        xml::Document document;
        xml::Element root;
        std::wstring why;
        if (!xml::load(document, path, false, &why) || !xml::getRootElement(root, document)) {
            problem = path + L": the file cannot be read as XML: " + why + L".";
            return false;
        }
        if (!xml::checkNodeName(root, L"Commands")) {
            problem = path + L": the root element is \"" + root.name() + L"\", not \"Commands\".";
            return false;
        }
        if (!readCommands(path, root, read, index, problem))
            return false;
    } catch (const xml::DomError& error) {
        problem = path + L": the file cannot be read (" + platform::fromUtf8(error.what()) + L").";
        return false;
    }
    commands = std::move(read);
    bySid = std::move(index);
    problem.clear();
    return true;
}

bool CCommandTable::IsCommand(const std::wstring& sid) const { return findCommand(sid) != nullptr; }

int CCommandTable::GetCommand(const std::wstring& sid, SCommand& record) const {
    const SCommand* found = findCommand(sid);
    if (!found)
        return -1;
    record = *found;
    return static_cast<int>(found - commands.data());
}

const SCommand* CCommandTable::findCommand(const std::wstring& sid) const {
    const auto found = bySid.find(sid);
    return found == bySid.end() ? nullptr : &commands[found->second];
}

} // namespace tern::utility
