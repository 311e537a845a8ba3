// Where a "Command" puts its command: a ribbon group, a popup menu or a
// toolbar. Each placement ends with no change when its container is missing
// and may not be made, or the command is already there; the run report hears
// which, and where each command went.

#include "update/layout/command.h"

#include "components/utility/command_table.h"
#include "update/layout/item_events.h"
#include "update/layout/layout_table.h"
#include "update/layout/table_edit.h"

#include <memory>

namespace tern::update::layout {

using tern::layout::CCommandBar;
using tern::layout::CMenuItem;
using tern::layout::CRibbonGroup;
using tern::layout::CRibbonTab;

namespace {

// The command's record, when the placement is for this table's mode.
bool recordFor(const std::wstring& sid, const CommandItem& item, const LayoutTable& table,
               const utility::CCommandTable& commandTable, utility::SCommand& record) {
    return commandTable.GetCommand(sid, record) >= 0 && table.modeNo == item.mode;
}

// The identifier of the target command; 0 when the table does not know it.
int targetId(const CommandItem& item, const utility::CCommandTable& commandTable) {
    utility::SCommand record;
    return commandTable.GetCommand(item.target, record) >= 0 ? record.id : 0;
}

CRibbonTab* findOrMakeTab(const CommandItem& item, LayoutTable& table) {
    CRibbonTab* tab = table.ribbon.findTabByCaption(item.place);
    if (tab || !item.makePos || table.ribbon.addTab(item.place) <= 0)
        return tab;
    return table.ribbon.findTabByCaption(item.place);
}

CRibbonGroup* findOrMakeGroup(const CommandItem& item, LayoutTable& table, CRibbonTab& tab) {
    CRibbonGroup* group = tab.findGroupByCaption(item.group);
    if (group || !item.makePos || table.ribbon.addGroup(tab.getCaption(), item.group) <= 0)
        return group;
    return tab.findGroupByCaption(item.group);
}

// The child the new entry goes in front of for EP_BEFORE (the target) or
// EP_AFTER (the target's next sibling); null when there is none.
const CMenuItem* menuReference(const CommandItem& item, const CMenuItem& popup,
                               const utility::CCommandTable& commandTable) {
    const CMenuItem* target = popup.findChildById(targetId(item, commandTable));
    return target && item.pos == EP_AFTER ? target->getNextSibling() : target;
}

} // namespace

bool Command::placeInRibbon(const CommandItem& item, LayoutTable& table,
                            const utility::CCommandTable& commandTable) const {
    utility::SCommand record;
    if (!recordFor(sid, item, table, commandTable, record))
        return false;
    const auto subject = [&] { return describe(&item); };
    if (item.place.empty() || item.group.empty())
        return reportNotApplied(table, subject, L"it names no tab or no group");
    CRibbonTab* tab = findOrMakeTab(item, table);
    if (!tab)
        return reportNotApplied(table, subject,
                                [&] { return missingContainerReason(L"tab", item.place, item.makePos); });
    CRibbonGroup* group = findOrMakeGroup(item, table, *tab);
    if (!group)
        return reportNotApplied(table, subject,
                                [&] { return missingContainerReason(L"group", item.group, item.makePos); });
    if (group->findControl(record.id))
        return reportNotApplied(table, subject, L"it is already in the group");
    // A target that is absent, unknown or cannot be inserted next to leaves the command appended.
    const int targetIndex = group->findControlIndex(targetId(item, commandTable));
    int index = 0;
    if (!insertIndex(item.pos, targetIndex, index))
        return false;
    if (group->insertControl(index, record) <= 0 && group->addControl(record) <= 0)
        return reportNotApplied(table, subject, L"the group did not take it");
    table.ribbonChanged = true;
    return reportApplied(table, subject, [&] { return appendedReason(item.pos, targetIndex >= 0, item.target); });
}

bool Command::placeInMenu(const CommandItem& item, LayoutTable& table,
                          const utility::CCommandTable& commandTable) const {
    utility::SCommand record;
    if (!recordFor(sid, item, table, commandTable, record))
        return false;
    const auto subject = [&] { return describe(&item); };
    if (item.place.empty())
        return reportNotApplied(table, subject, L"it names no menu path");
    CMenuItem* popup = table.menuBar.findItemByPath(item.place);
    if (!popup && item.makePos)
        popup = table.menuBar.makeItemByPath(item.place);
    if (!popup)
        return reportNotApplied(table, subject,
                                [&] { return missingContainerReason(L"menu", item.place, item.makePos); });
    if (popup->getId() != 0)
        return reportNotApplied(table, subject, [&] { return L"\"" + item.place + L"\" is a command, not a menu"; });
    if (popup->findChildById(record.id))
        return reportNotApplied(table, subject, L"it is already in the menu");
    bool placed = false;
    bool separated = false;
    switch (item.pos) {
    case EP_FIRST:
        // Before the first child; an empty popup gets it appended. Never a separator.
        placed = popup->insertCommand(record, popup->getFirstChild()) > 0;
        break;
    case EP_LAST:
        placed = popup->addCommand(record) > 0;
        separated = item.beginGroup;
        break;
    case EP_BEFORE:
    case EP_AFTER:
        if (const CMenuItem* reference = menuReference(item, *popup, commandTable))
            placed = separated = popup->insertCommand(record, reference) > 0;
        // A missing target, or one that is the last entry for EP_AFTER, appends with no separator.
        if (!placed)
            placed = popup->addCommand(record) > 0;
        separated = separated && item.beginGroup;
        break;
    default:
        return false;
    }
    if (!placed)
        return reportNotApplied(table, subject, L"the menu did not take it");
    if (separated) {
        if (const CMenuItem* entry = popup->findChildById(record.id)) {
            auto separator = std::make_unique<CMenuItem>();
            separator->setBreak();
            popup->insertChild(std::move(separator), entry);
        }
    }
    table.menuChanged = true;
    return reportApplied(table, subject, [&] {
        return appendedReason(item.pos, popup->findChildById(targetId(item, commandTable)) != nullptr, item.target);
    });
}

bool Command::placeInCommandPanel(const CommandItem& item, LayoutTable& table,
                                  const utility::CCommandTable& commandTable) const {
    utility::SCommand record;
    if (!recordFor(sid, item, table, commandTable, record))
        return false;
    const auto subject = [&] { return describe(&item); };
    if (item.place.empty())
        return reportNotApplied(table, subject, L"it names no toolbar");
    CCommandBar* bar = table.commandBars.findByTitle(item.place);
    if (!bar) {
        if (item.makePos)
            bar = table.commandBars.addToolBar(item.place, tern::layout::barTop);
        if (!bar)
            return reportNotApplied(table, subject,
                                    [&] { return missingContainerReason(L"toolbar", item.place, item.makePos); });
        // The layout remembers the toolbars that definitions added.
        if (table.modeData) {
            tern::layout::ToolBarOption option;
            option.setupFrom(*bar);
            table.modeData->addToolBarOption(option);
        }
    }
    if (bar->findControlIndexById(record.id, commandTable) >= 0)
        return reportNotApplied(table, subject, L"it is already on the toolbar");
    // A target that is absent, unknown or cannot be inserted next to leaves the command appended.
    const int targetIndex = bar->findControlIndexById(targetId(item, commandTable), commandTable);
    int index = 0;
    if (!insertIndex(item.pos, targetIndex, index))
        return false;
    // A group start before the very first control would show nothing.
    const bool beginGroup = item.beginGroup && item.pos != EP_FIRST;
    if (bar->insertCommand(index, record, beginGroup) <= 0 && bar->addCommand(record, beginGroup) <= 0)
        return reportNotApplied(table, subject, L"the toolbar did not take it");
    table.toolBarChanged = true;
    return reportApplied(table, subject, [&] { return appendedReason(item.pos, targetIndex >= 0, item.target); });
}

} // namespace tern::update::layout
