#include "update/layout/make_tab.h"

#include "update/layout/item_attributes.h"
#include "update/layout/item_events.h"
#include "update/layout/layout_table.h"
#include "update/layout/table_edit.h"

namespace tern::update::layout {

namespace xml = utility::xml;
using namespace std::string_view_literals;

ILayoutItem* MakeTab::clone() const { return new MakeTab(*this); }

bool MakeTab::load(const xml::Element& element) {
    *this = MakeTab();
    try {
        ItemAttributes(element).mode(mode).text(L"Name"sv, name).pos(pos).text(L"Target"sv, target).read();
    } catch (const xml::DomError&) {
        reportUnreadable(element);
        return false;
    }
    if (name.empty())
        reportMissing(element, L"a \"Name\"", L"makes nothing");
    reportMissingTarget(element, pos, target);
    return true;
}

bool MakeTab::apply(const std::vector<LayoutTable*>& tables, const utility::CCommandTable& /*commandTable*/) {
    return editEachTable(tables, [&](LayoutTable& table) { return applyToTable(table); });
}

bool MakeTab::applyToTable(LayoutTable& table) const {
    if (table.modeNo != mode)
        return false;
    const auto subject = [this] { return L"MakeTab" + attributeText(L"Name", name); };
    if (name.empty())
        return reportNotApplied(table, subject, L"it names no tab");
    if (table.ribbon.findTabByCaption(name))
        return reportNotApplied(table, subject, L"the tab already exists");
    const int targetIndex = table.ribbon.findTabIndex(target);
    int index = 0;
    if (!insertIndex(pos, targetIndex, index))
        return false;
    if (table.ribbon.insertTab(index, name) == 0)
        return reportNotApplied(table, subject, L"the ribbon did not take it");
    table.ribbonChanged = true;
    return reportApplied(table, subject, [&] { return appendedReason(pos, targetIndex >= 0, target); });
}

} // namespace tern::update::layout
