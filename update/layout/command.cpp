#include "update/layout/command.h"

#include "components/utility/command_table.h"
#include "update/layout/item_attributes.h"
#include "update/layout/item_events.h"
#include "update/layout/layout_table.h"
#include "update/layout/table_edit.h"
#include "update/load_report.h"

namespace tern::update::layout {

namespace xml = utility::xml;
using namespace std::string_view_literals;

ILayoutItem* Command::clone() const { return new Command(*this); }

bool Command::load(const xml::Element& element) {
    sid.clear();
    items.clear();
    changeText = false;
    try {
        // Settled before the placements are read, which read theirs.
        ItemAttributes attributes(element);
        attributes.text(L"SID"sv, sid).flag(L"ChangeText"sv, changeText).readTexts();
        if (sid.empty()) {
            reportDropped(element, L"A \"Command\" without a \"SID\" is dropped.");
            return false;
        }
        attributes.settle();
        // Most commands are placed once on each kind of bar.
        items.reserve(3);
        for (xml::Element child = element.firstChildElement(); child; child = child.nextSiblingElement()) {
            // Read in place: a placement holds several strings.
            items.emplace_back();
            if (!items.back().load(child))
                items.pop_back();
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
    if (tables.empty())
        return false;
    // A command the host does not know is never placed and its caption never refreshed.
    if (!commandTable.IsCommand(sid)) {
        if (runReport())
            reportUnknown(tables);
        return false;
    }
    return editEachTable(tables, [&](LayoutTable& table) { return applyToTable(table, commandTable); });
}

bool Command::applyToTable(LayoutTable& table, const utility::CCommandTable& commandTable) const {
    utility::SCommand record;
    if (commandTable.GetCommand(sid, record) < 0)
        return false;
    // Captions are refreshed in every table, whatever the placements' modes.
    bool changed = false;
    if (changeText) {
        const auto subject = [this] { return describeRefresh(); };
        changed = refreshCaptions(table, record)
                      ? reportApplied(table, subject)
                      : reportNotApplied(table, subject, L"every caption shown already reads as the command table's");
    }
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

std::wstring Command::describe(const CommandItem* item) const {
    std::wstring text = L"Command" + attributeText(L"SID", sid);
    return item ? text + L" " + item->describe() : text;
}

std::wstring Command::describeRefresh() const { return describe() + attributeText(L"ChangeText", L"true"); }

void Command::reportUnknown(const std::vector<LayoutTable*>& tables) const {
    const auto reason = [this] { return L"the command table does not know \"" + sid + L"\""; };
    for (const LayoutTable* table : tables) {
        if (!table)
            continue;
        const auto refresh = [this] { return describeRefresh(); };
        if (changeText)
            reportNotApplied(*table, refresh, reason);
        for (const CommandItem& item : items) {
            const auto placement = [&] { return describe(&item); };
            if (item.mode == table->modeNo)
                reportNotApplied(*table, placement, reason);
        }
    }
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
