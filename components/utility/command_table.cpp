#include "components/utility/command_table.h"

#include "components/utility/decimal_text.h"
#include "components/utility/xml.h"
#include "platform/com_apartment.h"
#include "platform/text.h"

#include <algorithm>
#include <utility>

namespace tern::utility {

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

// Reads the "Command" children of the root, indexing their SIDs; false with
// the first problem.
bool readCommands(const std::wstring& path, const xml::Element& root, std::vector<SCommand>& commands, SidIndex& bySid,
                  std::wstring& problem) {
    // Counted first, so that the list and its index are made once at their size.
    std::size_t count = 0;
    for (xml::Node child = root.firstChild(); child; child = child.nextSibling())
        count += child.isElement() ? 1 : 0;
    commands.reserve(count);
    bySid.reserve(count);
    IdentifierSet ids(count);
    // Read into room kept from one command to the next.
    std::wstring sid;
    std::wstring idText;
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
        sid.clear();
        idText.clear();
        xml::AttributeField fields[] = {{L"SID", &sid}, {L"Id", &idText}, {L"Caption", &command.caption}};
        xml::readAttributes(element, fields);
        if (sid.empty()) {
            problem = placeOf(path, child) + L": a \"Command\" has no \"SID\".";
            return false;
        }
        command.sid = sid;
        if (!parseDecimal(idText, command.id) || command.id <= 0) {
            problem = placeOf(path, child) + L": the \"Id\" \"" + idText + L"\" of command \"" + command.sid.str() +
                      L"\" is not a positive whole number.";
            return false;
        }
        commands.push_back(std::move(command));
        const SCommand& added = commands.back();
        if (!bySid.insert(added.sid.str(), commands.size() - 1)) {
            problem = placeOf(path, child) + L": the SID \"" + added.sid.str() + L"\" is listed twice.";
            return false;
        }
        if (!ids.insert(added.id)) {
            problem = placeOf(path, child) + L": the Id " + idText + L" of command \"" + added.sid.str() +
                      L"\" is already used by another command.";
            return false;
        }
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

const SCommand* CCommandTable::findCommand(const std::wstring& sid) const {
    const std::ptrdiff_t found = bySid.find(sid);
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
        if (slot.hash == hash && slot.length == sid.size() &&
            std::char_traits<wchar_t>::compare(slot.characters, sid.data(), sid.size()) == 0)
            break;
    }
    return at;
}

bool SidIndex::insert(std::wstring_view sid, std::size_t position) {
    const std::uint32_t hash = hashOf(sid);
    if (!slots.empty() && slots[probe(sid, hash)].position != 0)
        return false;
    // At most half full, so that a probe ends after a slot or two.
    if (2 * (position + 1) > slots.size())
        resize(std::max<std::size_t>(16, 2 * slots.size()));
    place({sid.data(), static_cast<std::uint32_t>(sid.size()), hash, static_cast<std::uint32_t>(position + 1)});
    return true;
}

void SidIndex::reserve(std::size_t count) {
    if (const std::size_t places = placesFor(count); places > slots.size())
        resize(places);
}

void SidIndex::resize(std::size_t places) {
    std::vector<Slot> before = std::move(slots);
    slots.assign(places, Slot());
    for (const Slot& slot : before)
        if (slot.position != 0)
            place(slot);
}

void SidIndex::place(const Slot& slot) {
    const std::size_t mask = slots.size() - 1;
    std::size_t at = slot.hash & mask;
    while (slots[at].position != 0)
        at = (at + 1) & mask;
    slots[at] = slot;
}

std::ptrdiff_t SidIndex::find(std::wstring_view sid) const {
    if (slots.empty())
        return -1;
    return static_cast<std::ptrdiff_t>(slots[probe(sid, hashOf(sid))].position) - 1;
}

} // namespace tern::utility
