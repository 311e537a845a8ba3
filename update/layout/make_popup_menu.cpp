#include "update/layout/make_popup_menu.h"

#include "components/utility/command_table.h"
#include "update/layout/item_attributes.h"
#include "update/layout/layout_table.h"
#include "update/layout/table_edit.h"
#include "update/skipped_element.h"

namespace tern::update::layout {

namespace xml = utility::xml;

using tern::layout::CMenuItem;

ILayoutItem* MakePopupMenu::clone() const { return new MakePopupMenu(*this); }

bool MakePopupMenu::load(const xml::Element& element) {
    *this = MakePopupMenu();
    try {
        readMode(mode, element);
        xml::readAttributeText(path, element, L"Path");
        xml::readAttributeText(name, element, L"Name");
        readPos(pos, element);
        xml::readAttributeText(target, element, L"Target");
        // Read after "Target", so that it wins when both are given.
        if (xml::readAttributeText(target, element, L"TargetId"))
            targetIsId = true;
        readFlag(beginGroup, element, L"BeginGroup");
        reportUnknownAttributes(element, {L"Mode", L"Path", L"Name", L"Pos", L"Target", L"TargetId", L"BeginGroup"});
    } catch (const xml::DomError&) {
        reportUnreadable(element);
        return false;
    }
    if (name.empty())
        reportMissing(element, L"a \"Name\"", L"makes nothing");
    reportMissingTarget(element, pos, target);
    return true;
}

bool MakePopupMenu::apply(const std::vector<LayoutTable*>& tables, const utility::CCommandTable& commandTable) {
    return editEachTable(tables, [&](LayoutTable& table) { return applyToTable(table, commandTable); });
}

CMenuItem* MakePopupMenu::findReference(const CMenuItem& parent, const utility::CCommandTable& commandTable) const {
    if (!targetIsId)
        return parent.findChildNoIdByName(target);
    utility::SCommand record;
    return commandTable.GetCommand(target, record) >= 0 ? parent.findChildById(record.id) : nullptr;
}

bool MakePopupMenu::applyToTable(LayoutTable& table, const utility::CCommandTable& commandTable) const {
    if (name.empty() || table.modeNo != mode)
        return false;
    // Popups are never created along the path.
    CMenuItem* parent = table.menuBar.findItemByPath(path);
    if (!parent || parent->findChildNoIdByName(name))
        return false;
    CMenuItem* popup = nullptr;
    switch (pos) {
    case EP_FIRST:
        // Before the first child; an empty parent gets it appended.
        popup = parent->insertPopup(name, parent->getFirstChild());
        break;
    case EP_LAST:
        popup = parent->addPopup(name);
        break;
    case EP_BEFORE:
    case EP_AFTER: {
        const CMenuItem* reference = findReference(*parent, commandTable);
        if (reference && pos == EP_AFTER)
            reference = reference->getNextSibling();
        if (reference)
            popup = parent->insertPopup(name, reference);
        if (!popup)
            popup = parent->addPopup(name);
        break;
    }
    default:
        return false;
    }
    if (!popup)
        return false;
    // The separator goes in front of the new popup wherever it landed.
    if (beginGroup)
        parent->insertBreak(popup);
    table.menuChanged = true;
    return true;
}

} // namespace tern::update::layout
