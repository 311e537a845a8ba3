#include "components/layout/command_bars.h"

#include "components/layout/entry_lists.h"

#include <algorithm>
#include <utility>

namespace tern::layout {

CCommandBar::CCommandBar(std::wstring title, XTPBarPosition position) : title(std::move(title)), position(position) {}

int CCommandBar::findControlIndexById(int commandId, const utility::CCommandTable& /*commandTable*/) const {
    if (commandId == 0)
        return -1;
    const std::vector<ToolBarControl>& shown = getControls();
    const auto found = std::find_if(shown.begin(), shown.end(),
                                    [&](const ToolBarControl& control) { return control.command.id == commandId; });
    return found == shown.end() ? -1 : static_cast<int>(found - shown.begin());
}

int CCommandBar::insertCommand(int index, utility::SCommand command, bool beginGroup) {
    return insertAt(controls.write(), index, ToolBarControl{std::move(command), beginGroup});
}

int CCommandBar::addCommand(utility::SCommand command, bool beginGroup) {
    return insertCommand(-1, std::move(command), beginGroup);
}

bool CCommandBar::updateCommandText(const utility::SCommand& command) {
    return refreshCaptions(
        controls, command, [](auto& control) -> auto& { return control.command; });
}

bool CCommandBars::setMenu(CMenuBar& menuBar) const {
    menuBar = menu;
    return true;
}

bool CCommandBars::setupByRibbon(const CRibbonBar& editedRibbon, const utility::CCommandTable& /*commandTable*/) {
    ribbon = editedRibbon;
    return true;
}

bool CCommandBars::setupByRibbon(CRibbonBar&& editedRibbon, const utility::CCommandTable& /*commandTable*/) {
    ribbon = std::move(editedRibbon);
    return true;
}

bool CCommandBars::setupByMenu(const CMenuBar& editedMenu, const utility::CCommandTable& /*commandTable*/) {
    menu = editedMenu;
    return true;
}

bool CCommandBars::setupByMenu(CMenuBar&& editedMenu, const utility::CCommandTable& /*commandTable*/) {
    menu = std::move(editedMenu);
    return true;
}

CCommandBar* CCommandBars::findByTitle(const std::wstring& title) {
    const auto found =
        std::find_if(toolBars.begin(), toolBars.end(), [&](const CCommandBar& bar) { return bar.getTitle() == title; });
    return found == toolBars.end() ? nullptr : &*found;
}

CCommandBar* CCommandBars::addToolBar(const std::wstring& title, XTPBarPosition position) {
    if (title.empty())
        return nullptr;
    toolBars.emplace_back(title, position);
    return &toolBars.back();
}

bool CCommandBars::updateCommandText(const utility::SCommand& command, bool toolBarsOnly) {
    bool changed = false;
    for (CCommandBar& bar : toolBars)
        changed = bar.updateCommandText(command) || changed;
    if (!toolBarsOnly) {
        changed = ribbon.updateCommandText(command) || changed;
        changed = menu.updateCommandText(command) || changed;
    }
    return changed;
}

void ToolBarOption::setupFrom(const CCommandBar& toolBar) { title = toolBar.getTitle(); }

} // namespace tern::layout
