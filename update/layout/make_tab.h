// The "MakeTab" item: a new ribbon tab in every table of its mode.
//
// Attributes "Mode", "Name" (the caption), "Pos" and "Target" (the caption of
// the tab EP_BEFORE and EP_AFTER place next to), all optional. A tab that
// already exists is left where it is; an absent target appends at the end.

#pragma once

#include "components/utility/xml.h"
#include "update/layout/layout_item.h"

#include <string>

namespace tern::update::layout {

class MakeTab : public ILayoutItem {
public:
    ILayoutItem* clone() const override;
    bool apply(const std::vector<LayoutTable*>& tables, const utility::CCommandTable& commandTable) override;

    // Resets every field and reads the attributes; false only when the
    // element cannot be read.
    bool load(const utility::xml::Element& element);

    ItemMode mode = EM_NORMAL;
    std::wstring name;
    ItemPos pos = EP_LAST;
    std::wstring target;

private:
    bool applyToTable(LayoutTable& table) const;
};

} // namespace tern::update::layout
