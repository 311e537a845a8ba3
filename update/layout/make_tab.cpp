#include "update/layout/make_tab.h"

#include "update/layout/item_attributes.h"
#include "update/layout/layout_table.h"
#include "update/layout/table_edit.h"
#include "update/skipped_element.h"

namespace tern::update::layout {

namespace xml = utility::xml;

ILayoutItem* MakeTab::clone() const { return new MakeTab(*this); }

bool MakeTab::load(const xml::Element& element) {
    *this = MakeTab();
    try {
        readMode(mode, element);
        xml::readAttributeText(name, element, L"Name");
        readPos(pos, element);
        xml::readAttributeText(target, element, L"Target");
        reportUnknownAttributes(element, {L"Mode", L"Name", L"Pos", L"Target"});
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
    if (name.empty() || table.modeNo != mode || table.ribbon.findTabByCaption(name))
        return false;
    int index = 0;
    if (!insertIndex(pos, table.ribbon.findTabIndex(target), index) || table.ribbon.insertTab(index, name) == 0)
        return false;
    table.ribbonChanged = true;
    return true;
}

} // namespace tern::update::layout
