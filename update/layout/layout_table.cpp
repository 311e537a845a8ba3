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
    if (!newModeData->setupTo(commandBars, commandTable))
        return false;
    ribbon = commandBars.getRibbonBar();
    if (!commandBars.setMenu(menuBar))
        return false;
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
        rederived = commandBars.setupByRibbon(ribbon, commandTable);
    }
    if (menuChanged && commandBars.setupByMenu(menuBar, commandTable))
        rederived = true;
    if (!toolBarChanged && !rederived)
        return false;
    if (!modeData->setupFrom(commandBars, commandTable))
        return false;
    // A table whose only change is in its toolbars has nothing to re-derive:
    // storing its bars is the whole commit.
    const bool toolBarsOnly = toolBarChanged && !ribbonChanged && !menuChanged;
    return rederived || toolBarsOnly;
}

} // namespace tern::update::layout
