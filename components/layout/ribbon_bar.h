// The ribbon of one layout mode: tabs, their groups, and the groups'
// command controls.
//
// Tabs and groups carry positive identifiers, unique within the ribbon.
// Captions compare exactly (case-sensitive, accelerator marks included) and
// a find gives the first match in order. Indexes are 0-based; a find that
// fails gives -1 or null. An insertion at index -1 appends; an index beyond
// the end fails. Add and insert calls return the new entry's 1-based
// position, 0 on failure. Pointers from a find stay valid until the same
// list is changed. A copy of a group shares its controls with the original
// until either changes them (copy_on_write.h). Controls whose SID the command table does not know carry
// identifier 0, and no find by identifier ever matches them.

#pragma once

#include "components/layout/copy_on_write.h"
#include "components/utility/command_table.h"

#include <memory>
#include <string>
#include <vector>

namespace tern::layout {

class CRibbonGroup {
public:
    int getId() const { return id; }
    void setId(int newId) { id = newId; }
    const std::wstring& getCaption() const { return caption; }
    void setCaption(const std::wstring& newCaption) { caption = newCaption; }
    const std::vector<utility::SCommand>& getControls() const { return controls.read(); }

    // The control of that identifier, or null.
    const utility::SCommand* findControl(int commandId) const;
    int findControlIndex(int commandId) const;
    int insertControl(int index, utility::SCommand command);
    int addControl(utility::SCommand command);
    // Makes room for that many controls in all, so that adding them one by
    // one leaves no room unused (a reader that knows how many follow).
    void reserveControls(std::size_t count) { controls.write().reserve(count); }
    // Gives every control of that identifier the record's caption; true when
    // a caption changed.
    bool updateCommandText(const utility::SCommand& command);

private:
    int id = 0;
    std::wstring caption;
    CopyOnWrite<std::vector<utility::SCommand>> controls; // shared by copies of the group until changed
};

class CRibbonTab {
public:
    CRibbonTab() = default;
    CRibbonTab(int id, std::wstring caption);

    int getId() const { return id; }
    const std::wstring& getCaption() const { return caption; }
    const std::vector<CRibbonGroup>& getGroups() const { return groups; }

    CRibbonGroup* findGroupByCaption(const std::wstring& groupCaption);
    int findGroupIndex(const std::wstring& groupCaption) const;
    // Take the group; a null group fails.
    int addGroup(std::unique_ptr<CRibbonGroup> group);
    int insertGroup(int index, std::unique_ptr<CRibbonGroup> group);

private:
    friend class CRibbonBar; // numbers tabs and groups, refreshes captions
    int id = 0;
    std::wstring caption;
    std::vector<CRibbonGroup> groups;
};

class CRibbonBar {
public:
    const std::vector<CRibbonTab>& getTabs() const { return tabs; }

    CRibbonTab* findTabByCaption(const std::wstring& caption);
    int findTabIndex(const std::wstring& caption) const;
    // A new empty tab with the next free identifier; an empty caption fails.
    int addTab(const std::wstring& caption);
    int insertTab(int index, const std::wstring& caption);
    // Appends a tab as it stands (the layout file's reader).
    void appendTab(CRibbonTab tab);
    // A new empty group with the next free identifier at the end of the
    // first tab of that caption; fails when there is no such tab or the
    // caption is empty.
    int addGroup(const std::wstring& tabCaption, const std::wstring& caption);

    // The largest tab or group identifier; 0 for an empty ribbon.
    int getMaxTabAndGroupId() const;
    // Numbers all tabs and groups 1, 2, 3, ... in order, a tab before its groups.
    void renumberAllTabAndGroupId();
    // Gives every control of the record's identifier its caption; true when
    // a caption changed.
    bool updateCommandText(const utility::SCommand& command);

private:
    std::vector<CRibbonTab> tabs;
};

} // namespace tern::layout
