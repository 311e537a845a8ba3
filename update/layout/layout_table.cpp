#include "update/layout/layout_table.h"

namespace tern::update::layout {

using tern::layout::LayoutModeData;

ItemMode LayoutTable::modeNoFromName(const std::wstring& modeName) {
    if (modeName == LayoutModeData::get3dModeName())
        return EM_3DMODE;
    if (modeName == LayoutModeData::getRedModeName())
        return EM_REDMODE;
    return EM_NORMAL;
}

bool LayoutTable::setup(LayoutModeData* newModeData, const utility::CCommandTable& commandTable, ItemMode newModeNo,
                        const wchar_t* newTypeName, const wchar_t* newModeName) {
    toolBarChanged = false;
    ribbonChanged = false;
    menuChanged = false;
    if (!newModeData || !newTypeName || !*newTypeName || !newModeName || !*newModeName)
        return false;
    // One copy of the mode's bars: the ribbon and the menu the items edit are
    // taken out of it rather than copied again.
    if (!newModeData->setupTo(commandBars, commandTable))
        return false;
    ribbon = commandBars.takeRibbonBar();
    menuBar = commandBars.takeMenuBar();
    modeNo = newModeNo;
    modeData = newModeData;
    typeName = newTypeName;
    modeName = newModeName;
    return true;
}

bool LayoutTable::commit(const utility::CCommandTable& commandTable) {
    if (!modeData || typeName.empty() || modeName.empty())
        return false;
    bool rederived = false;
    if (ribbonChanged) {
        ribbon.renumberAllTabAndGroupId();
        rederived = commandBars.setupByRibbon(std::move(ribbon), commandTable);
    }
    if (menuChanged && commandBars.setupByMenu(std::move(menuBar), commandTable))
        rederived = true;
    if (!toolBarChanged && !rederived)
        return false;
    // A ribbon or menu without the changed flag goes back as the mode holds
    // it: an item that gave up half-way may have left traces in the copy.
    const tern::layout::CCommandBars& stored = modeData->getCommandBars();
    if (!ribbonChanged)
        commandBars.setupByRibbon(stored.getRibbonBar(), commandTable);
    if (!menuChanged)
        commandBars.setupByMenu(stored.getMenuBar(), commandTable);
    // The table's bars are not used after the commit: they move into the mode.
    if (!modeData->setupFrom(std::move(commandBars), commandTable))
        return false;
    // A table whose only change is in its toolbars has nothing to re-derive:
    // storing its bars is the whole commit.
    const bool toolBarsOnly = toolBarChanged && !ribbonChanged && !menuChanged;
    return rederived || toolBarsOnly;
}

} // namespace tern::update::layout
