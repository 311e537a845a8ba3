#include "components/utility/command_table.h"

#include "components/utility/decimal_text.h"
#include "components/utility/xml.h"
#include "platform/com_apartment.h"
#include "platform/text.h"

#include <set>

namespace tern::utility {

namespace {

// Where a problem is: the file, and the line when the DOM knows it.
std::wstring placeOf(const std::wstring& path, const xml::Node& node) {
    const int line = node.line();
    return line > 0 ? path + L", line " + std::to_wstring(line) : path;
}

// Reads the "Command" children of the root; false with the first problem.
bool readCommands(const std::wstring& path, const xml::Element& root, std::vector<SCommand>& commands,
                  std::wstring& problem) {
    std::set<std::wstring> sids;
    std::set<int> ids;
    for (xml::Node child = root.firstChild(); child; child = child.nextSibling()) {
        if (!child.isElement())
            continue;
        const std::wstring where = placeOf(path, child);
        if (child.name() != L"Command") {
            problem = where + L": \"" + child.name() + L"\" is not allowed in \"Commands\"; only \"Command\" is.";
            return false;
        }
        const xml::Element element = child.asElement();
        SCommand command;
        if (!xml::readAttributeText(command.sid, element, L"SID") || command.sid.empty()) {
            problem = where + L": a \"Command\" has no \"SID\".";
            return false;
        }
        std::wstring idText;
        xml::readAttributeText(idText, element, L"Id");
        if (!parseDecimal(idText, command.id) || command.id <= 0) {
            problem = where + L": the \"Id\" \"" + idText + L"\" of command \"" + command.sid +
                      L"\" is not a positive whole number.";
            return false;
        }
        xml::readAttributeText(command.caption, element, L"Caption");
        if (!sids.insert(command.sid).second) {
            problem = where + L": the SID \"" + command.sid + L"\" is listed twice.";
            return false;
        }
        if (!ids.insert(command.id).second) {
            problem = where + L": the Id " + idText + L" of command \"" + command.sid +
                      L"\" is already used by another command.";
            return false;
        }
        commands.push_back(command);
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
        if (!readCommands(path, root, read, problem))
            return false;
    } catch (const xml::DomError& error) {
        problem = path + L": the file cannot be read (" + platform::fromUtf8(error.what()) + L").";
        return false;
    }
    commands = std::move(read);
    problem.clear();
    return true;
}

bool CCommandTable::IsCommand(const std::wstring& sid) const {
    SCommand record;
    return GetCommand(sid, record) >= 0;
}

int CCommandTable::GetCommand(const std::wstring& sid, SCommand& record) const {
    for (std::size_t i = 0; i < commands.size(); ++i) {
        if (commands[i].sid == sid) {
            record = commands[i];
            return static_cast<int>(i);
        }
    }
    return -1;
}

} // namespace tern::utility
