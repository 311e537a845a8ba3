// Where a "Command" puts its command: a ribbon group, a popup menu or a
// toolbar. Each placement ends quietly, with no change, when its container
// is missing and may not be made, or the command is already there.

#include "update/layout/command.h"

#include "components/utility/command_table.h"
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
    if (!recordFor(sid, item, table, commandTable, record) || item.place.empty() || item.group.empty())
        return false;
    CRibbonTab* tab = findOrMakeTab(item, table);
    CRibbonGroup* group = tab ? findOrMakeGroup(item, table, *tab) : nullptr;
    if (!group || group->findControl(record.id))
        return false;
    // A target that is absent, unknown or cannot be inserted next to leaves the command appended.
    int index = 0;
    if (!insertIndex(item.pos, group->findControlIndex(targetId(item, commandTable)), index))
        return false;
    if (group->insertControl(index, record) <= 0 && group->addControl(record) <= 0)
        return false;
    table.ribbonChanged = true;
    return true;
}

bool Command::placeInMenu(const CommandItem& item, LayoutTable& table,
                          const utility::CCommandTable& commandTable) const {
    utility::SCommand record;
    if (!recordFor(sid, item, table, commandTable, record) || item.place.empty())
        return false;
    CMenuItem* popup = table.menuBar.findItemByPath(item.place);
    if (!popup && item.makePos)
        popup = table.menuBar.makeItemByPath(item.place);
    if (!popup || popup->getId() != 0 || popup->findChildById(record.id))
        return false;
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
        return false;
    if (separated) {
        if (const CMenuItem* entry = popup->findChildById(record.id)) {
            auto separator = std::make_unique<CMenuItem>();
            separator->setBreak();
            popup->insertChild(std::move(separator), entry);
        }
    }
    table.menuChanged = true;
    return true;
}

bool Command::placeInCommandPanel(const CommandItem& item, LayoutTable& table,
                                  const utility::CCommandTable& commandTable) const {
    utility::SCommand record;
    if (!recordFor(sid, item, table, commandTable, record) || item.place.empty())
        return false;
    CCommandBar* bar = table.commandBars.findByTitle(item.place);
    if (!bar) {
        if (!item.makePos)
            return false;
        bar = table.commandBars.addToolBar(item.place, tern::layout::barTop);
        if (!bar)
            return false;
        // The layout remembers the toolbars that definitions added.
        if (table.modeData) {
            tern::layout::ToolBarOption option;
            option.setupFrom(*bar);
            table.modeData->addToolBarOption(option);
        }
    }
    if (bar->findControlIndexById(record.id, commandTable) >= 0)
        return false;
    // A target that is absent, unknown or cannot be inserted next to leaves the command appended.
    int index = 0;
    if (!insertIndex(item.pos, bar->findControlIndexById(targetId(item, commandTable), commandTable), index))
        return false;
    // A group start before the very first control would show nothing.
    const bool beginGroup = item.beginGroup && item.pos != EP_FIRST;
    if (bar->insertCommand(index, record, beginGroup) <= 0 && bar->addCommand(record, beginGroup) <= 0)
        return false;
    table.toolBarChanged = true;
    return true;
}

} // namespace tern::update::layout
