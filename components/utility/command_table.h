// The host's command table: every command the application knows, by its
// string identifier (SID).
//
// The table is read from the installation's "Config\Commands.xml":
//   <Commands>
//     <Command SID="ID_DRAW_LINE" Id="32771" Caption="Line"/>
//   </Commands>
// Each "Command" needs a non-empty "SID" and a positive integer "Id";
// "Caption" may be absent (an empty caption). SIDs and identifiers are unique
// within the file. A file that breaks any of these rules is refused whole,
// with a message naming the offending command and line, and the table keeps
// what it held before. SIDs compare exactly (case-sensitive).
//
// Every layout control and definition item is resolved through the table,
// so a look-up costs the same whatever its size: the SIDs are indexed when
// the table is loaded.

#pragma once

#include "components/utility/shared_text.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tern::utility {

// One command record: its numeric identifier, caption and SID. The SID and
// the caption are shared by the copies of a record (shared_text.h).
struct SCommand {
    int id = 0;
    SharedText caption;
    SharedText sid;
};

// The positions of the commands by SID: an open-addressed table of
// positions, each with its SID's hash and where the characters of its SID
// and caption lie, so that a look-up touches its slot and the characters it
// compares, never the commands, and compares no other command's SID but by
// chance. The characters are the commands' own, which the table keeps while
// it keeps the index: a command's texts are shared and never changed
// (shared_text.h).
class SidIndex {
public:
    // Indexes the SIDs of the commands, which must outlive the index, in
    // place of what it held; the position of the first command whose SID
    // an earlier one has (indexing stops there), or -1.
    std::ptrdiff_t index(const std::vector<SCommand>& commands);
    // The position of the command of that SID; -1 when there is none. When
    // asked, also its caption, read from the slot: the record, its caption
    // and their characters would be three waits for memory one after the
    // other.
    std::ptrdiff_t find(std::wstring_view sid, std::wstring_view* caption = nullptr) const;
    // Asks memory for the slot a look-up of the SID starts at, and returns
    // at once: the slots are met at random, so a look-up waits for memory
    // unless its slot was asked for a little before.
    void prefetch(std::wstring_view sid) const;

private:
    struct Slot {
        const wchar_t* characters = nullptr;
        const wchar_t* caption = nullptr;
        std::uint32_t length = 0;
        std::uint32_t captionLength = 0;
        std::uint32_t hash = 0;     // which also places the slot
        std::uint32_t position = 0; // a position + 1, or 0 for an empty slot
    };
    static std::uint32_t hashOf(std::wstring_view sid);
    // The slot of that SID when it is indexed, else the empty slot where it would go.
    std::size_t probe(std::wstring_view sid, std::uint32_t hash) const;
    // The slot a SID of that hash is looked for in first.
    const Slot& home(std::uint32_t hash) const { return slots[hash & (slots.size() - 1)]; }

    std::vector<Slot> slots; // a power of two long, at most half full
};

class CCommandTable {
public:
    // Replaces the table with the commands of the file, read in a COM
    // apartment of its own (platform/com_apartment.h). On false the table
    // is unchanged and `problem` says why (file, line, offending value).
    bool load(const std::wstring& path, std::wstring& problem);

    // Whether the table knows the SID.
    bool IsCommand(const std::wstring& sid) const;
    // Readies a look-up of the SID, to be made a little later, for callers
    // that learn SIDs before they ask about them (SidIndex::prefetch).
    void prefetch(const std::wstring& sid) const { bySid.prefetch(sid); }
    // Fills `record` with the command of that SID and returns its 0-based
    // position in the table; -1 (and `record` untouched) when it is unknown.
    int GetCommand(const std::wstring& sid, SCommand& record) const;
    // The command of that SID, without copying it; null when it is unknown.
    // The pointer lasts until the table is loaded again or destroyed, and so
    // do the characters of the caption, given when asked for (SidIndex::find).
    const SCommand* findCommand(const std::wstring& sid, std::wstring_view* caption = nullptr) const;

private:
    std::vector<SCommand> commands; // in file order
    SidIndex bySid;                 // each SID's position in commands
};

} // namespace tern::utility
