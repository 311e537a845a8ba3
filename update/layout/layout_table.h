// LayoutTable: the working copy of one layout mode of one layout type while
// the layout edit items edit it.
//
// setup copies the mode's command bars, ribbon and menu out of the layout
// model; the items edit the copies and set the changed flag of what they
// touched; commit carries the changes back into the mode data. setup fails
// for a null mode data or an empty type or mode name, and when the bars
// cannot be copied out; the changed flags are then false. commit fails for a
// table that was never set up; otherwise it re-derives the bars from the
// edited ribbon (renumbering its tabs and groups first) and menu and stores
// them into the mode data. It is true when a ribbon or menu re-derivation
// succeeded and the store succeeded, and for a table whose only change is in
// its toolbars, when the store succeeded: a definition that only places
// commands on toolbars still updates the layout. The store moves the table's
// bars into the mode data, so the table holds none after it.

#pragma once

#include "components/layout/command_bars.h"
#include "components/layout/layout_mode_data.h"
#include "update/layout/layout_item.h"

#include <cstdint>
#include <string>

namespace tern::update::layout {

class LayoutTable {
public:
    LayoutTable() = default;
    LayoutTable(const LayoutTable&) = default;
    LayoutTable& operator=(const LayoutTable&) = default;
    virtual ~LayoutTable() = default;

    // The mode number of a layout mode name: EM_3DMODE for the 3D mode's
    // name, EM_REDMODE for the red mode's, EM_NORMAL for any other.
    static ItemMode modeNoFromName(const std::wstring& modeName);

    bool setup(tern::layout::LayoutModeData* modeData, const utility::CCommandTable& commandTable, ItemMode modeNo,
               const wchar_t* typeName, const wchar_t* modeName);
    bool commit(const utility::CCommandTable& commandTable);

    ItemMode modeNo = EM_NORMAL;
    std::wstring typeName;
    std::wstring modeName;
    tern::layout::LayoutModeData* modeData = nullptr; // not owned
    tern::layout::CCommandBars commandBars;
    tern::layout::CRibbonBar ribbon;
    tern::layout::CMenuBar menuBar;
    bool toolBarChanged = false;
    bool ribbonChanged = false;
    bool menuChanged = false;
    bool optionVersionFound = false; // filled and read by the option appender
    std::int32_t optionMajor = 0;
    std::int32_t optionMinor = 0;
};

} // namespace tern::update::layout
