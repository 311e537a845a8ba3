// The "MakeGroup" item: a new group in a ribbon tab of every table of its
// mode.
//
// Attributes "Mode", "Tab" (the tab's caption), "Name" (the group's
// caption), "Pos" and "Target" (the caption of the group EP_BEFORE and
// EP_AFTER place next to), all optional. A missing tab is appended first; a
// group that already exists is left alone; an absent target appends at the
// end. The new group's identifier is one more than the ribbon's largest.

#pragma once

#include "components/utility/xml.h"
#include "update/layout/layout_item.h"

#include <string>

namespace tern::update::layout {

class MakeGroup : public ILayoutItem {
public:
    ILayoutItem* clone() const override;
    bool apply(const std::vector<LayoutTable*>& tables, const utility::CCommandTable& commandTable) override;

    // Resets every field and reads the attributes; false only when the
    // element cannot be read.
    bool load(const utility::xml::Element& element);

    ItemMode mode = EM_NORMAL;
    std::wstring tab;
    std::wstring name;
    ItemPos pos = EP_LAST;
    std::wstring target;

private:
    bool applyToTable(LayoutTable& table) const;
};

} // namespace tern::update::layout
