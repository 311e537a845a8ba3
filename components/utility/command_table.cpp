#include "components/utility/command_table.h"

#include "components/utility/decimal_text.h"
#include "components/utility/xml.h"
#include "platform/com_apartment.h"
#include "platform/text.h"

#include <algorithm>
#include <utility>

namespace tern::utility {
using namespace std::string_view_literals;

namespace {

// Where a problem is: the file, and the line when the DOM knows it.
std::wstring placeOf(const std::wstring& path, const xml::Node& node) {
    const int line = node.line();
    return line > 0 ? path + L", line " + std::to_wstring(line) : path;
}

// A power of two at least twice the count: an open-addressed table at most
// half full ends a probe after a place or two.
std::size_t placesFor(std::size_t count) {
    std::size_t places = 16;
    while (places < 2 * count)
        places *= 2;
    return places;
}

// The identifiers met so far, open-addressed in one block: a set of nodes
// cost an allocation each. Identifiers are positive, so 0 marks a free place.
class IdentifierSet {
public:
    explicit IdentifierSet(std::size_t count) : places(placesFor(count), 0) {}

    // False when the identifier is in the set already. At most `count` are put in.
    bool insert(int id) {
        const std::size_t mask = places.size() - 1;
        // Fibonacci hashing spreads runs of identifiers, the usual numbering.
        std::size_t at =
            static_cast<std::size_t>((static_cast<std::uint64_t>(id) * 11400714819323198485u) >> 32) & mask;
        for (; places[at] != 0; at = (at + 1) & mask)
            if (places[at] == id)
                return false;
        places[at] = id;
        return true;
    }

private:
    std::vector<int> places;
};

// Reads the "Command" children of the root, in file order, up to the first
// that breaks a rule of its own; false with that problem, the commands
// before it read.
bool readRecords(const std::wstring& path, const xml::Element& root, std::vector<SCommand>& commands,
                 std::wstring& problem) {
    // Counted first, so that the list is made once at its size.
    std::size_t count = 0;
    for (xml::Element child = root.firstChildElement(); child; child = child.nextSiblingElement())
        ++count;
    commands.reserve(count);
    // The SIDs and captions are kept in one block that the commands share
    // (shared_text.h): a text costs the allocation of its characters alone.
    // The block never grows, so that what it holds stays where it is.
    const auto texts = std::make_shared<std::vector<std::wstring>>();
    texts->reserve(2 * count);
    const auto keep = [&texts](std::wstring& text) {
        texts->push_back(std::move(text));
        text.clear();
        return SharedText(std::shared_ptr<const std::wstring>(texts, &texts->back()));
    };
    std::wstring sid;
    std::wstring idText; // read into room kept from one command to the next
    std::wstring caption;
    for (xml::Element child = root.firstChildElement(); child; child = child.nextSiblingElement()) {
        if (!xml::checkNodeName(child, L"Command"sv)) {
            problem = placeOf(path, child) + L": \"" + child.name() +
                      L"\" is not allowed in \"Commands\"; only \"Command\" is.";
            return false;
        }
        SCommand command;
        idText.clear();
        xml::AttributeField fields[] = {{L"SID"sv, &sid}, {L"Id"sv, &idText}, {L"Caption"sv, &caption}};
        xml::readAttributes(child, fields);
        if (sid.empty()) {
            problem = placeOf(path, child) + L": a \"Command\" has no \"SID\".";
            return false;
        }
        command.sid = keep(sid);
        command.caption = keep(caption);
        if (!parseDecimal(idText, command.id) || command.id <= 0) {
            problem = placeOf(path, child) + L": the \"Id\" \"" + idText + L"\" of command \"" + command.sid.str() +
                      L"\" is not a positive whole number.";
            return false;
        }
        commands.push_back(std::move(command));
    }
    return true;
}

// The position of the first command whose Id an earlier one has; -1 when none has.
std::ptrdiff_t firstRepeatedId(const std::vector<SCommand>& commands) {
    IdentifierSet ids(commands.size());
    for (std::size_t at = 0; at < commands.size(); ++at)
        if (!ids.insert(commands[at].id))
            return static_cast<std::ptrdiff_t>(at);
    return -1;
}

// The element of the command at that position, for saying where it is.
xml::Element commandElement(const xml::Element& root, std::ptrdiff_t position) {
    std::ptrdiff_t elements = 0;
    for (xml::Element child = root.firstChildElement(); child; child = child.nextSiblingElement())
        if (elements++ == position)
            return child;
    return {};
}

// Reads the commands and indexes their SIDs; false with the first problem
// in file order: a command that breaks a rule of its own, or one whose SID
// or Id an earlier command has.
bool readCommands(const std::wstring& path, const xml::Element& root, std::vector<SCommand>& commands, SidIndex& bySid,
                  std::wstring& problem) {
    // The commands are indexed once read, the index being faster made in
    // one go; a repeat among them comes before what stopped the reading.
    const bool allRead = readRecords(path, root, commands, problem);
    const std::ptrdiff_t sidRepeat = bySid.index(commands);
    const std::ptrdiff_t idRepeat = firstRepeatedId(commands);
    if (sidRepeat < 0 && idRepeat < 0)
        return allRead;
    const bool sidFirst = idRepeat < 0 || (sidRepeat >= 0 && sidRepeat <= idRepeat);
    const std::ptrdiff_t position = sidFirst ? sidRepeat : idRepeat;
    const xml::Element element = commandElement(root, position);
    const std::wstring& sid = commands[static_cast<std::size_t>(position)].sid.str();
    if (sidFirst) {
        problem = placeOf(path, element) + L": the SID \"" + sid + L"\" is listed twice.";
    } else {
        std::wstring idText;
        xml::readAttributeText(idText, element, L"Id");
        problem = placeOf(path, element) + L": the Id " + idText + L" of command \"" + sid +
                  L"\" is already used by another command.";
    }
    return false;
}

} // namespace

bool CCommandTable::load(const std::wstring& path, std::wstring& problem) {
    const platform::ComApartment apartment;
    if (!apartment.ok()) {
        problem = path + L": COM cannot be opened to read the file.";
        return false;
    }
    std::vector<SCommand> read;
    SidIndex index;
    try {
        xml::Document document;
        xml::Element root;
        std::wstring why;
        if (!xml::loadForReading(document, path, &why) || !xml::getRootElement(root, document)) {
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

const SCommand* CCommandTable::findCommand(const std::wstring& sid, std::wstring_view* caption) const {
    const std::ptrdiff_t found = bySid.find(sid, caption);
    return found < 0 ? nullptr : &commands[static_cast<std::size_t>(found)];
}

// FNV-1a over the characters, folded to 32 bits: SIDs are short, and this
// needs no call. A table of commands never comes near 2^32 of them, so the
// low bits place a slot and the rest still tell most SIDs in a probe apart.
std::uint32_t SidIndex::hashOf(std::wstring_view sid) {
    std::uint64_t hash = 14695981039346656037u;
    for (const wchar_t c : sid)
        hash = (hash ^ static_cast<std::uint32_t>(c)) * 1099511628211u;
    return static_cast<std::uint32_t>(hash ^ (hash >> 32));
}

std::size_t SidIndex::probe(std::wstring_view sid, std::uint32_t hash) const {
    const std::size_t mask = slots.size() - 1;
    std::size_t at = hash & mask;
    for (; slots[at].position != 0; at = (at + 1) & mask) {
        const Slot& slot = slots[at];
        // A SID shared from the table (shared_text.h) is the slot's own
        // text, which need not be read to be known equal.
        if (slot.hash == hash && slot.length == sid.size() &&
            (slot.characters == sid.data() ||
             std::char_traits<wchar_t>::compare(slot.characters, sid.data(), sid.size()) == 0))
            break;
    }
    return at;
}

std::ptrdiff_t SidIndex::index(const std::vector<SCommand>& commands) {
    slots.assign(placesFor(commands.size()), Slot());
    // Hashed first, so that each slot is asked for a few SIDs before it is
    // filled: filling the slots one by one waited for memory at each.
    std::vector<std::uint32_t> hashes;
    hashes.reserve(commands.size());
    for (const SCommand& command : commands)
        hashes.push_back(hashOf(command.sid.str()));
    constexpr std::size_t ahead = 8;
    for (std::size_t at = 0; at < commands.size(); ++at) {
        if (at + ahead < commands.size())
            __builtin_prefetch(&home(hashes[at + ahead]));
        const std::wstring& sid = commands[at].sid.str();
        Slot& slot = slots[probe(sid, hashes[at])];
        if (slot.position != 0)
            return static_cast<std::ptrdiff_t>(at);
        const std::wstring& caption = commands[at].caption.str();
        slot = {sid.data(),
                caption.data(),
                static_cast<std::uint32_t>(sid.size()),
                static_cast<std::uint32_t>(caption.size()),
                hashes[at],
                static_cast<std::uint32_t>(at + 1)};
    }
    return -1;
}

std::ptrdiff_t SidIndex::find(std::wstring_view sid, std::wstring_view* caption) const {
    if (slots.empty())
        return -1;
    const Slot& slot = slots[probe(sid, hashOf(sid))];
    if (caption && slot.position != 0)
        *caption = std::wstring_view(slot.caption, slot.captionLength);
    return static_cast<std::ptrdiff_t>(slot.position) - 1;
}

void SidIndex::prefetch(std::wstring_view sid) const {
    if (!slots.empty())
        __builtin_prefetch(&home(hashOf(sid)));
}

} // namespace tern::utility
