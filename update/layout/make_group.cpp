#include "update/layout/make_group.h"

#include "update/layout/item_attributes.h"
#include "update/layout/layout_table.h"
#include "update/layout/table_edit.h"
#include "update/skipped_element.h"

#include <memory>

namespace tern::update::layout {

namespace xml = utility::xml;

using tern::layout::CRibbonGroup;
using tern::layout::CRibbonTab;

ILayoutItem* MakeGroup::clone() const { return new MakeGroup(*this); }

bool MakeGroup::load(const xml::Element& element) {
    *this = MakeGroup();
    try {
        readMode(mode, element);
        xml::readAttributeText(tab, element, L"Tab");
        xml::readAttributeText(name, element, L"Name");
        readPos(pos, element);
        xml::readAttributeText(target, element, L"Target");
        reportUnknownAttributes(element, {L"Mode", L"Tab", L"Name", L"Pos", L"Target"});
    } catch (const xml::DomError&) {
        reportUnreadable(element);
        return false;
    }
    if (tab.empty() || name.empty())
        reportMissing(element, L"a \"Tab\" and a \"Name\"", L"makes nothing");
    reportMissingTarget(element, pos, target);
    return true;
}

bool MakeGroup::apply(const std::vector<LayoutTable*>& tables, const utility::CCommandTable& /*commandTable*/) {
    return editEachTable(tables, [&](LayoutTable& table) { return applyToTable(table); });
}

bool MakeGroup::applyToTable(LayoutTable& table) const {
    if (tab.empty() || name.empty() || table.modeNo != mode)
        return false;
    // This item has no "MakePos": a missing tab is always appended.
    CRibbonTab* ribbonTab = table.ribbon.findTabByCaption(tab);
    if (!ribbonTab && table.ribbon.addTab(tab) > 0)
        ribbonTab = table.ribbon.findTabByCaption(tab);
    if (!ribbonTab || ribbonTab->findGroupByCaption(name))
        return false;
    // The identifier only has to be free until the commit renumbers the ribbon.
    auto group = std::make_unique<CRibbonGroup>();
    group->setId(table.ribbon.getMaxTabAndGroupId() + 1);
    group->setCaption(name);
    int index = 0;
    if (!insertIndex(pos, ribbonTab->findGroupIndex(target), index) ||
        ribbonTab->insertGroup(index, std::move(group)) == 0)
        return false;
    table.ribbonChanged = true;
    return true;
}

} // namespace tern::update::layout
