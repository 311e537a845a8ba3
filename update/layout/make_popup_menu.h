// The "MakePopupMenu" item: a new popup (submenu) under a menu path in every
// table of its mode.
//
// Attributes "Mode", "Path" (the parent's menu path; empty for the menu bar),
// "Name" (the caption), "Pos", "Target" (the caption of the popup EP_BEFORE
// and EP_AFTER place next to) or "TargetId" (the SID of a command to place
// next to; it wins over "Target"), and "BeginGroup", all optional. A missing
// path is never created; a popup that already exists is left alone; a
// missing target appends at the end, still after a separator when
// "BeginGroup" asks for one.

#pragma once

#include "components/utility/xml.h"
#include "update/layout/layout_item.h"

#include <string>

namespace tern::layout {
class CMenuItem;
}

namespace tern::update::layout {

class MakePopupMenu : public ILayoutItem {
public:
    ILayoutItem* clone() const override;
    bool apply(const std::vector<LayoutTable*>& tables, const utility::CCommandTable& commandTable) override;

    // Resets every field and reads the attributes; false only when the
    // element cannot be read.
    bool load(const utility::xml::Element& element);

    ItemMode mode = EM_NORMAL;
    std::wstring path;
    std::wstring name;
    ItemPos pos = EP_LAST;
    std::wstring target;
    bool targetIsId = false;
    bool beginGroup = false;

private:
    bool applyToTable(LayoutTable& table, const utility::CCommandTable& commandTable) const;
    tern::layout::CMenuItem* findReference(const tern::layout::CMenuItem& parent,
                                           const utility::CCommandTable& commandTable) const;
};

} // namespace tern::update::layout
