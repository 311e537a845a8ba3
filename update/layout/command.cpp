#include "update/layout/command.h"

#include "components/utility/command_table.h"
#include "update/layout/item_attributes.h"
#include "update/layout/layout_table.h"
#include "update/layout/table_edit.h"
#include "update/load_report.h"
#include "update/skipped_element.h"

namespace tern::update::layout {

namespace xml = utility::xml;

ILayoutItem* Command::clone() const { return new Command(*this); }

bool Command::load(const xml::Element& element) {
    sid.clear();
    items.clear();
    changeText = false;
    try {
        if (!xml::readAttributeText(sid, element, L"SID") || sid.empty()) {
            sid.clear();
            reportDropped(element, L"A \"Command\" without a \"SID\" is dropped.");
            return false;
        }
        readFlag(changeText, element, L"ChangeText");
        reportUnknownAttributes(element, {L"SID", L"ChangeText"});
        for (xml::Node child = element.firstChild(); child; child = child.nextSibling()) {
            if (!child.isElement())
                continue;
            CommandItem item;
            if (item.load(child.asElement()))
                items.push_back(item);
        }
    } catch (const xml::DomError&) {
        reportUnreadable(element);
        return false;
    }
    // Refreshing the caption is all that one without placements can do.
    if (items.empty() && !changeText)
        reportDropped(element, L"A \"Command\" with no \"Ribbon\", \"Menu\" or \"CommandPanel\" places nothing.");
    reportCommandRead(element, sid);
    return true;
}

bool Command::apply(const std::vector<LayoutTable*>& tables, const utility::CCommandTable& commandTable) {
    // A command the host does not know is never placed and its caption never refreshed.
    if (tables.empty() || !commandTable.IsCommand(sid))
        return false;
    return editEachTable(tables, [&](LayoutTable& table) { return applyToTable(table, commandTable); });
}

bool Command::applyToTable(LayoutTable& table, const utility::CCommandTable& commandTable) const {
    utility::SCommand record;
    if (commandTable.GetCommand(sid, record) < 0)
        return false;
    // Captions are refreshed in every table, whatever the placements' modes.
    bool changed = changeText && refreshCaptions(table, record);
    for (const CommandItem& item : items) {
        if (item.mode != table.modeNo)
            continue;
        switch (item.kind) {
        case EK_RIBBON:
            changed = placeInRibbon(item, table, commandTable) || changed;
            break;
        case EK_MENU:
            changed = placeInMenu(item, table, commandTable) || changed;
            break;
        case EK_COMMANDPANEL:
            changed = placeInCommandPanel(item, table, commandTable) || changed;
            break;
        case EK_NONE:
            break;
        }
    }
    return changed;
}

bool Command::refreshCaptions(LayoutTable& table, const utility::SCommand& record) const {
    bool changed = false;
    if (table.ribbon.updateCommandText(record))
        changed = table.ribbonChanged = true;
    if (table.menuBar.updateCommandText(record))
        changed = table.menuChanged = true;
    // Only the toolbars: the table's own ribbon and menu copies were refreshed above.
    if (table.commandBars.updateCommandText(record, true))
        changed = table.toolBarChanged = true;
    return changed;
}

} // namespace tern::update::layout
