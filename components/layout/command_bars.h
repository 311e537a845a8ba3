// The command bars of one layout mode: its ribbon, its menu and its
// toolbars, as the layout mode data hands them out and takes them back.
//
// Toolbar titles compare exactly and a find gives the first match. Indexes
// are 0-based, -1 when absent; an insertion at -1 appends and one beyond the
// end fails; insertions return the new control's 1-based position, 0 on
// failure. Pointers to toolbars stay valid until a toolbar is added. Copies
// of the bars share each toolbar's controls and the menu until one of them
// changes them (copy_on_write.h).
//
// The calls that take the command table are the application's interface:
// this model resolves each SID once, when the layout file is read, so the
// bars never need to consult the table again.

#pragma once

#include "components/layout/menu_bar.h"
#include "components/layout/ribbon_bar.h"
#include "components/utility/command_table.h"

#include <string>
#include <utility>
#include <vector>

namespace tern::layout {

// Where a toolbar is docked, with the values the layout file stores.
enum XTPBarPosition {
    barTop = 0,
    barBottom = 1,
    barLeft = 2,
    barRight = 3,
    barFloating = 4,
};

// One command on a toolbar; beginGroup puts a group start before it.
struct ToolBarControl {
    utility::SCommand command;
    bool beginGroup = false;
};

class CCommandBar {
public:
    CCommandBar() = default;
    CCommandBar(std::wstring title, XTPBarPosition position);

    const std::wstring& getTitle() const { return title; }
    XTPBarPosition getPosition() const { return position; }
    const std::vector<ToolBarControl>& getControls() const { return controls.read(); }

    // The index of the control of that identifier; -1 when absent.
    int findControlIndexById(int commandId, const utility::CCommandTable& commandTable) const;
    int insertCommand(int index, utility::SCommand command, bool beginGroup);
    int addCommand(utility::SCommand command, bool beginGroup);
    // Makes room for that many controls in all (as CRibbonGroup's).
    void reserveControls(std::size_t count) { controls.write().reserve(count); }
    bool updateCommandText(const utility::SCommand& command);

private:
    std::wstring title;
    XTPBarPosition position = barTop;
    CopyOnWrite<std::vector<ToolBarControl>> controls; // shared by copies of the toolbar until changed
};

class CCommandBars {
public:
    // The ribbon and the menu these bars show.
    const CRibbonBar& getRibbonBar() const { return ribbon; }
    const CMenuBar& getMenuBar() const { return menu; }
    const std::vector<CCommandBar>& getToolBars() const { return toolBars; }

    // Fills menuBar with the menu these bars show.
    bool setMenu(CMenuBar& menuBar) const;
    // Hand the ribbon or the menu over to be edited apart, leaving these
    // bars an empty one until an edited one is set up again.
    CRibbonBar takeRibbonBar() { return std::move(ribbon); }
    CMenuBar takeMenuBar() { return std::move(menu); }
    // Rebuild the bars from an edited ribbon or menu, copied or taken over.
    bool setupByRibbon(const CRibbonBar& editedRibbon, const utility::CCommandTable& commandTable);
    bool setupByRibbon(CRibbonBar&& editedRibbon, const utility::CCommandTable& commandTable);
    bool setupByMenu(const CMenuBar& editedMenu, const utility::CCommandTable& commandTable);
    bool setupByMenu(CMenuBar&& editedMenu, const utility::CCommandTable& commandTable);

    CCommandBar* findByTitle(const std::wstring& title);
    // A new empty toolbar at the end; null for an empty title.
    CCommandBar* addToolBar(const std::wstring& title, XTPBarPosition position);

    // Gives every toolbar control of the record's identifier its caption,
    // and with toolBarsOnly false also the ribbon's and menu's; true when a
    // caption changed.
    bool updateCommandText(const utility::SCommand& command, bool toolBarsOnly);

private:
    CRibbonBar ribbon;
    CMenuBar menu;
    std::vector<CCommandBar> toolBars;
};

// What the layout remembers of a toolbar a definition added: its title.
class ToolBarOption {
public:
    ToolBarOption() = default;
    explicit ToolBarOption(std::wstring title) : title(std::move(title)) {}

    void setupFrom(const CCommandBar& toolBar);
    const std::wstring& getTitle() const { return title; }

private:
    std::wstring title;
};

} // namespace tern::layout
