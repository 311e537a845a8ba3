// The menu of one layout mode: a tree of popups, commands and separators
// under the menu bar.
//
// A popup carries a caption and children; a command carries its identifier,
// SID and caption; a separator carries nothing. A command whose SID the
// command table does not know has identifier 0: it is kept as it was, and no
// find by identifier ever matches it. Only popups and the menu bar take
// children: adding below anything else fails.
//
// A menu path is the captions of popups from the menu bar down joined by
// "/" ("File/Export"); the empty path names the menu bar. Captions compare
// exactly (case-sensitive, accelerator marks included) and the first match
// in order wins. Inserting "before" null appends. Insertions return the new
// entry's 1-based position among its siblings, or the new item; 0 or null
// on failure. Items are owned by their parent; pointers stay valid until the
// tree they belong to is copied over or destroyed, and for a menu bar's
// items, until the menu bar is copied.
//
// Menus may nest to any depth (a definition's menu path makes one popup per
// step): copying, destroying and every walk of a subtree keep their pending
// work in a list rather than on the stack, so a chain of popups tens of
// thousands deep costs memory in proportion to its size and nothing more.
// Each item knows its next sibling, so walking a popup of any length costs
// one step per entry. Moving a tree hands its items over without copying.

#pragma once

#include "components/layout/copy_on_write.h"
#include "components/utility/command_table.h"

#include <memory>
#include <string>
#include <vector>

namespace tern::layout {

class CMenuItem {
public:
    enum class Kind { popup, command, separator };

    // An empty popup; the menu bar is one.
    CMenuItem() = default;
    // Copies the whole subtree; the copy has no parent.
    CMenuItem(const CMenuItem& other);
    CMenuItem& operator=(const CMenuItem& other);
    // Takes the other's kind, entry and children, leaving it an empty popup.
    CMenuItem(CMenuItem&& other) noexcept;
    CMenuItem& operator=(CMenuItem&& other) noexcept;
    ~CMenuItem();

    Kind getKind() const { return kind; }
    bool isPopup() const { return kind == Kind::popup; }
    // The command identifier; 0 for a popup, a separator or an unknown command.
    int getId() const { return entry.id; }
    const std::wstring& getSid() const { return entry.sid; }
    const std::wstring& getCaption() const { return entry.caption; }
    CMenuItem* getFirstChild() const;
    CMenuItem* getNextSibling() const { return nextSibling; }

    // The child command of that identifier (never an unknown command).
    CMenuItem* findChildById(int commandId) const;
    // The child popup of that caption.
    CMenuItem* findChildNoIdByName(const std::wstring& name) const;

    int addCommand(utility::SCommand command);
    int insertCommand(utility::SCommand command, const CMenuItem* before);
    // Makes this item a separator (a new, empty item is what gets turned).
    void setBreak();
    int insertChild(std::unique_ptr<CMenuItem> item, const CMenuItem* before);
    CMenuItem* addPopup(const std::wstring& name);
    CMenuItem* insertPopup(const std::wstring& name, const CMenuItem* before);
    CMenuItem* insertBreak(const CMenuItem* before);

    // Gives every command of the record's identifier in this subtree its
    // caption; true when a caption changed.
    bool updateCommandText(const utility::SCommand& command);
    // Whether updateCommandText would change a caption.
    bool showsStaleCaption(const utility::SCommand& command) const;

private:
    // Calls visit(item) on every command of the subtree until one returns
    // true; true when one did.
    template <class Visit> bool visitCommands(Visit visit) const;
    // The position of `before` among the children; the end for null; -1
    // when it is not a child.
    int insertionIndex(const CMenuItem* before) const;
    CMenuItem* insertOwned(std::unique_ptr<CMenuItem> item, const CMenuItem* before);
    void copyChildrenFrom(const CMenuItem& other);
    // Makes this item the parent of its children (after they moved here).
    void adoptChildren();

    Kind kind = Kind::popup;
    utility::SCommand entry; // a popup's caption, a command's record
    CMenuItem* parent = nullptr;
    CMenuItem* nextSibling = nullptr; // the child after this one in parent->children
    std::vector<std::unique_ptr<CMenuItem>> children;
};

// A copy of a menu bar shares the items with the original until one of
// them is changed through a call below that is not const (copy_on_write.h).
class CMenuBar {
public:
    // The menu bar itself; its popups are the top-level menus.
    CMenuItem& getRoot() { return root.write(); }
    const CMenuItem& getRoot() const { return root.read(); }

    // The entry at the end of the path, or null; "" gives the menu bar.
    CMenuItem* findItemByPath(const std::wstring& path);
    // As findItemByPath, appending the popups the path lacks; null when the
    // path goes through a command or names an empty caption.
    CMenuItem* makeItemByPath(const std::wstring& path);
    bool updateCommandText(const utility::SCommand& command);

private:
    CopyOnWrite<CMenuItem> root;
};

} // namespace tern::layout
