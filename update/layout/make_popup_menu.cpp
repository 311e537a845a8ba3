#include "update/layout/make_popup_menu.h"

#include "components/utility/command_table.h"
#include "update/layout/item_attributes.h"
#include "update/layout/item_events.h"
#include "update/layout/layout_table.h"
#include "update/layout/table_edit.h"

namespace tern::update::layout {

namespace xml = utility::xml;
using namespace std::string_view_literals;

using tern::layout::CMenuItem;

ILayoutItem* MakePopupMenu::clone() const { return new MakePopupMenu(*this); }

bool MakePopupMenu::load(const xml::Element& element) {
    *this = MakePopupMenu();
    try {
        std::wstring targetId;
        ItemAttributes(element)
            .mode(mode)
            .text(L"Path"sv, path)
            .text(L"Name"sv, name)
            .pos(pos)
            .text(L"Target"sv, target)
            .text(L"TargetId"sv, targetId, &targetIsId)
            .flag(L"BeginGroup"sv, beginGroup)
            .read();
        // "TargetId" wins when both are given.
        if (targetIsId)
            target = std::move(targetId);
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
    if (table.modeNo != mode)
        return false;
    const auto subject = [this] {
        return L"MakePopupMenu" + attributeText(L"Path", path) + attributeText(L"Name", name);
    };
    if (name.empty())
        return reportNotApplied(table, subject, L"it names no popup");
    // Popups are never created along the path.
    CMenuItem* parent = table.menuBar.findItemByPath(path);
    if (!parent)
        return reportNotApplied(table, subject, [this] { return L"there is no menu \"" + path + L"\""; });
    if (parent->findChildNoIdByName(name))
        return reportNotApplied(table, subject, L"the popup already exists");
    CMenuItem* popup = nullptr;
    bool targetFound = true;
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
        targetFound = reference != nullptr;
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
        return reportNotApplied(table, subject, L"the menu did not take it");
    // The separator goes in front of the new popup wherever it landed.
    if (beginGroup)
        parent->insertBreak(popup);
    table.menuChanged = true;
    return reportApplied(table, subject, [&] { return appendedReason(pos, targetFound, target); });
}

} // namespace tern::update::layout
