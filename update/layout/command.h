// The "Command" item: one command of the host's command table, put into the
// places its child elements name, and optionally its caption refreshed
// wherever it is already shown.
//
// A "Command" needs a non-empty "SID"; "ChangeText" (bool) asks for the
// caption refresh. Each child "Ribbon" (attributes "Tab", "Group"), "Menu"
// ("Path") or "CommandPanel" ("Name", the toolbar title) is one placement,
// which also reads "Mode", "Pos", "MakePos", "Target" and "BeginGroup".
// A command the command table does not know changes nothing. A placement
// whose tab, group, menu path or toolbar is missing places nothing unless
// "MakePos" makes it; a command already in the group, popup or toolbar is
// not added again; a missing "Before"/"After" target appends at the end.

#pragma once

#include "components/utility/xml.h"
#include "update/layout/layout_item.h"

#include <string>
#include <vector>

namespace tern::utility {
struct SCommand;
}

namespace tern::update::layout {

// One place a command is to appear.
class CommandItem {
public:
    CommandItem() = default;
    CommandItem(const CommandItem&) = default;
    CommandItem(CommandItem&&) = default;
    CommandItem& operator=(const CommandItem&) = default;
    CommandItem& operator=(CommandItem&&) = default;
    virtual ~CommandItem() = default;

    // Reads a "Ribbon", "Menu" or "CommandPanel" element; false for any
    // other name or when the element cannot be read.
    bool load(const utility::xml::Element& element);
    // The placement as its element reads, with its location attributes:
    // `Ribbon Tab="Home" Group="Draw"`, `Menu Path="Draw"`.
    std::wstring describe() const;

    ItemKind kind = EK_NONE;
    ItemMode mode = EM_NORMAL;
    bool makePos = false; // create a missing tab, group, menu path or toolbar
    std::wstring place;   // tab caption, menu path or toolbar title
    std::wstring group;   // group caption (ribbon only)
    ItemPos pos = EP_LAST;
    std::wstring target;     // SID of the command EP_BEFORE and EP_AFTER place next to
    bool beginGroup = false; // a separator or group start before the new entry
};

class Command : public ILayoutItem {
public:
    ILayoutItem* clone() const override;
    bool apply(const std::vector<LayoutTable*>& tables, const utility::CCommandTable& commandTable) override;

    // Reads a "Command" element; false when "SID" is absent or empty or the
    // element cannot be read. Placements that cannot be read are skipped.
    bool load(const utility::xml::Element& element);

    std::wstring sid;
    std::vector<CommandItem> items; // in document order
    bool changeText = false;

private:
    // `Command SID="..."` followed by what the placement reads, when given.
    std::wstring describe(const CommandItem* item = nullptr) const;
    // The caption refresh, as `Command SID="..." ChangeText="true"`.
    std::wstring describeRefresh() const;
    // Tells the report that every placement meant for the tables, and the
    // caption refresh, found the command unknown.
    void reportUnknown(const std::vector<LayoutTable*>& tables) const;
    bool applyToTable(LayoutTable& table, const utility::CCommandTable& commandTable) const;
    bool refreshCaptions(LayoutTable& table, const utility::SCommand& record) const;
    bool placeInRibbon(const CommandItem& item, LayoutTable& table, const utility::CCommandTable& commandTable) const;
    bool placeInMenu(const CommandItem& item, LayoutTable& table, const utility::CCommandTable& commandTable) const;
    bool placeInCommandPanel(const CommandItem& item, LayoutTable& table,
                             const utility::CCommandTable& commandTable) const;
};

} // namespace tern::update::layout
