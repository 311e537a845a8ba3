#include "update/layout/make_group.h"

#include "update/layout/item_attributes.h"
#include "update/layout/item_events.h"
#include "update/layout/layout_table.h"
#include "update/layout/table_edit.h"

#include <memory>

namespace tern::update::layout {

namespace xml = utility::xml;
using namespace std::string_view_literals;

using tern::layout::CRibbonGroup;
using tern::layout::CRibbonTab;

ILayoutItem* MakeGroup::clone() const { return new MakeGroup(*this); }

bool MakeGroup::load(const xml::Element& element) {
    *this = MakeGroup();
    try {
        ItemAttributes(element)
            .mode(mode)
            .text(L"Tab"sv, tab)
            .text(L"Name"sv, name)
            .pos(pos)
            .text(L"Target"sv, target)
            .read();
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
    if (table.modeNo != mode)
        return false;
    const auto subject = [this] { return L"MakeGroup" + attributeText(L"Tab", tab) + attributeText(L"Name", name); };
    if (tab.empty() || name.empty())
        return reportNotApplied(table, subject, L"it names no tab or no group");
    // This item has no "MakePos": a missing tab is always appended.
    CRibbonTab* ribbonTab = table.ribbon.findTabByCaption(tab);
    if (!ribbonTab && table.ribbon.addTab(tab) > 0)
        ribbonTab = table.ribbon.findTabByCaption(tab);
    if (!ribbonTab)
        return reportNotApplied(table, subject, [this] { return missingContainerReason(L"tab", tab, true); });
    if (ribbonTab->findGroupByCaption(name))
        return reportNotApplied(table, subject, L"the group already exists");
    // The identifier only has to be free until the commit renumbers the ribbon.
    auto group = std::make_unique<CRibbonGroup>();
    group->setId(table.ribbon.getMaxTabAndGroupId() + 1);
    group->setCaption(name);
    const int targetIndex = ribbonTab->findGroupIndex(target);
    int index = 0;
    if (!insertIndex(pos, targetIndex, index))
        return false;
    if (ribbonTab->insertGroup(index, std::move(group)) == 0)
        return reportNotApplied(table, subject, L"the tab did not take it");
    table.ribbonChanged = true;
    return reportApplied(table, subject, [&] { return appendedReason(pos, targetIndex >= 0, target); });
}

} // namespace tern::update::layout
