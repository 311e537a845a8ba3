// The layout edit items: what a definition's layout section asks to put into
// the ribbon, the menus and the toolbars of the user's layout.
//
// Each item is read once from its element ("Command", "MakeTab", "MakeGroup",
// "MakePopupMenu") by the item's own `load`, which returns false when the
// element is to be dropped. `apply` then edits every layout table of the
// item's mode in the list it is given (null entries are skipped) and returns
// true when it changed at least one of them; an empty list returns false at
// once. A missing tab, group, popup, toolbar, target or command ends that one
// edit quietly. Items are owned by their layout section, destroyed through
// the virtual destructor and copied through `clone`.

#pragma once

#include <cstdint>
#include <vector>

namespace tern::utility {
class CCommandTable;
}

namespace tern::update::layout {

class LayoutTable;

// The layout mode an item or a table stands for.
enum ItemMode : std::int32_t {
    EM_NORMAL = 1,
    EM_3DMODE = 2,
    EM_REDMODE = 3,
};

// Where a new entry goes among its siblings.
enum ItemPos : std::int32_t {
    EP_FIRST = 1,
    EP_LAST = 2,
    EP_BEFORE = 3, // before the target
    EP_AFTER = 4,  // after the target
};

// The kind of bar a command placement puts its command into.
enum ItemKind : std::int32_t {
    EK_NONE = 0,
    EK_RIBBON = 1,       // element "Ribbon"
    EK_MENU = 2,         // element "Menu"
    EK_COMMANDPANEL = 3, // element "CommandPanel": a toolbar
};

class ILayoutItem {
public:
    virtual ~ILayoutItem() = default;
    // A new, independent copy of the same type; the caller owns it.
    virtual ILayoutItem* clone() const = 0;
    // Edits the tables of the item's mode; true when at least one changed.
    virtual bool apply(const std::vector<LayoutTable*>& tables, const utility::CCommandTable& commandTable) = 0;

protected:
    ILayoutItem() = default;
    ILayoutItem(const ILayoutItem&) = default;
    ILayoutItem& operator=(const ILayoutItem&) = default;
};

} // namespace tern::update::layout
