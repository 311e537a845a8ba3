#include "components/layout/menu_bar.h"

#include "components/layout/entry_lists.h"

#include <algorithm>
#include <iterator>
#include <utility>

namespace tern::layout {

CMenuItem::CMenuItem(const CMenuItem& other) : kind(other.kind), entry(other.entry) { copyChildrenFrom(other); }

CMenuItem& CMenuItem::operator=(const CMenuItem& other) {
    if (this != &other) {
        kind = other.kind;
        entry = other.entry;
        copyChildrenFrom(other);
    }
    return *this;
}

CMenuItem::CMenuItem(CMenuItem&& other) noexcept
    : kind(other.kind), entry(std::move(other.entry)), children(std::move(other.children)) {
    other.kind = Kind::popup;
    other.children.clear();
    adoptChildren();
}

CMenuItem& CMenuItem::operator=(CMenuItem&& other) noexcept {
    if (this != &other) {
        // Destroyed the same way as in the destructor, whatever its depth.
        CMenuItem old;
        old.children = std::move(children);
        kind = other.kind;
        entry = std::move(other.entry);
        children = std::move(other.children);
        other.kind = Kind::popup;
        other.children.clear();
        adoptChildren();
    }
    return *this;
}

void CMenuItem::adoptChildren() {
    for (const auto& child : children)
        child->parent = this;
}

// Unlinks the descendants into a flat list and destroys them one by one,
// each once it has no children left, so that no destructor runs inside
// another.
CMenuItem::~CMenuItem() {
    std::vector<std::unique_ptr<CMenuItem>> doomed = std::move(children);
    while (!doomed.empty()) {
        const std::unique_ptr<CMenuItem> item = std::move(doomed.back());
        doomed.pop_back();
        std::move(item->children.begin(), item->children.end(), std::back_inserter(doomed));
        item->children.clear();
    }
}

// Builds the copy beside the tree, with a list of the items whose children
// are still to be copied, and only then puts it in place: `other` may lie
// inside this item's own subtree.
void CMenuItem::copyChildrenFrom(const CMenuItem& other) {
    CMenuItem copy;
    std::vector<std::pair<const CMenuItem*, CMenuItem*>> pending{{&other, &copy}};
    while (!pending.empty()) {
        const auto [from, to] = pending.back();
        pending.pop_back();
        to->children.reserve(from->children.size());
        for (const auto& child : from->children) {
            auto item = std::make_unique<CMenuItem>();
            item->kind = child->kind;
            item->entry = child->entry;
            item->parent = to;
            if (!to->children.empty())
                to->children.back()->nextSibling = item.get();
            pending.emplace_back(child.get(), item.get());
            to->children.push_back(std::move(item));
        }
    }
    children.swap(copy.children);
    adoptChildren();
}

CMenuItem* CMenuItem::getFirstChild() const { return children.empty() ? nullptr : children.front().get(); }

CMenuItem* CMenuItem::findChildById(int commandId) const {
    if (commandId == 0)
        return nullptr;
    for (const auto& child : children)
        if (child->kind == Kind::command && child->entry.id == commandId)
            return child.get();
    return nullptr;
}

CMenuItem* CMenuItem::findChildNoIdByName(const std::wstring& name) const {
    for (const auto& child : children)
        if (child->kind == Kind::popup && child->entry.caption == name)
            return child.get();
    return nullptr;
}

int CMenuItem::addCommand(utility::SCommand command) { return insertCommand(std::move(command), nullptr); }

int CMenuItem::insertCommand(utility::SCommand command, const CMenuItem* before) {
    auto item = std::make_unique<CMenuItem>();
    item->kind = Kind::command;
    item->entry = std::move(command);
    return insertChild(std::move(item), before);
}

void CMenuItem::setBreak() {
    kind = Kind::separator;
    entry = utility::SCommand();
    children.clear();
}

int CMenuItem::insertChild(std::unique_ptr<CMenuItem> item, const CMenuItem* before) {
    const int index = item ? insertionIndex(before) : -1;
    if (index < 0)
        return 0;
    insertOwned(std::move(item), before);
    return index + 1;
}

CMenuItem* CMenuItem::addPopup(const std::wstring& name) { return insertPopup(name, nullptr); }

CMenuItem* CMenuItem::insertPopup(const std::wstring& name, const CMenuItem* before) {
    if (name.empty())
        return nullptr;
    auto popup = std::make_unique<CMenuItem>();
    popup->entry.caption = name;
    return insertOwned(std::move(popup), before);
}

CMenuItem* CMenuItem::insertBreak(const CMenuItem* before) {
    auto separator = std::make_unique<CMenuItem>();
    separator->setBreak();
    return insertOwned(std::move(separator), before);
}

int CMenuItem::insertionIndex(const CMenuItem* before) const {
    if (kind != Kind::popup)
        return -1;
    if (!before)
        return static_cast<int>(children.size());
    const auto found =
        std::find_if(children.begin(), children.end(), [&](const auto& child) { return child.get() == before; });
    return found == children.end() ? -1 : static_cast<int>(found - children.begin());
}

CMenuItem* CMenuItem::insertOwned(std::unique_ptr<CMenuItem> item, const CMenuItem* before) {
    const int index = insertionIndex(before);
    if (index < 0)
        return nullptr;
    item->parent = this;
    const auto at = children.insert(children.begin() + index, std::move(item));
    CMenuItem* inserted = at->get();
    inserted->nextSibling = at + 1 == children.end() ? nullptr : (at + 1)->get();
    if (at != children.begin())
        (at - 1)->get()->nextSibling = inserted;
    return inserted;
}

template <class Visit> bool CMenuItem::visitCommands(Visit visit) const {
    std::vector<const CMenuItem*> pending{this};
    while (!pending.empty()) {
        const CMenuItem* item = pending.back();
        pending.pop_back();
        for (const auto& child : item->children) {
            if (child->kind == Kind::command && visit(*child))
                return true;
            pending.push_back(child.get());
        }
    }
    return false;
}

bool CMenuItem::updateCommandText(const utility::SCommand& command) {
    bool changed = false;
    visitCommands([&](CMenuItem& item) {
        changed = refreshCaption(item.entry, command) || changed;
        return false;
    });
    return changed;
}

bool CMenuItem::showsStaleCaption(const utility::SCommand& command) const {
    return visitCommands([&](const CMenuItem& item) { return isStaleCaption(item.entry, command); });
}

namespace {

// The captions of a menu path; empty for the menu bar itself.
std::vector<std::wstring> splitPath(const std::wstring& path) {
    std::vector<std::wstring> steps;
    if (path.empty())
        return steps;
    std::size_t start = 0;
    for (;;) {
        const std::size_t slash = path.find(L'/', start);
        steps.push_back(path.substr(start, slash - start));
        if (slash == std::wstring::npos)
            return steps;
        start = slash + 1;
    }
}

// The first child that is not a separator and has that caption.
CMenuItem* findEntry(const CMenuItem& parent, const std::wstring& caption) {
    for (CMenuItem* child = parent.getFirstChild(); child; child = child->getNextSibling())
        if (child->getKind() != CMenuItem::Kind::separator && child->getCaption() == caption)
            return child;
    return nullptr;
}

} // namespace

CMenuItem* CMenuBar::findItemByPath(const std::wstring& path) {
    CMenuItem* item = &getRoot();
    for (const std::wstring& caption : splitPath(path)) {
        item = findEntry(*item, caption);
        if (!item)
            return nullptr;
    }
    return item;
}

CMenuItem* CMenuBar::makeItemByPath(const std::wstring& path) {
    CMenuItem* item = &getRoot();
    for (const std::wstring& caption : splitPath(path)) {
        CMenuItem* next = findEntry(*item, caption);
        item = next ? next : item->addPopup(caption);
        if (!item)
            return nullptr;
    }
    return item;
}

// A menu shared with a copy is copied only when a caption is to change.
bool CMenuBar::updateCommandText(const utility::SCommand& command) {
    return root.read().showsStaleCaption(command) && getRoot().updateCommandText(command);
}

} // namespace tern::layout
