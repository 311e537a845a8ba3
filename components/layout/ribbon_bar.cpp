#include "components/layout/ribbon_bar.h"

#include "components/layout/entry_lists.h"

#include <algorithm>
#include <utility>

namespace tern::layout {

namespace {

template <class Entry> int indexOfCaption(const std::vector<Entry>& entries, const std::wstring& caption) {
    const auto found =
        std::find_if(entries.begin(), entries.end(), [&](const Entry& entry) { return entry.getCaption() == caption; });
    return found == entries.end() ? -1 : static_cast<int>(found - entries.begin());
}

} // namespace

const utility::SCommand* CRibbonGroup::findControl(int commandId) const {
    const int index = findControlIndex(commandId);
    return index < 0 ? nullptr : &getControls()[static_cast<std::size_t>(index)];
}

int CRibbonGroup::findControlIndex(int commandId) const {
    if (commandId == 0)
        return -1;
    const std::vector<utility::SCommand>& shown = getControls();
    const auto found = std::find_if(shown.begin(), shown.end(),
                                    [&](const utility::SCommand& control) { return control.id == commandId; });
    return found == shown.end() ? -1 : static_cast<int>(found - shown.begin());
}

int CRibbonGroup::insertControl(int index, utility::SCommand command) {
    return insertAt(controls.write(), index, std::move(command));
}

int CRibbonGroup::addControl(utility::SCommand command) { return insertControl(-1, std::move(command)); }

bool CRibbonGroup::updateCommandText(const utility::SCommand& command) {
    return refreshCaptions(
        controls, command, [](auto& control) -> auto& { return control; });
}

CRibbonTab::CRibbonTab(int id, std::wstring caption) : id(id), caption(std::move(caption)) {}

CRibbonGroup* CRibbonTab::findGroupByCaption(const std::wstring& groupCaption) {
    const int index = findGroupIndex(groupCaption);
    return index < 0 ? nullptr : &groups[static_cast<std::size_t>(index)];
}

int CRibbonTab::findGroupIndex(const std::wstring& groupCaption) const { return indexOfCaption(groups, groupCaption); }

int CRibbonTab::addGroup(std::unique_ptr<CRibbonGroup> group) { return insertGroup(-1, std::move(group)); }

int CRibbonTab::insertGroup(int index, std::unique_ptr<CRibbonGroup> group) {
    return group ? insertAt(groups, index, std::move(*group)) : 0;
}

CRibbonTab* CRibbonBar::findTabByCaption(const std::wstring& caption) {
    const int index = findTabIndex(caption);
    return index < 0 ? nullptr : &tabs[static_cast<std::size_t>(index)];
}

int CRibbonBar::findTabIndex(const std::wstring& caption) const { return indexOfCaption(tabs, caption); }

int CRibbonBar::addTab(const std::wstring& caption) { return insertTab(-1, caption); }

int CRibbonBar::insertTab(int index, const std::wstring& caption) {
    if (caption.empty())
        return 0;
    return insertAt(tabs, index, CRibbonTab(getMaxTabAndGroupId() + 1, caption));
}

void CRibbonBar::appendTab(CRibbonTab tab) { tabs.push_back(std::move(tab)); }

int CRibbonBar::addGroup(const std::wstring& tabCaption, const std::wstring& caption) {
    CRibbonTab* tab = findTabByCaption(tabCaption);
    if (!tab || caption.empty())
        return 0;
    auto group = std::make_unique<CRibbonGroup>();
    group->setId(getMaxTabAndGroupId() + 1);
    group->setCaption(caption);
    return tab->addGroup(std::move(group));
}

int CRibbonBar::getMaxTabAndGroupId() const {
    int maxId = 0;
    for (const CRibbonTab& tab : tabs) {
        maxId = std::max(maxId, tab.id);
        for (const CRibbonGroup& group : tab.groups)
            maxId = std::max(maxId, group.getId());
    }
    return maxId;
}

void CRibbonBar::renumberAllTabAndGroupId() {
    int next = 1;
    for (CRibbonTab& tab : tabs) {
        tab.id = next++;
        for (CRibbonGroup& group : tab.groups)
            group.setId(next++);
    }
}

bool CRibbonBar::updateCommandText(const utility::SCommand& command) {
    bool changed = false;
    for (CRibbonTab& tab : tabs)
        for (CRibbonGroup& group : tab.groups)
            changed = group.updateCommandText(command) || changed;
    return changed;
}

} // namespace tern::layout
